// The scratch sample host.
#include "testing/recording_app_dir.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <filesystem>
#include <set>
#include <sstream>

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
  std::string problem = wokenProblem(tmp / "Vandrel.AppDir", sharedFolder, 1);
  if (!problem.empty()) return {"", problem};
  return {readFile(entries(sharedFolder + "/requests")[0]), ""};
}

std::string wokenProblem(const std::string& appDir, const std::string& sharedFolder,
                         std::size_t count) {
  std::string received = waitForLine(appDir + "/received", 10, count);
  auto requests = entries(sharedFolder + "/requests");
  if (requests.size() != count) {
    return std::to_string(requests.size()) + " requests, not " + std::to_string(count);
  }
  if (entries(sharedFolder + "/requests", true).size() != count) return "a hidden file is left";
  std::multiset<std::string> expected, woken;
  for (const auto& request : requests) {
    expected.insert("vandrel://quick?id=" + std::filesystem::path(request).stem().string());
  }
  std::istringstream lines(received);
  for (std::string line; std::getline(lines, line);) woken.insert(line);
  return woken == expected ? "" : "AppRun received: " + received;
}

void RecordingAppDir::forgetWakeUps() const {
  std::filesystem::remove(tmp / "Vandrel.AppDir/received");
}

}  // namespace vdl::testkit

namespace vdl::testkit {

bool isTheChild() {
  return std::getenv("VDL_TEST_CHILD") != nullptr;
}

void reportAndExit(const RecordingAppDir& app) {
  std::printf("\napp: %s\n", app.tmp.path().c_str());
  std::exit(0);
}

std::string wokenInAChild(const std::string& test, std::size_t count) {
  auto child = runProcess({"/proc/self/exe", "--gtest_filter=" + test}, {{"VDL_TEST_CHILD", "1"}});
  auto at = child.out.rfind("\napp: ");
  if (child.exitStatus != 0 || at == std::string::npos) {
    return "the child ended with " + std::to_string(child.exitStatus) + ": " + child.out +
           child.err;
  }
  std::string tmp = child.out.substr(at + 6, child.out.find('\n', at + 1) - at - 6);
  std::string problem = wokenProblem(tmp + "/Vandrel.AppDir", userSharedFolder(), count);
  std::filesystem::remove_all(tmp);
  return problem;
}

}  // namespace vdl::testkit
