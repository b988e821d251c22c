// A manifest indexed under normalised keys when it is decoded, each target map
// sorted the first time it is asked for, so that a menu request costs one
// lookup per distinct extension however large the manifest is, and a new
// manifest costs no more than its extensions' keys.
#pragma once

#include <algorithm>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "manifest/menu_manifest.h"
#include "platform/file_url.h"

namespace vdl {

// The key under which a file's extension is looked up: lower-cased, then
// composed (NFC). A manifest's keys are looked up composed, as written.
std::string extensionKey(std::string_view extension);

// One format of an extension's target map. The texts are views into the
// manifest indexed, or into the index's composed copy of a text when that
// differs from what the manifest spells.
struct TargetEntry {
  std::string_view key;      // the format's composed (NFC) form: what equality and order use
  std::string_view format;   // the format as the manifest spells it
  std::string_view tool;     // empty when no extra tool is needed
  std::string_view toolKey;  // the tool's composed (NFC) form: what tool equality uses
};

// An extension's target map: each format once, in ascending order of key.
using TargetMap = std::span<const TargetEntry>;

// The entry with the composed format `key` of a map sorted by key (a target
// map, or one made from it), or null.
template <class Entry>
const Entry* findTarget(std::span<const Entry> map, std::string_view key) {
  auto it = std::lower_bound(map.begin(), map.end(), key,
                             [](const Entry& e, std::string_view k) { return e.key < k; });
  return it != map.end() && it->key == key ? &*it : nullptr;
}

class ManifestIndex {
 public:
  // Keys that are canonically equivalent but spelled differently merge; the
  // one that sorts last by its bytes wins. The index views the texts of
  // `manifest`, which must outlive it.
  explicit ManifestIndex(const MenuManifest& manifest);
  ManifestIndex(const ManifestIndex&) = delete;
  ManifestIndex& operator=(const ManifestIndex&) = delete;

  // The target map of an extension given by its NFC form (a later row's
  // tool replaces an earlier one's). Null when the manifest has no such key.
  // Safe to call from several threads.
  std::optional<TargetMap> targets(std::string_view extensionKey) const;
  // The popular list of an extension, as written. Null when absent.
  const std::vector<std::string>* popular(std::string_view extensionKey) const;

  bool compressLists(std::string_view extensionKey) const;
  bool hasCropList() const { return hasCrop_; }
  bool cropLists(std::string_view extensionKey) const;
  bool hasTrimList() const { return hasTrim_; }
  bool trimLists(std::string_view extensionKey) const;

 private:
  // The composed form of `text`, one of the manifest's own: a view of it when
  // it is composed already.
  std::string_view composed(std::string_view text) const;
  std::unordered_set<std::string_view> keySet(const std::vector<std::string>& list) const;
  std::vector<TargetEntry> targetMap(const std::vector<TargetRow>& rows) const;

  // The rows of each extension, and the maps sorted from them so far.
  std::unordered_map<std::string_view, const std::vector<TargetRow>*> rows_;
  mutable std::mutex sorting_;
  mutable std::unordered_map<std::string_view, std::vector<TargetEntry>> sorted_;
  mutable std::deque<std::string> composed_;  // a deque: its elements never move
  std::unordered_map<std::string_view, const std::vector<std::string>*> popular_;
  std::unordered_set<std::string_view> compress_, crop_, trim_;
  bool hasCrop_ = false;
  bool hasTrim_ = false;
};

// A decoded manifest with its index, shared immutably between the cache and
// its callers so that a cache hit copies nothing.
struct IndexedManifest {
  explicit IndexedManifest(MenuManifest decoded, FileURL from);
  IndexedManifest(const IndexedManifest&) = delete;
  IndexedManifest& operator=(const IndexedManifest&) = delete;

  const MenuManifest manifest;
  const ManifestIndex index;
  // The file it was read from.
  const FileURL source;
};

using ManifestSnapshot = std::shared_ptr<const IndexedManifest>;

}  // namespace vdl
