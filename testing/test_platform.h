// A Platform for tests: the system's own parts for the disk and the bundle
// (the file system behind the fault wrapper), and stand-ins for the rest.
#pragma once

#include <deque>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/linux/system_platform.h"
#include "platform/platform.h"
#include "platform/recording.h"
#include "testing/faulty_file_system.h"
#include "testing/temp_dir.h"

namespace vdl::testkit {

class FixedUserDatabase final : public UserDatabase {
 public:
  std::optional<std::string> home;
  std::string platformHome = "/platform/home";
  std::optional<std::string> realUserHome() override { return home; }
  std::string homeDirectoryForCurrentUser() override { return platformHome; }
};

class FakeFinder final : public FinderController {
 public:
  std::vector<std::set<FileURL>> registered;
  SelectedItems selection;
  int selectionCalls = 0;

  void setDirectoryURLs(const std::set<FileURL>& urls) override { registered.push_back(urls); }
  SelectedItems selectedItemURLs() override {
    ++selectionCalls;
    return selection;
  }
  // Selects these paths, as absolute file URLs whose type is not known.
  void select(const std::vector<std::string>& paths);
  void select(const std::vector<FileURL>& urls);
};

// Every code point is `unit` wide; "─" is `dividerWidth` wide.
class FakeMenuFont final : public MenuFont {
 public:
  bool throws = false;  // every measurement throws std::bad_alloc
  double unit = 1.0;
  double dividerWidth = 1.0;
  double width(std::string_view text) override;
};

// Records every opening and answers it from a queue of outcomes (success when
// empty). Completions run when the test calls runCompletions(), as the
// platform runs them after the call has returned.
class ScriptedWorkspace final : public Workspace {
 public:
  struct Opening {
    std::vector<std::string> urls;
    std::optional<FileURL> application;  // none: through the scheme's handler
    OpenConfiguration configuration;
  };
  std::vector<Opening> openings;
  std::deque<std::optional<Error>> outcomes;

  void openURLs(const std::vector<std::string>& urls, const FileURL& application,
                const OpenConfiguration& configuration, CompletionHandler completion) override;
  void openURL(const std::string& url, const OpenConfiguration& configuration,
               CompletionHandler completion) override;
  void runCompletions();

 private:
  std::deque<std::pair<CompletionHandler, std::optional<Error>>> pending_;
  void queue(CompletionHandler completion);
};

class FixedClock final : public Clock {
 public:
  bool throws = false;  // reading the time throws std::bad_alloc
  double now = 1767225600.25;
  double secondsSince1970() override {
    if (throws) throw std::bad_alloc();
    return now;
  }
};

class SequentialUUIDs final : public UUIDSource {
 public:
  int next = 1;
  std::string newUUIDString() override;
};

// Answers every opening at once with success: for callers that measure or
// stress publishing, not the wake-up.
class CompletingWorkspace final : public Workspace {
 public:
  void openURLs(const std::vector<std::string>&, const FileURL&, const OpenConfiguration&,
                CompletionHandler completion) override {
    completion(std::nullopt);
  }
  void openURL(const std::string&, const OpenConfiguration&,
               CompletionHandler completion) override {
    completion(std::nullopt);
  }
};

// All of the above, wired into one Platform. The bundle folder is `bundleDir`.
class TestPlatform {
 public:
  explicit TestPlatform(std::string bundleDir);

  linux_platform::SystemPlatform system;
  FaultyFileSystem files{system.files()};
  FixedUserDatabase users;
  FakeFinder finder;
  FakeMenuFont font;
  ScriptedWorkspace workspace;
  FixedClock clock;
  SequentialUUIDs uuids;
  RecordingLog log;
  Platform platform;
};

}  // namespace vdl::testkit
