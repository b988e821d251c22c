// Opening applications and URLs. Both calls return at once; the outcome
// arrives later through the completion handler, possibly on another thread.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/expected.h"
#include "platform/file_url.h"

namespace vdl {

struct OpenConfiguration {
  // Whether the opened application is brought to the front.
  bool activates = true;
};

class Workspace {
 public:
  // Called once with the error of the opening, or none on success.
  using CompletionHandler = std::function<void(std::optional<Error>)>;

  virtual ~Workspace() = default;
  // Opens `urls` with the application at `application`, starting it if needed.
  virtual void openURLs(const std::vector<std::string>& urls, const FileURL& application,
                        const OpenConfiguration& configuration, CompletionHandler completion) = 0;
  // Opens `url` with the application registered for its scheme.
  virtual void openURL(const std::string& url, const OpenConfiguration& configuration,
                       CompletionHandler completion) = 0;
};

}  // namespace vdl
