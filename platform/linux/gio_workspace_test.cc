// The real GIO workspace, one probe process per case, each with XDG folders
// of its own, an AppDir whose AppRun records how it was started, and a
// registered test handler for the scheme.
#include "platform/linux/gio_workspace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "testing/process.h"
#include "testing/temp_dir.h"

namespace vdl {
namespace {

// A script that records its arguments and its activation variables in
// `record`, atomically, so a reader never sees half of it.
std::string recorder(const std::string& record) {
  return "#!/bin/sh\n{ printf 'arg:%s\\n' \"$@\"; "
         "echo \"DESKTOP_STARTUP_ID=${DESKTOP_STARTUP_ID-unset}\"; "
         "echo \"XDG_ACTIVATION_TOKEN=${XDG_ACTIVATION_TOKEN-unset}\"; } > '" +
         record + ".tmp' && mv '" + record + ".tmp' '" + record + "'\n";
}

void writeExecutable(const std::string& path, const std::string& content) {
  testing::writeFile(path, content);
  ::chmod(path.c_str(), 0755);
}

class GioWorkspaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    appDir = tmp / "Vandrel.AppDir";
    bundle = appDir + "/usr/lib/finder-sync";
    std::filesystem::create_directories(bundle);
    std::filesystem::create_directories(tmp / "data/applications");
    std::filesystem::create_directories(tmp / "config");
  }

  void installAppRun() { writeExecutable(appDir + "/AppRun", recorder(tmp / "app-record")); }
  void registerHandler() {
    writeExecutable(tmp / "handler.sh", recorder(tmp / "handler-record"));
    testing::writeFile(tmp / "data/applications/vandrel-test.desktop",
                       "[Desktop Entry]\nType=Application\nName=Vandrel test handler\nExec=" +
                           (tmp / "handler.sh") +
                           " %u\nMimeType=x-scheme-handler/vandrel;\nNoDisplay=true\n");
    testing::writeFile(tmp / "config/mimeapps.list",
                       "[Default Applications]\nx-scheme-handler/vandrel=vandrel-test.desktop\n");
  }

  testing::ProcessResult probe(const std::vector<std::string>& args) {
    std::vector<std::string> argv{VDL_WORKSPACE_PROBE};
    argv.insert(argv.end(), args.begin(), args.end());
    return testing::runProcess(argv, {{"XDG_DATA_HOME", tmp / "data"},
                                      {"XDG_CONFIG_HOME", tmp / "config"},
                                      {"XDG_DATA_DIRS", tmp / "no-data-dirs"},
                                      {"XDG_CONFIG_DIRS", tmp / "no-config-dirs"},
                                      {"DBUS_SESSION_BUS_ADDRESS", std::nullopt},
                                      // Inherited tokens must not reach the application.
                                      {"DESKTOP_STARTUP_ID", "inherited"},
                                      {"XDG_ACTIVATION_TOKEN", "inherited"}});
  }

  testing::TempDir tmp;
  std::string appDir, bundle;
};

const std::string kRecorded =
    "arg:vandrel://quick?id=abc\nDESKTOP_STARTUP_ID=unset\nXDG_ACTIVATION_TOKEN=unset\n";

TEST_F(GioWorkspaceTest, AppRunGetsTheURLWithoutActivation) {
  installAppRun();
  EXPECT_EQ(probe({"app", appDir, "vandrel://quick?id=abc"}).out, "ok\n");
  ASSERT_TRUE(testing::waitForFile(tmp / "app-record"));
  EXPECT_EQ(testing::readFile(tmp / "app-record"), kRecorded);
}

TEST_F(GioWorkspaceTest, MissingOrNonExecutableAppRunFails) {
  EXPECT_EQ(probe({"app", appDir, "vandrel://quick?id=abc"}).out,
            "error: no executable AppRun in " + appDir + "\n");
  testing::writeFile(appDir + "/AppRun", "#!/bin/sh\n");
  ::chmod((appDir + "/AppRun").c_str(), 0644);
  EXPECT_EQ(probe({"app", appDir, "vandrel://quick?id=abc"}).out,
            "error: no executable AppRun in " + appDir + "\n");
}

TEST_F(GioWorkspaceTest, SchemeHandlerGetsTheURLWithoutActivation) {
  registerHandler();
  EXPECT_EQ(probe({"scheme", "vandrel://quick?id=abc"}).out, "ok\n");
  ASSERT_TRUE(testing::waitForFile(tmp / "handler-record"));
  EXPECT_EQ(testing::readFile(tmp / "handler-record"), kRecorded);
}

TEST_F(GioWorkspaceTest, NoRegisteredHandlerFails) {
  EXPECT_EQ(probe({"scheme", "vandrel://quick?id=abc"}).out,
            "error: no application is registered for x-scheme-handler/vandrel\n");
}

TEST_F(GioWorkspaceTest, HostLaunchFallsBackToTheHandlerThenLogsOnce) {
  const std::string id = "0f8fad5b-d9cb-469f-a165-70867728950e";
  registerHandler();
  EXPECT_EQ(probe({"host", bundle, id}).out, "done\n") << "no AppRun: the handler takes it";
  ASSERT_TRUE(testing::waitForFile(tmp / "handler-record"));
  EXPECT_NE(testing::readFile(tmp / "handler-record").find("arg:vandrel://quick?id=" + id + "\n"),
            std::string::npos);

  std::filesystem::remove(tmp / "config/mimeapps.list");
  std::filesystem::remove(tmp / "data/applications/vandrel-test.desktop");
  EXPECT_EQ(probe({"host", bundle, id}).out,
            "log: Vandrel: couldn't open the background worker: no application is registered "
            "for x-scheme-handler/vandrel\ndone\n");

  installAppRun();
  EXPECT_EQ(probe({"host", bundle, "abc"}).out, "done\n");
  ASSERT_TRUE(testing::waitForFile(tmp / "app-record"));
  EXPECT_EQ(testing::readFile(tmp / "app-record"), kRecorded);
}

}  // namespace
}  // namespace vdl
