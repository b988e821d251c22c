// The platform as the command-line host provides it: the system's parts, a
// selection given on the command line, terminal cells as the menu font, and
// a record of every opening and log line for the host's reports.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hosts/cli/terminal_font.h"
#include "platform/linux/system_platform.h"
#include "platform/recording.h"

namespace vdl::cli {

class CommandLineFinder final : public FinderController {
 public:
  SelectedItems selection;
  void setDirectoryURLs(const std::set<FileURL>&) override {}
  SelectedItems selectedItemURLs() override { return selection; }
};

class CliPlatform {
 public:
  // `home`, when given, is the home the user database reports.
  CliPlatform(std::optional<std::string> home, const FileURL& bundleFolder);

  // Runs the main context until every opening has completed (at most 10 s).
  void waitForOpenings();
  // Forgets what was opened and logged so far.
  void clearRecords();

  linux_platform::SystemPlatform system;
  CommandLineFinder finder;
  TerminalFont font;
  RecordingWorkspace workspace;
  RecordingLog log;
  Platform platform;
};

}  // namespace vdl::cli
