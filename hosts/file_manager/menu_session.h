// What every file manager's module shares: the extension on the system's
// platform, and a selection that is always the files of the menu being built
// or acted on. File managers give no "current selection" when an item is
// activated, so each menu carries its own files.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "hosts/file_manager/chooser.h"
#include "menu/menu_model.h"
#include "platform/linux/system_platform.h"
#include "platform/menu_font.h"

namespace vdl::file_manager {

// Not thread-safe: a file manager calls it from its UI thread only.
class MenuSession {
 public:
  // `font` measures the menu's dividers; `chooserParts` stand in for the
  // system's parts where the choices are made.
  MenuSession(linux_platform::SystemOptions options, std::unique_ptr<MenuFont> font,
              linux_platform::Replacements chooserParts = {});
  MenuSession(const MenuSession&) = delete;
  MenuSession& operator=(const MenuSession&) = delete;
  ~MenuSession();

  // The context menu for `files`, or none. It runs on the file manager's UI
  // thread at every selection change, so the types the file manager reports
  // with the files are taken as they are. Never throws.
  std::optional<Menu> menuFor(const SelectedItems& files);
  // Hands the item tagged `tag` of a menu built for `files` to the chooser
  // and returns at once. Never throws.
  void choose(std::shared_ptr<const Selection> files, std::int64_t tag);

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// The session of the module that holds `addressInModule`, whose real location
// (reached through any links) is its bundle folder, for the life of the
// process: made on the first call, measuring in the font that `makeFont`
// makes, with the module kept loaded, and never destroyed, whatever the file
// manager does with its providers, items and windows; so nothing they hold
// has to wait when they go. None when the bundle can't be found.
const std::shared_ptr<MenuSession>& processSession(const void* addressInModule,
                                                   std::unique_ptr<MenuFont> (*makeFont)());

}  // namespace vdl::file_manager
