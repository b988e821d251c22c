// The command-line host: one extension object, driven through the calls the
// file manager makes, with reports of what each call did.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "extension/host_face.h"
#include "hosts/cli/cli_platform.h"

namespace vdl::cli {

// A selection argument as a file URL: a path, relative to the working
// directory or absolute, or a file:// URL.
Expected<FileURL> selectionURL(const std::string& argument);

// `path` made absolute by prefixing the working directory; ".." stays as it is.
Expected<std::string> absolutePath(const std::string& path);

// The installed bundle, or the one in the build tree beside the binary.
FileURL defaultBundle();

struct ChooseOutcome {
  std::optional<std::string> request;  // the published request file
  std::vector<OpeningRecord> opened;
  std::vector<std::string> log;
};

nlohmann::json outcomeJSON(const ChooseOutcome& outcome);
std::string outcomeText(const ChooseOutcome& outcome);

class Host {
 public:
  Host(std::optional<std::string> home, const FileURL& bundle);

  // Sets what the file manager reports as selected; none for no selection.
  Status select(const std::optional<std::vector<std::string>>& arguments);
  std::optional<Menu> menu(std::uint64_t kind) { return extension_->menu(kind); }
  // Sends the menu action for an item with `tag`, then waits for the
  // openings it started, so that no log line is lost.
  ChooseOutcome choose(std::int64_t tag);

  // The manifest file that the next menu would load; none when there is none.
  std::optional<FileURL> manifestFileInForce();

  CliPlatform& platform() { return platform_; }
  VDLFinderSync& extension() { return *extension_; }

 private:
  CliPlatform platform_;
  std::unique_ptr<VDLFinderSync> extension_;
};

}  // namespace vdl::cli
