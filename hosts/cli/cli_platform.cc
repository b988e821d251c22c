// Wiring of the command-line host's platform.
#include "hosts/cli/cli_platform.h"

#include <chrono>

#include "platform/linux/gio_workspace.h"

namespace vdl::cli {

CliPlatform::CliPlatform(std::optional<std::string> home, const FileURL& bundleFolder)
    : system({bundleFolder, std::move(home)}),
      workspace(system.workspace()),
      log(&system.log()),
      platform(system.platform(finder, font, {.workspace = &workspace, .log = &log})) {}

void CliPlatform::waitForOpenings() {
  system.workspace().waitForCompletions(std::chrono::seconds(10));
}

void CliPlatform::clearRecords() {
  workspace.openings.clear();
  log.lines.clear();
}

}  // namespace vdl::cli
