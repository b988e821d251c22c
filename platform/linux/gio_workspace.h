// The workspace of a Linux desktop, on GIO. An application is an AppDir: a
// folder holding an executable AppRun. A URL scheme's handler is whatever the
// XDG mimeapps lists and .desktop files register for x-scheme-handler/<scheme>.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>

#include "platform/workspace.h"

namespace vdl::linux_platform {

// Completions are delivered from the thread-default GLib main context of the
// calling thread, which the host iterates (see waitForCompletions).
class GioWorkspace final : public Workspace {
 public:
  // Runs <application>/AppRun with the URLs as its arguments, detached, with
  // no shell or field codes in between. Fails when AppRun is missing, not
  // executable, or its exec fails.
  void openURLs(const std::vector<std::string>& urls, const FileURL& application,
                const OpenConfiguration& configuration, CompletionHandler completion) override;
  // Launches the desktop's default handler of the URL's scheme, if any. Fails
  // when there is none or its program's exec fails. Either way the program
  // gets a null stdin and stdout.
  void openURL(const std::string& url, const OpenConfiguration& configuration,
               CompletionHandler completion) override;

  // Iterates the main context until every opening, and every opening that a
  // completion starts, has completed, or until `timeout`. True when none is
  // left pending.
  bool waitForCompletions(std::chrono::milliseconds timeout);
  // Openings started, on any thread, whose completion has not run yet.
  int pending() const { return *pending_; }

 private:
  // Shared with the openings in flight, which may outlive this object.
  std::shared_ptr<std::atomic<int>> pending_ = std::make_shared<std::atomic<int>>(0);
};

}  // namespace vdl::linux_platform
