// The platform as the command-line host provides it: the real Linux parts,
// a selection given on the command line, terminal cells as the menu font,
// and a record of every opening and log line for the host's reports.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/terminal_font.h"
#include "platform/linux/folder_bundle.h"
#include "platform/linux/gio_workspace.h"
#include "platform/linux/passwd_user_database.h"
#include "platform/linux/posix_file_system.h"
#include "platform/linux/system_services.h"
#include "platform/platform.h"

namespace vdl::cli {

// The user database, unless the command line says what home it reports.
class HomeOverride final : public UserDatabase {
 public:
  explicit HomeOverride(std::optional<std::string> home) : home_(std::move(home)) {}
  std::optional<std::string> realUserHome() override;
  std::string homeDirectoryForCurrentUser() override { return real_.homeDirectoryForCurrentUser(); }

 private:
  std::optional<std::string> home_;
  linux_platform::PasswdUserDatabase real_;
};

class CommandLineFinder final : public FinderController {
 public:
  std::optional<std::vector<FileURL>> selection;
  void setDirectoryURLs(const std::set<FileURL>&) override {}
  std::optional<std::vector<FileURL>> selectedItemURLs() override { return selection; }
};

// One opening the extension asked for, with its outcome once it is known.
struct OpeningRecord {
  std::string url;
  std::optional<std::string> application;  // none: through the scheme's handler
  bool completed = false;
  std::optional<std::string> error;
};

class RecordingWorkspace final : public Workspace {
 public:
  explicit RecordingWorkspace(linux_platform::GioWorkspace& target) : target_(target) {}
  void openURLs(const std::vector<std::string>& urls, const FileURL& application,
                const OpenConfiguration& configuration, CompletionHandler completion) override;
  void openURL(const std::string& url, const OpenConfiguration& configuration,
               CompletionHandler completion) override;
  std::vector<OpeningRecord> openings;

 private:
  CompletionHandler recorded(std::size_t index, CompletionHandler completion);
  linux_platform::GioWorkspace& target_;
};

class RecordingLog final : public Log {
 public:
  void write(std::string_view line) override;
  std::vector<std::string> lines;

 private:
  linux_platform::SystemLog system_;
};

class CliPlatform {
 public:
  CliPlatform(std::optional<std::string> home, const FileURL& bundleFolder);

  // Runs the main context until every opening has completed (at most 10 s).
  void waitForOpenings();
  // Forgets what was opened and logged so far.
  void clearRecords();

  linux_platform::PosixFileSystem files;
  HomeOverride users;
  linux_platform::FolderBundle bundle;
  CommandLineFinder finder;
  TerminalFont font;
  linux_platform::GioWorkspace gio;
  RecordingWorkspace workspace{gio};
  linux_platform::RealtimeClock clock;
  linux_platform::RandomUUIDSource uuids;
  RecordingLog log;
  Platform platform;
};

}  // namespace vdl::cli
