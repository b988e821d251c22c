#include "extension/vdl_finder_sync.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include <nlohmann/json.hpp>

#include "extension/shared_folder.h"
#include "testing/test_platform.h"

namespace vdl {
namespace {

using testkit::FsOp;

TEST(SharedFolder, ComesFromTheUserDatabaseHome) {
  testkit::FixedUserDatabase users;
  users.home = "/Users/example";
  users.platformHome = "/sandbox/container";
  EXPECT_EQ(sharedFolderURL(users, "com.vandrel.Vandrel").directoryAwarePath(),
            "/Users/example/Library/Application Support/com.vandrel.Vandrel/FinderSync/");
}

TEST(SharedFolder, FallsBackToThePlatformHome) {
  testkit::FixedUserDatabase users;
  users.home = std::nullopt;
  users.platformHome = "/home/fallback/";
  EXPECT_EQ(sharedFolderURL(users, "id").directoryAwarePath(),
            "/home/fallback/Library/Application Support/id/FinderSync/");
}

TEST(SharedFolder, BundleIdentifierIsTheBuildConstant) {
  EXPECT_FALSE(hostBundleIdentifier().empty());
}

TEST(VDLFinderSync, ConstructionRegistersTwoDirectoriesAndTouchesNoFile) {
  testkit::TempDir tmp;
  testkit::TestPlatform t(tmp / "bundle");
  t.users.home = tmp / "home";
  VDLFinderSync extension(t.platform);

  ASSERT_EQ(t.finder.registered.size(), 1u);
  std::set<FileURL> expected{FileURL::fileURLWithPath("/", true),
                             FileURL::fileURLWithPath("/Volumes", true)};
  EXPECT_EQ(t.finder.registered[0], expected);
  for (std::size_t op = 0; op < static_cast<std::size_t>(FsOp::count); ++op) {
    EXPECT_EQ(t.files.calls(static_cast<FsOp>(op)), 0u) << testkit::fsOpName(static_cast<FsOp>(op));
  }
  EXPECT_FALSE(std::filesystem::exists(tmp / "home"));
  EXPECT_EQ(extension.sharedFolder().path(), tmp / "home/Library/Application Support/" +
                                                 std::string(hostBundleIdentifier()) +
                                                 "/FinderSync");
}

}  // namespace
}  // namespace vdl

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

const std::string kWriteFailure = "Vandrel: couldn't write the request: ";

class ExtensionTest : public ::testing::Test {
 public:
  ExtensionTest() : t(tmp / "Vandrel.AppDir/usr/lib/finder-sync") {
    t.users.home = tmp / "home";
    shared = tmp / "home/Library/Application Support/" + std::string(hostBundleIdentifier()) +
             "/FinderSync";
    requests = shared + "/requests";
    std::filesystem::create_directories(tmp / "Vandrel.AppDir/usr/lib/finder-sync");
    testkit::writeFile(tmp / "Vandrel.AppDir/usr/lib/finder-sync/MenuIcon.png", "png");
  }

  void writeMenu(const std::string& text) { testkit::writeFile(shared + "/menu.json", text); }
  std::string file(const std::string& name) {
    testkit::writeFile(tmp / "files/" + name, "content");
    return tmp / "files/" + name;
  }
  MenuItem item(std::int64_t tag) {
    MenuItem i;
    i.tag = tag;
    return i;
  }
  std::vector<std::string> requestNames() {
    std::vector<std::string> names;
    if (!std::filesystem::exists(requests)) return names;
    for (const auto& e : std::filesystem::directory_iterator(requests)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  nlohmann::json onlyRequest() {
    auto names = requestNames();
    EXPECT_EQ(names.size(), 1u);
    if (names.size() != 1) return {};
    return nlohmann::json::parse(testkit::readFile(requests + "/" + names[0]));
  }

  testkit::TempDir tmp;
  testkit::TestPlatform t;
  std::string shared, requests;
};

TEST_F(ExtensionTest, WorkedExampleFromMenuToPublishedRequest) {
  writeMenu(kWorkedExample);
  std::string clip = file("clip.MOV");
  t.finder.select({clip});
  VDLFinderSync extension(t.platform);

  auto menu = extension.menu(kContextualMenuForItems);
  ASSERT_TRUE(menu);
  ASSERT_EQ(menu->items.size(), 3u);
  EXPECT_EQ(menu->items[0].title, "Convert to");
  ASSERT_TRUE(menu->items[0].image);
  EXPECT_EQ(menu->items[0].image->name, "MenuIcon");
  const auto& sub = menu->items[0].submenu->items;
  ASSERT_EQ(sub.size(), 6u);
  EXPECT_EQ(sub[0].title, "MP4");
  EXPECT_EQ(sub[0].tag, 1000);
  EXPECT_EQ(sub[1].title, "GIF (needs extra codecs)");
  EXPECT_EQ(sub[3].title, "MP3");
  EXPECT_EQ(sub[3].tag, 1002);
  EXPECT_EQ(sub[5].tag, 2);
  EXPECT_EQ(menu->items[1].tag, 12);
  EXPECT_EQ(menu->items[2].title, "Crop");

  extension.choose(sub[0]);
  auto names = requestNames();
  ASSERT_EQ(names.size(), 1u) << "no hidden file stays behind";
  auto request = onlyRequest();
  std::string id = request["id"];
  EXPECT_EQ(names[0], id + ".json");
  EXPECT_EQ(id, "0000abcd-0000-4000-8000-000000000001") << "lower-cased";
  EXPECT_EQ(request.size(), 4u);
  EXPECT_EQ(request["createdAt"].get<double>(), t.clock.now);
  EXPECT_EQ(request["action"], (nlohmann::json{{"action", "convert"}, {"format", "mp4"}}));
  EXPECT_EQ(request["files"], nlohmann::json::array({clip}));
  std::string raw = testkit::readFile(requests + "/" + names[0]);
  EXPECT_EQ(raw.find('\n'), std::string::npos) << "compact";

  ASSERT_EQ(t.workspace.openings.size(), 1u);
  EXPECT_EQ(t.workspace.openings[0].urls[0], "vandrel://quick?id=" + id);
  EXPECT_EQ(t.workspace.openings[0].application->path(), tmp / "Vandrel.AppDir");
  EXPECT_TRUE(t.log.lines.empty());
}

TEST_F(ExtensionTest, RequestsAreCreatedPrivately) {
  // No shared folder yet: the request creates it. The manifest is the fallback.
  testkit::writeFile(tmp / "Vandrel.AppDir/usr/lib/finder-sync/fallback-menu.json", kWorkedExample);
  t.finder.select({file("clip.mov")});
  VDLFinderSync extension(t.platform);
  // Even a process that creates files for everyone keeps requests private.
  ::umask(0);
  extension.choose(item(2));
  ::umask(022);
  ASSERT_TRUE(t.log.lines.empty()) << t.log.lines[0];
  auto mode = [](const std::string& p) { return std::filesystem::status(p).permissions(); };
  using P = std::filesystem::perms;
  EXPECT_EQ(mode(shared), P::owner_all);
  EXPECT_EQ(mode(requests), P::owner_all);
  EXPECT_EQ(mode(requests + "/" + requestNames()[0]), P::owner_read | P::owner_write);
}

TEST_F(ExtensionTest, OtherMenuKindsTouchNothing) {
  writeMenu(kWorkedExample);
  t.finder.select({file("clip.mov")});
  VDLFinderSync extension(t.platform);
  for (std::uint64_t kind : {1u, 2u, 3u, 99u}) {
    EXPECT_FALSE(extension.menu(kind)) << kind;
  }
  EXPECT_EQ(t.files.calls(testkit::FsOp::status), 0u);
  EXPECT_EQ(t.finder.selectionCalls, 0);
}

TEST_F(ExtensionTest, NoMenuWhenThereIsNothingToOffer) {
  struct Case {
    const char* name;
    std::string manifest;
    std::vector<std::string> files;
  } cases[] = {
      {"switched off",
       std::string(kWorkedExample)
           .replace(std::string(kWorkedExample).rfind('}'), 1, R"(, "enabled": false})"),
       {"clip.mov"}},
      {"empty selection", kWorkedExample, {}},
      {"no targets and no flags", kWorkedExample, {"notes.txt"}},
      {"no manifest at all", "not json", {"clip.mov"}},
  };
  for (const auto& c : cases) {
    writeMenu(c.manifest);
    std::vector<std::string> paths;
    for (const auto& f : c.files) paths.push_back(file(f));
    t.finder.select(paths);
    VDLFinderSync extension(t.platform);
    EXPECT_FALSE(extension.menu(0)) << c.name;
  }
}

TEST_F(ExtensionTest, EnabledAbsentOrTrueShowsTheMenu) {
  std::string on = kWorkedExample;
  on.replace(on.rfind('}'), 1, R"(, "enabled": true})");
  writeMenu(on);
  t.finder.select({file("clip.mov")});
  VDLFinderSync extension(t.platform);
  EXPECT_TRUE(extension.menu(0));
}

TEST_F(ExtensionTest, EachTagMakesItsActionObject) {
  writeMenu(kWorkedExample);
  t.finder.select({file("clip.mov"), file("other.MOV")});
  struct Case {
    std::int64_t tag;
    nlohmann::json action;
  } cases[] = {
      {1001, {{"action", "convert"}, {"format", "gif"}}},
      {1002, {{"action", "convert"}, {"format", "mp3"}}},
      {12, {{"action", "compress"}, {"preset", "adjust"}}},
      {2, {{"action", "open"}}},
      {13, {{"action", "crop"}}},
      {14, {{"action", "trim"}}},  // decodes though trim is not offered
  };
  VDLFinderSync extension(t.platform);
  for (const auto& c : cases) {
    std::filesystem::remove_all(requests);
    extension.choose(item(c.tag));
    auto request = onlyRequest();
    EXPECT_EQ(request["action"], c.action) << c.tag;
    EXPECT_EQ(request["files"].size(), 2u) << c.tag;
  }
  EXPECT_EQ(t.workspace.openings.size(), 6u);
}

TEST_F(ExtensionTest, TagsReadAgainstTheSelectionOfTheMomentOfChoosing) {
  writeMenu(kWorkedExample);
  std::string clip = file("clip.mov");
  std::string image = file("image.png");
  t.finder.select({clip});
  VDLFinderSync extension(t.platform);
  ASSERT_TRUE(extension.menu(0));

  t.finder.select({image});  // display list now: jpg, webp
  extension.choose(item(1002));
  EXPECT_TRUE(requestNames().empty()) << "a position past the end is no choice";
  extension.choose(item(1001));
  auto request = onlyRequest();
  EXPECT_EQ(request["action"]["format"], "webp");
  EXPECT_EQ(request["files"], nlohmann::json::array({image}));

  for (std::int64_t tag : {0, 1, 999, 3, 15}) extension.choose(item(tag));
  t.finder.selection = std::nullopt;
  extension.choose(item(2));
  EXPECT_EQ(requestNames().size(), 1u);
  EXPECT_EQ(t.workspace.openings.size(), 1u);
  EXPECT_TRUE(t.log.lines.empty()) << "no choice is silent";
}

TEST_F(ExtensionTest, PathsRoundTripExactly) {
  writeMenu(kWorkedExample);
  std::vector<std::string> paths = {file("a \"quoted\" \\ name caf\xC3\xA9.mov"),
                                    file("tab\there.mov"), file("new\nline.mov"), file("clip.mov"),
                                    file("clip.mov")};
  t.finder.select(paths);
  VDLFinderSync extension(t.platform);
  extension.choose(item(2));
  EXPECT_EQ(onlyRequest()["files"], nlohmann::json(paths)) << "order and duplicates kept";
}

TEST_F(ExtensionTest, TwoChoicesPublishTwoRequests) {
  writeMenu(kWorkedExample);
  t.finder.select({file("clip.mov")});
  VDLFinderSync extension(t.platform);
  extension.choose(item(2));
  extension.choose(item(2));
  EXPECT_EQ(requestNames().size(), 2u);
  EXPECT_EQ(t.workspace.openings.size(), 2u);
}

TEST_F(ExtensionTest, AMenuThatCanNotBeFinishedIsNoMenu) {
  writeMenu(kWorkedExample);
  t.finder.select({file("clip.mov")});
  t.font.throws = true;
  VDLFinderSync extension(t.platform);
  EXPECT_FALSE(extension.menu(0)) << "and no exception reaches the host";
}

TEST_F(ExtensionTest, WriteFailuresLogOneLineAndOpenNothing) {
  using testkit::FsOp;
  struct Case {
    const char* name;
    std::function<void(ExtensionTest&)> arrange;
    bool hiddenFileStays;
  } cases[] = {
      {"requests is a symbolic link",
       [](ExtensionTest& f) {
         std::filesystem::create_directories(f.tmp / "elsewhere");
         std::filesystem::create_symlink(f.tmp / "elsewhere", f.requests);
       },
       false},
      {"requests is a plain file", [](ExtensionTest& f) { testkit::writeFile(f.requests, "x"); },
       false},
      {"folder can't be made", [](ExtensionTest& f) { f.t.files.failNext(FsOp::makeDirectory); },
       false},
      {"hidden file can't be created", [](ExtensionTest& f) { f.t.files.failNext(FsOp::create); },
       false},
      {"write fails", [](ExtensionTest& f) { f.t.files.failNext(FsOp::write); }, false},
      {"fsync fails", [](ExtensionTest& f) { f.t.files.failNext(FsOp::fsync); }, false},
      {"close fails", [](ExtensionTest& f) { f.t.files.failNext(FsOp::close); }, false},
      {"rename fails", [](ExtensionTest& f) { f.t.files.failNext(FsOp::rename); }, true},
      {"published name taken",
       [](ExtensionTest& f) {
         testkit::writeFile(f.requests + "/0000abcd-0000-4000-8000-000000000001.json", "theirs");
       },
       true},
      {"folder flush fails", [](ExtensionTest& f) { f.t.files.failNext(FsOp::syncDirectory); },
       true},
      {"an exception, which never reaches the host",
       [](ExtensionTest& f) { f.t.clock.throws = true; }, false},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(tmp / "home");
    writeMenu(kWorkedExample);
    t.finder.select({file("clip.mov")});
    t.log.lines.clear();
    t.workspace.openings.clear();
    t.uuids.next = 1;
    t.clock.throws = false;
    c.arrange(*this);
    VDLFinderSync extension(t.platform);
    extension.choose(item(1000));
    t.files.heal();

    ASSERT_EQ(t.log.lines.size(), 1u) << c.name;
    EXPECT_EQ(t.log.lines[0].rfind(kWriteFailure, 0), 0u) << c.name << ": " << t.log.lines[0];
    EXPECT_GT(t.log.lines[0].size(), kWriteFailure.size()) << c.name << ": a description follows";
    EXPECT_TRUE(t.workspace.openings.empty()) << c.name;
    if (std::filesystem::is_directory(requests) && !std::filesystem::is_symlink(requests)) {
      const std::string hidden = requests + "/.0000abcd-0000-4000-8000-000000000001.json";
      const std::string published = requests + "/0000abcd-0000-4000-8000-000000000001.json";
      EXPECT_EQ(std::filesystem::exists(hidden), c.hiddenFileStays) << c.name;
      if (c.hiddenFileStays) {
        EXPECT_NO_THROW(nlohmann::json::parse(testkit::readFile(hidden))) << c.name << ": complete";
      }
      if (std::filesystem::exists(published)) {
        EXPECT_EQ(testkit::readFile(published), "theirs") << c.name << ": never replaced";
      }
    }
    if (std::filesystem::is_symlink(requests)) {
      EXPECT_TRUE(std::filesystem::is_empty(tmp / "elsewhere")) << c.name << ": nothing outside";
    }
    std::filesystem::remove_all(requests);
  }
}

}  // namespace
}  // namespace vdl
