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
#include "platform/linux/system_platform.h"
#include "testing/test_platform.h"

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: publish_probe HOME BUNDLE TAG COUNT FILE...\n");
    return 2;
  }
  vdl::linux_platform::SystemPlatform system(
      {vdl::FileURL::fileURLWithPath(argv[2], true), std::string(argv[1])});
  vdl::testkit::FakeFinder finder;
  finder.select(std::vector<std::string>(argv + 5, argv + argc));
  vdl::testkit::FakeMenuFont font;
  vdl::testkit::CompletingWorkspace workspace;
  vdl::RecordingLog log(&system.log());
  vdl::Platform platform = system.platform(finder, font, {.workspace = &workspace, .log = &log});

  vdl::VDLFinderSync extension(platform);
  vdl::MenuItem item;
  item.tag = std::strtoll(argv[3], nullptr, 10);
  const long count = std::strtol(argv[4], nullptr, 10);
  for (long i = 0; count == 0 || i < count; ++i) extension.choose(item);
  return log.lines.empty() ? 0 : 1;
}
