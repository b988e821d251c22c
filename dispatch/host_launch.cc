// The two attempts at opening the host application.
#include "dispatch/host_launch.h"

#include "dispatch/quick_url.h"

#include <algorithm>

#include "text/unicode_text.h"

namespace vdl {
namespace {

// Whether `text` parses as a URL: only the characters RFC 3986 allows.
bool parsesAsURL(const std::string& text) {
  static constexpr std::string_view kAllowed =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-._~:/?#[]@!$&'()*+,;=%";
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return kAllowed.find(c) != std::string_view::npos;
  });
}

}  // namespace

void openHostApp(const std::string& requestID, Bundle& bundle, Workspace& workspace, Log& log) {
  std::string url = quickURL(requestID);
  if (!parsesAsURL(url)) return;
  OpenConfiguration configuration;
  configuration.activates = false;
  workspace.openURLs({url}, hostApplicationURL(bundle.bundleURL()), configuration,
                     [&workspace, &log, url, configuration](std::optional<Error> error) {
                       if (!error) return;
                       workspace.openURL(url, configuration, [&log](std::optional<Error> second) {
                         if (second) {
                           log.write("Vandrel: couldn't open the background worker: " +
                                     text::printable(second->description));
                         }
                       });
                     });
}

}  // namespace vdl
