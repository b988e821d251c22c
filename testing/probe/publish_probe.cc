// A process that makes menu actions with the real core on the real disk, as
// fast as it can, so that tests can run several at once or kill one at any
// moment. The host's wake-up is answered at once with success: what is under
// test is publishing.
//
//   publish_probe HOME BUNDLE TAG COUNT FILE...
//
// chooses the item TAG for the FILEs COUNT times (0: until killed), with the
// shared folder below HOME. Exits 1 when any log line was written.
//
//   publish_probe --chooser HOME BUNDLE TAG COUNT FILE...
//
// hands COUNT choices to a file manager module's chooser, whose fsyncs take
// 1 ms each, then ends the process normally at once, as a file manager may
// with choices still in flight.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "extension/vdl_finder_sync.h"
#include "platform/linux/system_platform.h"
#include "testing/test_platform.h"
#ifdef VDL_PROBE_CHOOSER
#include "hosts/file_manager/chooser.h"
#endif

namespace {

int chooserProbe(char** argv, int argc) {
#ifdef VDL_PROBE_CHOOSER
  // Never destroyed, as a file manager's module's parts never are: the
  // chooser's thread uses them while the process ends.
  auto* disk = new vdl::linux_platform::SystemPlatform(
      {vdl::FileURL::fileURLWithPath("/", true), std::nullopt});
  auto* slow = new vdl::testkit::FaultyFileSystem(disk->files());
  slow->delay(vdl::testkit::FsOp::fsync, std::chrono::milliseconds(1));
  slow->delay(vdl::testkit::FsOp::syncDirectory, std::chrono::milliseconds(1));
  auto* workspace = new vdl::testkit::CompletingWorkspace;
  auto* chooser = new vdl::file_manager::Chooser(
      {vdl::FileURL::fileURLWithPath(argv[1], true), std::string(argv[0])},
      {.files = slow, .workspace = workspace});
  auto files = std::make_shared<vdl::SelectedItemList>();
  for (int i = 4; i < argc; ++i) files->addFile(argv[i]);
  const long count = std::strtol(argv[3], nullptr, 10);
  for (long i = 0; i < count; ++i) chooser->choose(files, std::strtoll(argv[2], nullptr, 10));
  std::exit(0);
#else
  (void)argv, (void)argc;
  std::fprintf(stderr, "publish_probe: built without the file managers' chooser\n");
  return 2;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 7 && std::strcmp(argv[1], "--chooser") == 0) {
    return chooserProbe(argv + 2, argc - 2);
  }
  if (argc < 6) {
    std::fprintf(stderr, "usage: publish_probe [--chooser] HOME BUNDLE TAG COUNT FILE...\n");
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
