// A small program that makes one real opening through the GIO workspace and
// prints its outcome, so that tests can run each case in a fresh process with
// XDG folders of their own (GIO reads them once per process).
//
//   workspace_probe app DIR URL       open URL with the AppDir DIR
//   workspace_probe scheme URL        open URL through its scheme's handler
//   workspace_probe host BUNDLE ID    wake the host of BUNDLE with request ID
#include <cstdio>
#include <cstring>
#include <string>

#include "dispatch/host_launch.h"
#include "platform/linux/gio_workspace.h"
#include "platform/linux/system_platform.h"
#include "platform/recording.h"

namespace {

void report(std::optional<vdl::Error> error) {
  if (error) {
    std::printf("error: %s\n", error->description.c_str());
  } else {
    std::printf("ok\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  vdl::linux_platform::SystemPlatform system(
      {vdl::FileURL::fileURLWithPath(argc == 4 ? argv[2] : "/", true), std::nullopt});
  auto& workspace = system.workspace();
  vdl::OpenConfiguration configuration;
  configuration.activates = false;
  if (argc == 4 && std::strcmp(argv[1], "app") == 0) {
    workspace.openURLs({argv[3]}, vdl::FileURL::fileURLWithPath(argv[2], true), configuration,
                       report);
  } else if (argc == 3 && std::strcmp(argv[1], "scheme") == 0) {
    workspace.openURL(argv[2], configuration, report);
  } else if (argc == 4 && std::strcmp(argv[1], "host") == 0) {
    vdl::RecordingLog log;
    vdl::openHostApp(argv[3], system.bundle(), workspace, log);
    bool finished = workspace.waitForCompletions(std::chrono::seconds(20));
    for (const auto& line : log.lines) std::printf("log: %s\n", line.c_str());
    std::printf(finished ? "done\n" : "timeout\n");
    return 0;
  } else {
    std::fprintf(stderr, "usage: workspace_probe app DIR URL | scheme URL | host BUNDLE ID\n");
    return 2;
  }
  bool finished = workspace.waitForCompletions(std::chrono::seconds(20));
  if (!finished) std::printf("timeout\n");
  return 0;
}
