// The offer for a selection: which conversions fit every selected file, which
// come first, and whether compress, crop and trim apply.
#pragma once

#include <string>
#include <vector>

#include "manifest/manifest_index.h"
#include "menu/selection.h"

namespace vdl {

struct TargetPair {
  std::string format;
  std::string tool;  // empty when no extra tool is needed
  friend bool operator==(const TargetPair&, const TargetPair&) = default;
};

struct Offer {
  std::vector<TargetPair> popular;  // at most kMaxPopular
  std::vector<TargetPair> all;      // ascending order of format
  bool compress = false;
  bool crop = false;
  bool trim = false;
  // The popular pairs, then the pairs of `all` whose format is not popular:
  // the format items of the menu, in order. Computed once, with the lists.
  std::vector<TargetPair> display;
  friend bool operator==(const Offer&, const Offer&) = default;
};

inline constexpr std::size_t kMaxPopular = 8;

// The distinct extensions of the selection, lower-cased, in their composed
// form, in ascending order. A file without an extension gives "".
std::vector<std::string> extensionList(const SelectedFiles& selection);

// The offer for `selection`. Pure: reads nothing but its arguments, and no
// order in it depends on hashing, so a menu and a later choice agree.
Offer choices(const SelectedFiles& selection, const IndexedManifest& manifest);

// An offer of these lists and flags, with its display list.
Offer offerOf(std::vector<TargetPair> popular, std::vector<TargetPair> all, bool compress = false,
              bool crop = false, bool trim = false);

}  // namespace vdl
