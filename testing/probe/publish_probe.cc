// A process that makes menu actions with the real core on the real disk, as
// fast as it can, so that tests can run several at once or kill one at any
// moment. The host's wake-up is answered at once with success: what is under
// test is publishing.
//
//   publish_probe HOME BUNDLE TAG COUNT FILE...
//
// chooses the item TAG for the FILEs COUNT times (0: until killed), with the
// shared folder below HOME. Exits 1 when any log line was written.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "extension/vdl_finder_sync.h"
#include "platform/linux/folder_bundle.h"
#include "platform/linux/posix_file_system.h"
#include "platform/linux/system_services.h"
#include "testing/test_platform.h"

namespace {

class CompletingWorkspace final : public vdl::Workspace {
 public:
  void openURLs(const std::vector<std::string>&, const vdl::FileURL&, const vdl::OpenConfiguration&,
                CompletionHandler completion) override {
    completion(std::nullopt);
  }
  void openURL(const std::string&, const vdl::OpenConfiguration&,
               CompletionHandler completion) override {
    completion(std::nullopt);
  }
};

class CountingLog final : public vdl::Log {
 public:
  int lines = 0;
  void write(std::string_view line) override {
    ++lines;
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: publish_probe HOME BUNDLE TAG COUNT FILE...\n");
    return 2;
  }
  vdl::linux_platform::PosixFileSystem files;
  vdl::testing::FixedUserDatabase users;
  users.home = argv[1];
  vdl::linux_platform::FolderBundle bundle(files, vdl::FileURL::fileURLWithPath(argv[2], true));
  vdl::testing::FakeFinder finder;
  finder.select(std::vector<std::string>(argv + 5, argv + argc));
  vdl::testing::FakeMenuFont font;
  CompletingWorkspace workspace;
  vdl::linux_platform::RealtimeClock clock;
  vdl::linux_platform::RandomUUIDSource uuids;
  CountingLog log;
  vdl::Platform platform{users, files, bundle, finder, font, workspace, clock, uuids, log};

  vdl::VDLFinderSync extension(platform);
  vdl::MenuItem item;
  item.tag = std::strtoll(argv[3], nullptr, 10);
  const long count = std::strtol(argv[4], nullptr, 10);
  for (long i = 0; count == 0 || i < count; ++i) extension.choose(item);
  return log.lines == 0 ? 0 : 1;
}
