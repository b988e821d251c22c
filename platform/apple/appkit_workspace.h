// Opening the host application with NSWorkspace, without bringing it to the
// front.
#pragma once

#include "platform/workspace.h"

namespace vdl::apple {

// Completions arrive on a queue of AppKit's, on any thread.
class AppKitWorkspace final : public Workspace {
 public:
  void openURLs(const std::vector<std::string>& urls, const FileURL& application,
                const OpenConfiguration& configuration, CompletionHandler completion) override;
  void openURL(const std::string& url, const OpenConfiguration& configuration,
               CompletionHandler completion) override;
};

}  // namespace vdl::apple
