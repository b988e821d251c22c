// The choices of a module's menus, made away from the file manager's UI
// thread: publishing a request flushes files to the disk, and waking the host
// application starts a program, and neither may freeze the window.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/finder_controller.h"
#include "platform/linux/system_platform.h"

namespace vdl::file_manager {

// The items of one menu, in the file manager's order, with what it knew of
// each when the menu was built.
using Selection = SelectedItemList;

// An extension object of its own, with its own manifest cache, on a thread of
// its own that runs a GLib main context: the openings' completions come back
// there. It touches nothing of the file manager's toolkit.
class Chooser {
 public:
  // `replacing` stands in for the system's parts on that thread.
  Chooser(linux_platform::SystemOptions options, linux_platform::Replacements replacing = {});
  Chooser(const Chooser&) = delete;
  Chooser& operator=(const Chooser&) = delete;
  // Makes the choices already handed over, lets their openings complete (for
  // up to 15 s), then returns.
  ~Chooser();

  // Returns at once. On the chooser's thread, one choice after another, the
  // tag is read against `files` and the manifest of that moment, the request
  // published, then the host application woken. Never throws.
  void choose(std::shared_ptr<const Selection> files, std::int64_t tag) noexcept;

 private:
  struct Worker;
  std::unique_ptr<Worker> worker_;
};

}  // namespace vdl::file_manager
