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
#include "platform/linux/folder_bundle.h"
#include "platform/linux/gio_workspace.h"
#include "platform/linux/posix_file_system.h"

namespace {

class StdoutLog final : public vdl::Log {
 public:
  void write(std::string_view line) override {
    std::printf("log: %.*s\n", static_cast<int>(line.size()), line.data());
  }
};

void report(std::optional<vdl::Error> error) {
  if (error) {
    std::printf("error: %s\n", error->description.c_str());
  } else {
    std::printf("ok\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  vdl::linux_platform::GioWorkspace workspace;
  vdl::OpenConfiguration configuration;
  configuration.activates = false;
  if (argc == 4 && std::strcmp(argv[1], "app") == 0) {
    workspace.openURLs({argv[3]}, vdl::FileURL::fileURLWithPath(argv[2], true), configuration,
                       report);
  } else if (argc == 3 && std::strcmp(argv[1], "scheme") == 0) {
    workspace.openURL(argv[2], configuration, report);
  } else if (argc == 4 && std::strcmp(argv[1], "host") == 0) {
    vdl::linux_platform::PosixFileSystem files;
    vdl::linux_platform::FolderBundle bundle(files, vdl::FileURL::fileURLWithPath(argv[2], true));
    StdoutLog log;
    vdl::openHostApp(argv[3], bundle, workspace, log);
    bool finished = workspace.waitForCompletions(std::chrono::seconds(20));
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
