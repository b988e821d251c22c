// Forwarding wrappers that keep a record of what passed through them, for
// hosts that report what a call did (and for tests that check it).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/services.h"
#include "platform/workspace.h"

namespace vdl {

// One opening, with its outcome once the completion has run.
struct OpeningRecord {
  std::string url;
  std::optional<std::string> application;  // none: through the scheme's handler
  bool completed = false;
  std::optional<std::string> error;
};

// Passes every opening on to `target` and records it and its outcome.
class RecordingWorkspace final : public Workspace {
 public:
  explicit RecordingWorkspace(Workspace& target) : target_(target) {}
  void openURLs(const std::vector<std::string>& urls, const FileURL& application,
                const OpenConfiguration& configuration, CompletionHandler completion) override;
  void openURL(const std::string& url, const OpenConfiguration& configuration,
               CompletionHandler completion) override;
  std::vector<OpeningRecord> openings;

 private:
  CompletionHandler recorded(std::size_t index, CompletionHandler completion);
  Workspace& target_;
};

// Records every line, and passes it on to `target` when there is one.
class RecordingLog final : public Log {
 public:
  explicit RecordingLog(Log* target = nullptr) : target_(target) {}
  void write(std::string_view line) override;
  std::vector<std::string> lines;

 private:
  Log* target_;
};

}  // namespace vdl
