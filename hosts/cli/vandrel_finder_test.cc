// End-to-end tests of the vandrel-finder binary, run as a real process.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include <nlohmann/json.hpp>

#include "extension/shared_folder.h"
#include "testing/manifests.h"
#include "testing/process.h"
#include "testing/temp_dir.h"

namespace vdl {
namespace {

using testkit::kWorkedExample;

class FinderBinaryTest : public ::testing::Test {
 protected:
  FinderBinaryTest() {
    shared = tmp / "home/Library/Application Support/" + std::string(hostBundleIdentifier()) +
             "/FinderSync";
    clip = tmp / "clip.MOV";
    testkit::writeFile(clip, "video");
  }

  // vandrel-finder with this test's home and the built bundle, then `args`,
  // after the words of `before`.
  std::vector<std::string> command(const std::vector<std::string>& args,
                                   std::vector<std::string> before = {}) {
    before.insert(before.end(), {VDL_FINDER, "--home", tmp / "home", "--bundle", VDL_BUNDLE});
    before.insert(before.end(), args.begin(), args.end());
    return before;
  }
  testkit::ProcessResult run(std::vector<std::string> args, const std::string& input = "") {
    return testkit::runProcess(command(args), kNoSharedFolder, input);
  }
  static inline const testkit::Environment kNoSharedFolder = {
      {"VANDREL_SHARED_FOLDER", std::nullopt}};
  void writeMenu(const std::string& text) { testkit::writeFile(shared + "/menu.json", text); }

  testkit::TempDir tmp;
  std::string shared, clip;
};

// The JSON form of the menu: every item with all its fields, the submenu
// inside its item. (The tree itself is the extension's, tested there.) A
// file URL names the same file as its path, whatever the case of "localhost".
TEST_F(FinderBinaryTest, MenuJSONOfTheWorkedExample) {
  writeMenu(kWorkedExample);
  auto r = run({"menu", "--json", clip});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  for (std::string host : {"", "LOCALHOST"}) {
    EXPECT_EQ(run({"menu", "--json", "file://" + host + clip}).out, r.out) << host;
  }
  testkit::writeFile(tmp / "notes.txt", "x");
  EXPECT_EQ(run({"menu", tmp / "notes.txt"}).out, "no menu\n");
  auto convert = nlohmann::json::parse(r.out)["items"][0];
  EXPECT_EQ(convert["image"], "MenuIcon");
  EXPECT_EQ(convert["submenu"]["items"][0]["tag"], 1000);
  EXPECT_EQ(convert["submenu"]["items"][2]["action"], nullptr) << "a divider chooses nothing";
}

// The request names the path as given, and the system follows it: with L a
// link to d1/d2, L/../clip.MOV is d1/clip.MOV, not a clip.MOV beside L.
TEST_F(FinderBinaryTest, ChoicePublishesARequestThatTheSampleReceiverPicksUp) {
  writeMenu(kWorkedExample);
  EXPECT_EQ(run({"choose", "1005", clip}).out, "no choice: nothing was published\n");
  EXPECT_FALSE(std::filesystem::exists(shared + "/requests"));
  std::filesystem::create_directories(tmp / "d1/d2");
  std::filesystem::create_directory_symlink(tmp / "d1/d2", tmp / "L");
  testkit::writeFile(tmp / "d1/clip.MOV", "video");
  const std::string viaLink = tmp / "L/../clip.MOV";
  auto r = run({"choose", "--json", "1000", viaLink});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  // Standard output carries the outcome alone: the receiver gets a null stdout.
  auto outcome = nlohmann::json::parse(r.out, nullptr, false);
  ASSERT_TRUE(outcome.is_object()) << r.out;
  ASSERT_TRUE(outcome["request"].is_string()) << r.out;
  std::string request = outcome["request"];
  std::string id = std::filesystem::path(request).stem();
  EXPECT_EQ(std::filesystem::path(request).parent_path(), shared + "/requests");
  EXPECT_EQ(outcome["log"], nlohmann::json::array());
  ASSERT_EQ(outcome["opened"].size(), 1u);
  EXPECT_EQ(outcome["opened"][0]["url"], "vandrel://quick?id=" + id);
  EXPECT_EQ(outcome["opened"][0]["error"], nullptr);
  // The receiver reports on the stderr it shares, which is read to its end.
  EXPECT_NE(r.err.find("sample receiver: request " + id + ": convert to mp4, 1 file\n  " + viaLink +
                       "\n"),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(std::filesystem::exists(request)) << "the receiver removes what it took";
}

// The session answers each line with one line, and a bad line with an error
// that leaves the session running.
TEST_F(FinderBinaryTest, SessionAnswersEveryLineAndSurvivesBadOnes) {
  writeMenu(kWorkedExample);
  testkit::ChildProcess session(command({"session"}), testkit::ChildProcess::Streams::lines,
                                kNoSharedFolder);
  EXPECT_EQ(session.ask(R"({"select": [")" + clip + R"("]})"), R"({"ok":true})");
  auto menu = nlohmann::json::parse(session.ask(R"({"menu": 0})"));
  EXPECT_EQ(menu["menu"]["items"][0]["title"], "Convert to");
  EXPECT_EQ(session.ask(R"({"menu": 1})"), R"({"menu":null})");
  EXPECT_EQ(session.ask(R"({"select": null})"), R"({"ok":true})");
  auto reply = nlohmann::json::parse(session.ask(R"({"choose": 2})"));
  EXPECT_EQ(reply, (nlohmann::json{{"request", nullptr},
                                   {"opened", nlohmann::json::array()},
                                   {"log", nlohmann::json::array()}}));
  for (const char* bad : {"not json", R"({"jump": 1})", R"({"choose": "x"})"}) {
    EXPECT_TRUE(nlohmann::json::parse(session.ask(bad)).contains("error")) << bad;
  }
  EXPECT_EQ(session.ask(R"({"menu": 1})"), R"({"menu":null})") << "the session goes on";
  EXPECT_EQ(session.wait(), 0);
}

TEST_F(FinderBinaryTest, CheckReportsErrorsAndWarnings) {
  struct Case {
    const char* name;
    std::string manifest;
    std::vector<std::string> flags;
    int exitStatus;
    std::vector<std::string> mustSay;
  } cases[] = {
      {"valid", kWorkedExample, {}, 0, {"valid manifest, version 1"}},
      {"not JSON", "{", {}, 1, {"invalid manifest", "syntax error"}},
      {"warnings",
       R"({"version": 2, "labels": {"convertTo": "C", "compress": "Z", "open": "O", "balanced": "B",
           "smallest": "S", "needs": "needs a tool"}, "popular": {"mov": ["webm"]},
           "targets": {"MOV": [["mp4"]], "mov": [[], ["mp4"], ["mov", "x"]]},
           "compress": [".mov"]})",
       {},
       0,
       {"warning: labels.needs: has no \"{tool}\"",
        "warning: targets.MOV: never matches a file: \"file.MOV\" is looked up as \"mov\"",
        "warning: targets.mov[0]: is an empty row",
        "warning: targets.mov[2]: converts a .mov file into itself",
        "warning: popular.mov[0]: \"webm\" is not among targets.mov",
        "warning: compress[0]: never matches a file"}},
  };
  for (const auto& c : cases) {
    testkit::writeFile(tmp / "m.json", c.manifest);
    auto r = run({"check", tmp / "m.json"});
    EXPECT_EQ(r.exitStatus, c.exitStatus) << c.name << ": " << r.out << r.err;
    for (const auto& s : c.mustSay)
      EXPECT_NE(r.out.find(s), std::string::npos) << c.name << ": " << r.out;
  }
  auto strict = run({"check", "--strict", tmp / "m.json"});
  EXPECT_EQ(strict.exitStatus, 1) << "--strict fails on warnings";
  auto json = run({"check", "--json", tmp / "m.json"});
  auto report = nlohmann::json::parse(json.out);
  EXPECT_EQ(report["valid"], true);
  EXPECT_EQ(report["warnings"].size(), 6u);

  auto inForce = run({"check"});
  EXPECT_EQ(inForce.exitStatus, 0)
      << "the bundle's fallback manifest checks clean: " << inForce.out;
  EXPECT_NE(inForce.out.find("fallback-menu.json: valid manifest"), std::string::npos)
      << inForce.out;
  EXPECT_EQ(inForce.out.find("warning"), std::string::npos) << inForce.out;
}

TEST_F(FinderBinaryTest, UsageErrorsExitTwoWithAMessage) {
  struct Case {
    std::vector<std::string> args;
    std::string says;
  } cases[] = {
      {{"frobnicate"}, "unknown command"},
      {{"choose", "99999999999999999999", "a"}, "TAG must be a whole number"},
      {{"info", "--strict"}, "--strict belongs to check"},
      {{"menu", "file://remote-host/a.mov"}, "not a local file URL"},
  };
  for (const auto& c : cases) {
    auto r = run(c.args);
    EXPECT_EQ(r.exitStatus, 2) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << c.says;
  }
  auto help = run({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("usage: vandrel-finder"), std::string::npos);
  EXPECT_EQ(run({"--version"}).out.rfind("vandrel-finder ", 0), 0u);
}

// Limits and hostile input that once killed the process, split a log line or
// reported success for nothing: each ends as an ordinary, visible failure.
TEST_F(FinderBinaryTest, LimitsAndHostileHomesFailCleanly) {
  writeMenu(kWorkedExample);
  auto requestFiles = [&] { return testkit::entries(shared + "/requests", true).size(); };
  auto limited = [&](const std::string& ulimit, std::vector<std::string> args) {
    return testkit::runProcess(command(args, {"/bin/sh", "-c", ulimit + " && exec \"$0\" \"$@\""}),
                               kNoSharedFolder);
  };

  // No room for a file: the write fails, is logged once, and nothing stays.
  auto r = limited("ulimit -f 0", {"choose", "--json", "1000", clip});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  auto outcome = nlohmann::json::parse(r.out, nullptr, false);
  ASSERT_TRUE(outcome.is_object()) << r.out << r.err;
  EXPECT_TRUE(outcome["request"].is_null());
  ASSERT_EQ(outcome["log"].size(), 1u);
  EXPECT_EQ(outcome["log"][0].get<std::string>().rfind("Vandrel: couldn't write the request: ", 0),
            0u);
  EXPECT_EQ(requestFiles(), 0u) << "no partial file, hidden or not";

  // Too few descriptors for the wake-up: refused before anything is written.
  r = limited("ulimit -n 4", {"choose", "1000", clip});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_NE(r.err.find("too few file descriptors"), std::string::npos) << r.err;
  EXPECT_EQ(requestFiles(), 0u);

  // A home whose folder can't be made, with a line break in its name: the
  // failure is one log line that shows the break instead of making it.
  testkit::writeFile(tmp / "file\nVandrel: forged", "not a folder");
  r = testkit::runProcess({VDL_FINDER, "--home", tmp / "file\nVandrel: forged/home", "--bundle",
                           VDL_BUNDLE, "choose", "1000", clip});
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  EXPECT_EQ(r.err.rfind("Vandrel: couldn't write the request: ", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("file\\nVandrel: forged"), std::string::npos) << r.err;
}

// install-handler writes an Exec line that runs exactly the receiver it
// names, whatever its path holds, and refuses a path no Exec line can carry.
TEST_F(FinderBinaryTest, InstallHandlerQuotesItsPathOrRefusesIt) {
  const testkit::Environment xdg = {{"XDG_DATA_HOME", tmp / "data"},
                                    {"XDG_CONFIG_HOME", tmp / "config"},
                                    {"XDG_DATA_DIRS", tmp / "no-data-dirs"},
                                    {"XDG_CONFIG_DIRS", tmp / "no-config-dirs"},
                                    {"DBUS_SESSION_BUS_ADDRESS", std::nullopt},
                                    {"VANDREL_SHARED_FOLDER", std::nullopt}};
  const std::string desktop = tmp / "data/applications/vandrel-sample-receiver.desktop";
  auto install = [&](const std::string& appDir) {
    return testkit::runProcess(
        {VDL_FINDER, "--bundle", appDir + "/usr/lib/finder-sync", "install-handler"}, xdg);
  };

  // A line break no Exec line can carry; and a "%", since GIO checks a
  // program's path before it expands "%%" and so can't run it.
  const std::string percent = tmp / "50% %u/Vandrel.AppDir";
  testkit::writeFile(percent + "/AppRun", "#!/bin/sh\n");
  std::filesystem::permissions(percent + "/AppRun", std::filesystem::perms::owner_all);
  for (auto [appDir, exitStatus, says] :
       {std::tuple{tmp / "line\nbreak/Vandrel.AppDir", 2, "line break"},
        std::tuple{percent, 1, "holds \"%\""}}) {
    auto refused = install(appDir);
    EXPECT_EQ(refused.exitStatus, exitStatus) << refused.err;
    EXPECT_NE(refused.err.find(says), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(desktop)) << "nothing written: " << says;
  }

  const std::string appDir = tmp / "it's \"$HOME\" `x` -d back\\slash/Vandrel.AppDir";
  testkit::writeFile(appDir + "/AppRun",
                     "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + (tmp / "ran") + "'\n");
  std::filesystem::permissions(appDir + "/AppRun", std::filesystem::perms::owner_all);
  auto r = install(appDir);
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  auto opened = testkit::runProcess({VDL_WORKSPACE_PROBE, "scheme", "vandrel://quick?id=abc"}, xdg);
  EXPECT_EQ(opened.out, "ok\n") << opened.err;
  ASSERT_TRUE(testkit::waitForFile(tmp / "ran", 10));
  EXPECT_EQ(testkit::readFile(tmp / "ran"), "vandrel://quick?id=abc\n");
}

// The sample receiver reads only a regular file, a bounded amount, for an id
// that is a request id, and shows file names as text.
TEST_F(FinderBinaryTest, SampleReceiverTakesOnlyWhatIsARequest) {
  const std::string appRun = std::string(VDL_BUNDLE) + "/../../../AppRun";
  const std::string id = "0f8fad5b-d9cb-469f-a165-70867728950e";
  const std::string request = shared + "/requests/" + id + ".json";
  std::filesystem::create_directories(shared + "/requests");
  ASSERT_EQ(::mkfifo((tmp / "fifo").c_str(), 0600), 0);
  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::string url;
    int exitStatus;
    std::string says;
  } cases[] = {
      {"a link to a FIFO", [&] { std::filesystem::create_symlink(tmp / "fifo", request); },
       "vandrel://quick?id=" + id, 1, "can't open"},
      {"an id that is not a lower-case UUID", [] {}, "vandrel://quick?id=" + std::string(36, 'A'),
       1, "not a quick URL with a request id"},
      {"a file name with control characters",
       [&] {
         testkit::writeFile(request, nlohmann::json{{"id", id},
                                                    {"createdAt", 1.5},
                                                    {"action", {{"action", "open"}}},
                                                    {"files", {"/a\nb\x1b[2J.mov"}}}
                                         .dump());
       },
       "vandrel://quick?id=" + id, 0, "  /a\\nb\\x1b[2J.mov\n"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(request);
    c.arrange();
    auto r = testkit::runProcess({appRun, c.url}, {{"VANDREL_SHARED_FOLDER", shared}});
    EXPECT_EQ(r.exitStatus, c.exitStatus) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.name << ": " << r.err;
  }
}

}  // namespace
}  // namespace vdl
