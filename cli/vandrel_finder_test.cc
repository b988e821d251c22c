// End-to-end tests of the vandrel-finder binary, run as a real process.
#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "extension/shared_folder.h"
#include "testing/process.h"
#include "testing/temp_dir.h"

namespace vdl {
namespace {

const char* kWorkedExample = R"json({
  "version": 1,
  "labels": {
    "convertTo": "Convert to", "compress": "Compress", "open": "Open in Vandrel…",
    "balanced": "Balanced (recommended)", "smallest": "Smallest file", "needs": "needs {tool}"
  },
  "popular": { "mov": ["mp4", "gif"] },
  "targets": {
    "mov": [["mp4"], ["gif", "extra codecs"], ["mp3"]],
    "png": [["jpg"], ["webp"]]
  },
  "compress": ["mov", "png"],
  "crop": ["mov"]
})json";

class FinderBinaryTest : public ::testing::Test {
 protected:
  FinderBinaryTest() {
    shared = tmp / "home/Library/Application Support/" + std::string(hostBundleIdentifier()) +
             "/FinderSync";
    clip = tmp / "clip.MOV";
    testing::writeFile(clip, "video");
  }

  testing::ProcessResult run(std::vector<std::string> args, const std::string& input = "") {
    std::vector<std::string> argv{VDL_FINDER, "--home", tmp / "home", "--bundle", VDL_BUNDLE};
    argv.insert(argv.end(), args.begin(), args.end());
    return testing::runProcess(argv, {{"VANDREL_SHARED_FOLDER", std::nullopt}}, input);
  }
  void writeMenu(const std::string& text) { testing::writeFile(shared + "/menu.json", text); }

  testing::TempDir tmp;
  std::string shared, clip;
};

nlohmann::json item(const std::string& title, nlohmann::json action, std::int64_t tag,
                    bool enabled = true, bool icon = false) {
  return {{"title", title},      {"action", action},
          {"keyEquivalent", ""}, {"tag", tag},
          {"enabled", enabled},  {"image", icon ? nlohmann::json("MenuIcon") : nullptr}};
}

TEST_F(FinderBinaryTest, MenuJSONOfTheWorkedExample) {
  writeMenu(kWorkedExample);
  auto r = run({"menu", "--json", clip});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  // The widest title, "GIF (needs extra codecs)", is 24 cells.
  std::string line;
  for (int i = 0; i < 24; ++i) line += "\u2500";
  auto convert = item("Convert to", nullptr, 0, true, true);
  convert["submenu"] = {
      {"title", "Convert to"},
      {"items",
       {item("MP4", "choose:", 1000), item("GIF (needs extra codecs)", "choose:", 1001),
        item(line, nullptr, 0, false), item("MP3", "choose:", 1002), item(line, nullptr, 0, false),
        item("Open in Vandrel…", "choose:", 2)}}};
  nlohmann::json expected = {{"title", ""},
                             {"items",
                              {convert, item("Compress", "choose:", 12, true, true),
                               item("Crop", "choose:", 13, true, true)}}};
  EXPECT_EQ(nlohmann::json::parse(r.out), expected);
}

TEST_F(FinderBinaryTest, ChoicePublishesARequestThatTheSampleReceiverPicksUp) {
  writeMenu(kWorkedExample);
  auto r = run({"choose", "--json", "1000", clip});
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
  EXPECT_NE(r.err.find("sample receiver: request " + id + ": convert to mp4, 1 file\n  " + clip),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(std::filesystem::exists(request)) << "the receiver removes what it took";
}

TEST_F(FinderBinaryTest, NoMenuAndNoChoiceAreResults) {
  writeMenu(kWorkedExample);
  testing::writeFile(tmp / "notes.txt", "x");
  auto r = run({"menu", tmp / "notes.txt"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, "no menu\n");
  r = run({"choose", "1005", clip});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, "no choice: nothing was published\n");
  EXPECT_FALSE(std::filesystem::exists(shared + "/requests"));
}

TEST_F(FinderBinaryTest, SessionKeepsOneCacheAcrossChangesOfTheFile) {
  writeMenu(kWorkedExample);
  const std::string menuPath = shared + "/menu.json";
  testing::setModified(menuPath, {1000, 1});
  std::string renamed = kWorkedExample;
  renamed.replace(renamed.find("\"Convert to\""), 12, "\"Umwandeln\"");
  auto firstTitle = [](const std::string& reply) {
    auto j = nlohmann::json::parse(reply);
    return j["menu"].is_null() ? std::string("null")
                               : j["menu"]["items"][0]["title"].get<std::string>();
  };

  testing::LineProcess session(
      {VDL_FINDER, "--home", tmp / "home", "--bundle", VDL_BUNDLE, "session"});
  EXPECT_EQ(session.ask(R"({"select": [")" + clip + R"("]})"), R"({"ok":true})");
  EXPECT_EQ(firstTitle(session.ask(R"({"menu": 0})")), "Convert to");

  testing::writeFile(menuPath, renamed);
  testing::setModified(menuPath, {1000, 1});
  EXPECT_EQ(firstTitle(session.ask(R"({"menu": 0})")), "Convert to")
      << "same date: the cached manifest stays";
  testing::setModified(menuPath, {1000, 2});
  EXPECT_EQ(firstTitle(session.ask(R"({"menu": 0})")), "Umwandeln") << "a new date is read";
  testing::writeFile(menuPath, "{ broken");
  EXPECT_EQ(firstTitle(session.ask(R"({"menu": 0})")), "Umwandeln") << "a broken file keeps it";

  EXPECT_EQ(session.ask(R"({"menu": 1})"), R"({"menu":null})");
  EXPECT_EQ(session.ask(R"({"select": null})"), R"({"ok":true})");
  EXPECT_EQ(session.ask(R"({"menu": 0})"), R"({"menu":null})");
  auto reply = nlohmann::json::parse(session.ask(R"({"choose": 2})"));
  EXPECT_EQ(reply, (nlohmann::json{{"request", nullptr},
                                   {"opened", nlohmann::json::array()},
                                   {"log", nlohmann::json::array()}}));
  for (const char* bad : {"not json", "[1]", R"({"menu": -1})", R"({"choose": "x"})",
                          R"({"select": [1]})", R"({"jump": 1})", R"({"menu": 0, "choose": 2})"}) {
    auto answer = nlohmann::json::parse(session.ask(bad));
    EXPECT_TRUE(answer.contains("error")) << bad << " -> " << answer;
  }
  EXPECT_EQ(session.ask(R"({"menu": 1})"), R"({"menu":null})") << "the session goes on";
  EXPECT_EQ(session.finish(), 0);
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
      {"missing label",
       std::string(kWorkedExample)
           .replace(std::string(kWorkedExample).find("\"balanced\""), 10, "\"Balanced\""),
       {},
       1,
       {"invalid manifest: at labels.balanced: required key is missing"}},
      {"warnings",
       R"({"version": 2, "labels": {"convertTo": "C", "compress": "Z", "open": "O", "balanced": "B",
           "smallest": "S", "needs": "needs a tool"}, "popular": {"mov": ["webm"]},
           "targets": {"MOV": [["mp4"]], "mov": [[], ["mp4"]]}, "compress": [".mov"]})",
       {},
       0,
       {"warning: labels.needs: has no \"{tool}\"", "warning: targets.MOV: has upper-case letters",
        "warning: targets.mov[0]: is an empty row",
        "warning: popular.mov[0]: \"webm\" is not among targets.mov",
        "warning: compress[0]: starts with a dot"}},
  };
  for (const auto& c : cases) {
    testing::writeFile(tmp / "m.json", c.manifest);
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
  EXPECT_EQ(report["warnings"].size(), 5u);

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
      {{}, "no command given"},
      {{"frobnicate"}, "unknown command"},
      {{"menu", "--kind", "x", "a"}, "menu kind must be a whole number"},
      {{"menu", "--kind"}, "--kind needs a value"},
      {{"choose"}, "choose needs a TAG"},
      {{"choose", "12x", "a"}, "TAG must be a whole number"},
      {{"choose", "99999999999999999999", "a"}, "TAG must be a whole number"},
      {{"menu", "--loud", "a"}, "unknown option --loud"},
      {{"menu", "file://remote-host/a.mov"}, "not a local file URL"},
      {{"check", "a", "b"}, "at most one FILE"},
      {{"info", "--strict"}, "--strict belongs to check"},
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

TEST_F(FinderBinaryTest, PathsAsRelativeNamesAndFileURLs) {
  writeMenu(kWorkedExample);
  auto byURL = run({"menu", "--json", "file://" + clip});
  auto byPath = run({"menu", "--json", clip});
  EXPECT_EQ(byURL.out, byPath.out);
  auto j = nlohmann::json::parse(byURL.out);
  EXPECT_FALSE(j.is_null());
}

}  // namespace
}  // namespace vdl
