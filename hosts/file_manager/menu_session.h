// What every file manager's module shares: the extension on the system's
// platform, the desktop's menu font, and a selection that is always the files
// of the menu being built or acted on. File managers give no "current
// selection" when an item is activated, so each menu carries its own files.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "menu/menu_model.h"
#include "platform/file_system.h"
#include "platform/file_url.h"
#include "platform/linux/system_platform.h"

namespace vdl::file_manager {

// The files one menu was built for, in the file manager's order.
using Selection = std::vector<FileURL>;
// What the file manager already knows of each of those files' types (links
// followed), or none where it doesn't: that file is looked up on the disk.
using KnownTypes = std::vector<std::optional<FileType>>;

// Not thread-safe: a file manager calls it from its main thread only.
class MenuSession {
 public:
  explicit MenuSession(linux_platform::SystemOptions options);
  MenuSession(const MenuSession&) = delete;
  MenuSession& operator=(const MenuSession&) = delete;
  ~MenuSession();

  // The context menu for `files`, or none. It runs on the file manager's UI
  // thread at every selection change, so it takes the types the file manager
  // knows (`known`, one per file or empty) instead of asking the disk again.
  // Never throws.
  std::optional<Menu> menuFor(const Selection& files, const KnownTypes& known = {});
  // Acts on the item tagged `tag` of a menu built for `files`, against the
  // manifest and the files' state of this moment. Never throws.
  void choose(const Selection& files, std::int64_t tag);

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// The session of a module loaded from a file in its bundle folder (reached
// through any links), or none when that folder can't be found.
std::shared_ptr<MenuSession> sessionForModule(const void* addressInModule);

}  // namespace vdl::file_manager
