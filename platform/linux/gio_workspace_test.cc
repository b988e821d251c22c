// The real GIO workspace, one probe process per case, each with XDG folders
// of its own, an AppDir whose AppRun records how it was started, and a
// registered test handler for the scheme.
#include "platform/linux/gio_workspace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "testing/process.h"
#include "testing/temp_dir.h"

namespace vdl {
namespace {

const std::string kID = "0f8fad5b-d9cb-469f-a165-70867728950e";
const std::string kURL = "vandrel://quick?id=" + kID;

// A script that records its arguments, its standard streams and its
// activation variables in `record`, atomically, so a reader never sees half.
std::string recorder(const std::string& record) {
  return "#!/bin/sh\nin=$(readlink /proc/$$/fd/0); out=$(readlink /proc/$$/fd/1)\n"
         "{ printf 'arg:%s\\n' \"$@\"; echo \"stdin=$in stdout=$out\"; "
         "echo \"DESKTOP_STARTUP_ID=${DESKTOP_STARTUP_ID-unset}\"; "
         "echo \"XDG_ACTIVATION_TOKEN=${XDG_ACTIVATION_TOKEN-unset}\"; } > '" +
         record + ".tmp' && mv '" + record + ".tmp' '" + record + "'\n";
}

const std::string kRecorded = "arg:" + kURL +
                              "\nstdin=/dev/null stdout=/dev/null\n"
                              "DESKTOP_STARTUP_ID=unset\nXDG_ACTIVATION_TOKEN=unset\n";

// Programs whose exec fails although the file is there and executable.
enum class Program { recorder, none, missingInterpreter, garbageELF, garbage };

void install(Program kind, const std::string& path, const std::string& record) {
  if (kind == Program::none) return;
  // In the order of Program.
  const std::string contents[] = {recorder(record), "", "#!/nonexistent\n",
                                  "\177ELF\2\1\1" + std::string(120, '\xff'),
                                  "\x01\x02\x03 not a program\n"};
  testkit::writeFile(path, contents[static_cast<int>(kind)]);
  ::chmod(path.c_str(), 0755);
}

class GioWorkspaceTest : public ::testing::Test {
 protected:
  GioWorkspaceTest() {
    std::filesystem::create_directories(tmp / "data/applications");
    std::filesystem::create_directories(tmp / "config");
  }

  // Registers a handler of vandrel: URLs that runs `kind`.
  void registerHandler(Program kind) {
    if (kind == Program::none) return;
    install(kind, tmp / "handler.sh", tmp / "handler-record");
    testkit::writeFile(tmp / "data/applications/vandrel-test.desktop",
                       "[Desktop Entry]\nType=Application\nName=Vandrel test handler\nExec=" +
                           (tmp / "handler.sh") +
                           " %u\nMimeType=x-scheme-handler/vandrel;\nNoDisplay=true\n");
    testkit::writeFile(tmp / "config/mimeapps.list",
                       "[Default Applications]\nx-scheme-handler/vandrel=vandrel-test.desktop\n");
  }

  testkit::ProcessResult probe(const std::vector<std::string>& args) {
    std::vector<std::string> argv{VDL_WORKSPACE_PROBE};
    argv.insert(argv.end(), args.begin(), args.end());
    return testkit::runProcess(argv, {{"XDG_DATA_HOME", tmp / "data"},
                                      {"XDG_CONFIG_HOME", tmp / "config"},
                                      {"XDG_DATA_DIRS", tmp / "no-data-dirs"},
                                      {"XDG_CONFIG_DIRS", tmp / "no-config-dirs"},
                                      {"DBUS_SESSION_BUS_ADDRESS", std::nullopt},
                                      // Inherited tokens must not reach the application.
                                      {"DESKTOP_STARTUP_ID", "inherited"},
                                      {"XDG_ACTIVATION_TOKEN", "inherited"}});
  }

  std::string record(const std::string& name) {
    return testkit::waitForFile(tmp / name, 5) ? testkit::readFile(tmp / name) : "(none)";
  }

  testkit::TempDir tmp;
};

// Folder names that a command line, a field code or an option parser would
// read as something else. Each must name just the folder it names, in the
// first attempt and in the fall-through to the handler.
TEST_F(GioWorkspaceTest, HostilePathsStartExactlyTheirOwnAppRun) {
  registerHandler(Program::recorder);
  const char* names[] = {"a%cb",    "%u",          "%f",         "%%",    "trail%",    "it's \"q\"",
                         "back\\s", "two  blanks", "line\nfeed", "-dash", "$(touch x)"};
  int n = 0;
  for (const std::string name : names) {
    SCOPED_TRACE(name);
    const std::string parent = tmp / ("case" + std::to_string(++n) + "/" + name);
    const std::string appDir = parent + "/Vandrel.AppDir";
    const std::string bundle = appDir + "/usr/lib/finder-sync";
    std::filesystem::create_directories(bundle);
    install(Program::recorder, appDir + "/AppRun", tmp / "app-record");
    // A decoy where "%c" expanded to the application's name would lead.
    install(Program::recorder,
            tmp / ("case" + std::to_string(n) + "/aVandrelb/Vandrel.AppDir/AppRun"),
            tmp / "decoy-record");

    EXPECT_EQ(probe({"app", appDir, kURL}).out, "ok\n");
    EXPECT_EQ(record("app-record"), kRecorded);
    std::filesystem::remove(tmp / "app-record");
    EXPECT_EQ(probe({"host", bundle, kID}).out, "done\n") << "the first attempt takes it";
    EXPECT_EQ(record("app-record"), kRecorded);
    std::filesystem::remove(tmp / "app-record");
    // Without an AppRun the same path falls through to the handler, intact.
    std::filesystem::remove(appDir + "/AppRun");
    EXPECT_EQ(probe({"host", bundle, kID}).out, "done\n") << "the second attempt takes it";
    EXPECT_EQ(record("handler-record"), kRecorded);
    std::filesystem::remove(tmp / "handler-record");
    EXPECT_FALSE(std::filesystem::exists(tmp / "decoy-record"));
    EXPECT_FALSE(std::filesystem::exists(tmp / "app-record"));
  }
}

TEST_F(GioWorkspaceTest, OnlyAProgramThatReallyStartedCountsAsOpened) {
  const std::string bundle = tmp / "Vandrel.AppDir/usr/lib/finder-sync";
  const std::string noHandler =
      "log: Vandrel: couldn't open the background worker: no application is registered for "
      "x-scheme-handler/vandrel\ndone\n";
  struct Case {
    const char* name;
    Program appRun, handler;
    std::string out;      // what the host probe reports, or a prefix of it
    const char* started;  // whose record appears, or nullptr
  } cases[] = {
      {"AppRun starts", Program::recorder, Program::recorder, "done\n", "app-record"},
      {"no AppRun: the handler", Program::none, Program::recorder, "done\n", "handler-record"},
      {"AppRun's interpreter is missing", Program::missingInterpreter, Program::recorder, "done\n",
       "handler-record"},
      {"AppRun is a broken ELF file", Program::garbageELF, Program::recorder, "done\n",
       "handler-record"},
      {"AppRun is no program", Program::garbage, Program::recorder, "done\n", "handler-record"},
      {"no AppRun, no handler", Program::none, Program::none, noHandler, nullptr},
      {"neither starts", Program::garbage, Program::missingInterpreter,
       "log: Vandrel: couldn't open the background worker: the handler vandrel-test.desktop",
       nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(tmp / "Vandrel.AppDir");
    std::filesystem::remove_all(tmp / "data/applications");
    std::filesystem::remove(tmp / "config/mimeapps.list");
    std::filesystem::create_directories(bundle);
    install(c.appRun, tmp / "Vandrel.AppDir/AppRun", tmp / "app-record");
    registerHandler(c.handler);

    auto r = probe({"host", bundle, kID});
    EXPECT_EQ(r.out.substr(0, c.out.size()), c.out) << r.out;
    const bool logs = c.out.rfind("log:", 0) == 0;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), logs ? 2 : 1) << "one log line at most";
    if (c.started) {
      EXPECT_EQ(record(c.started), kRecorded);
    }
    for (const char* who : {"app-record", "handler-record"}) {
      if (!c.started || std::string(c.started) != who) {
        EXPECT_FALSE(std::filesystem::exists(tmp / who)) << who << " must not have started";
      }
      std::filesystem::remove(tmp / who);
    }
  }
}

}  // namespace
}  // namespace vdl
