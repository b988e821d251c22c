// What the file manager calls on an extension's principal object.
#pragma once

#include <cstdint>
#include <optional>

#include "menu/menu_model.h"

namespace vdl {

// Menu kinds as the file manager numbers them.
enum MenuKind : std::uint64_t {
  kContextualMenuForItems = 0,
  kContextualMenuForContainer = 1,
  kContextualMenuForSidebar = 2,
  kToolbarItemMenu = 3,
};

class FinderSyncExtension {
 public:
  virtual ~FinderSyncExtension() = default;
  // The menu for `kind`, or none. The returned menu belongs to the caller.
  virtual std::optional<Menu> menu(std::uint64_t kind) = 0;
  // The action of a chosen item; only its tag is read.
  virtual void choose(const MenuItem& item) = 0;
};

}  // namespace vdl
