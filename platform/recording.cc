// Recording wrappers.
#include "platform/recording.h"

namespace vdl {

Workspace::CompletionHandler RecordingWorkspace::recorded(std::size_t index,
                                                          CompletionHandler completion) {
  return [this, index, completion = std::move(completion)](std::optional<Error> error) {
    openings[index].completed = true;
    if (error) openings[index].error = error->description;
    completion(std::move(error));
  };
}

void RecordingWorkspace::openURLs(const std::vector<std::string>& urls, const FileURL& application,
                                  const OpenConfiguration& configuration,
                                  CompletionHandler completion) {
  openings.push_back({urls.empty() ? std::string() : urls.front(), application.path(), false, {}});
  target_.openURLs(urls, application, configuration,
                   recorded(openings.size() - 1, std::move(completion)));
}

void RecordingWorkspace::openURL(const std::string& url, const OpenConfiguration& configuration,
                                 CompletionHandler completion) {
  openings.push_back({url, std::nullopt, false, {}});
  target_.openURL(url, configuration, recorded(openings.size() - 1, std::move(completion)));
}

void RecordingLog::write(std::string_view line) {
  lines.emplace_back(line);
  if (target_ != nullptr) target_->write(line);
}

}  // namespace vdl
