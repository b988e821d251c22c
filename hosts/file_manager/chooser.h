// The choices of a module's menus, made away from the file manager's UI
// thread: publishing a request flushes files to the disk, and waking the host
// application starts a program, and neither may freeze the window.
//
// The exit rule: when the process ends normally (exit, a return from main, or
// the file manager's own shutdown call, which calls finishChoices), every
// choice that had been handed over is published and its host application
// started first, for up to kExitBound in all. What is still unmade then is
// given up; a request is only ever visible whole, so at most a hidden
// temporary file is left (as a process killed outright may leave one).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "platform/finder_controller.h"
#include "platform/linux/system_platform.h"

namespace vdl::file_manager {

// The items of one menu, in the file manager's order, with what it knew of
// each when the menu was built.
using Selection = SelectedItemList;

inline constexpr std::chrono::milliseconds kExitBound{5000};

// An extension object of its own, with its own manifest cache, on a thread of
// its own that runs a GLib main context: the openings' completions come back
// there. It touches nothing of the file manager's toolkit.
class Chooser {
 public:
  // `replacing` stands in for the system's parts on that thread.
  Chooser(linux_platform::SystemOptions options, linux_platform::Replacements replacing = {});
  Chooser(const Chooser&) = delete;
  Chooser& operator=(const Chooser&) = delete;
  // Finishes (for up to kExitBound), then ends its thread. A module's chooser
  // is never destroyed: it lives as long as the process.
  ~Chooser();

  // Returns at once. On the chooser's thread, one choice after another, the
  // tag is read against `files` and the manifest of that moment, the request
  // published, then the host application woken. Never throws.
  void choose(std::shared_ptr<const Selection> files, std::int64_t tag) noexcept;

  // Waits until every choice handed over has been made and every opening it
  // started has completed, or until `deadline`; true when nothing is left.
  // Never call it on the chooser's own thread.
  bool finish(std::chrono::steady_clock::time_point deadline) noexcept;

 private:
  struct Worker;
  std::unique_ptr<Worker> worker_;
};

// Finishes every chooser of this module, for up to kExitBound in all: the exit
// rule above. Runs by itself at a normal end of the process; a module calls it
// from its file manager's shutdown call too. Safe to call more than once.
void finishChoices() noexcept;

}  // namespace vdl::file_manager
