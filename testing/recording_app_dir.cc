// The scratch sample host.
#include "testing/recording_app_dir.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include <filesystem>

#include "testing/manifests.h"
#include "testing/process.h"

namespace vdl::testkit {

bool runsInPrivateHome() {
  const char* privateHome = std::getenv("VANDREL_PRIVATE_HOME");
  const passwd* user = getpwuid(getuid());
  return privateHome && user && user->pw_dir && std::string(user->pw_dir) == privateHome;
}

RecordingAppDir::RecordingAppDir(const std::string& builtBundle,
                                 const std::vector<std::string>& built) {
  std::filesystem::create_directories(bundle());
  for (const auto& name : built) {
    std::filesystem::copy_file(builtBundle + "/" + name, bundle() + "/" + name);
  }
  std::filesystem::copy_file(VDL_SOURCE_DIR "/bundle/MenuIcon.svg", bundle() + "/MenuIcon.svg");
  writeFile(bundle() + "/fallback-menu.json", kWorkedExample);
  writeFile(tmp / "Vandrel.AppDir/AppRun",
            "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$(dirname \"$0\")/received\"\n");
  ::chmod((tmp / "Vandrel.AppDir/AppRun").c_str(), 0755);
  std::filesystem::create_directories(file("folder"));
  std::filesystem::create_directory_symlink(file("folder"), file("to-folder.mov"));
  std::filesystem::create_symlink(file("gone.mov"), file("broken.mov"));
  std::filesystem::create_symlink(file("clip.MOV", true), file("to-clip.mov"));
}

std::string RecordingAppDir::file(const std::string& name, bool create) const {
  std::string path = tmp / ("files/" + name);
  if (create) writeFile(path, "x");
  return path;
}

RecordingAppDir::Woken RecordingAppDir::wokenRequest(const std::string& sharedFolder) const {
  std::string received = waitForLine(tmp / "Vandrel.AppDir/received");
  auto requests = entries(sharedFolder + "/requests");
  if (requests.size() != 1) return {"", std::to_string(requests.size()) + " requests, not 1"};
  std::string id = std::filesystem::path(requests[0]).stem();
  if (received != "vandrel://quick?id=" + id + "\n") return {"", "AppRun received: " + received};
  return {readFile(requests[0]), ""};
}

void RecordingAppDir::forgetWakeUps() const {
  std::filesystem::remove(tmp / "Vandrel.AppDir/received");
}

}  // namespace vdl::testkit
