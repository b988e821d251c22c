// The extension object from menu request to published request, on the real
// disk with stand-ins for the host's side.
#include "extension/vdl_finder_sync.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "extension/shared_folder.h"
#include "testing/extension_world.h"
#include "testing/manifests.h"

namespace vdl {
namespace {

using testkit::FsOp;
using testkit::kWorkedExample;

nlohmann::json parsed(const std::string& text) {
  return nlohmann::json::parse(text, nullptr, false);
}

// Below the user database's home, as every test here publishes; else below
// the platform's.
TEST(SharedFolder, WithoutAUserDatabaseHomeIsBelowThePlatformHome) {
  testkit::FixedUserDatabase users;
  users.platformHome = "/home/fallback/";
  EXPECT_EQ(sharedFolderURL(users, "id").directoryAwarePath(),
            "/home/fallback/Library/Application Support/id/FinderSync/");
}

class ExtensionTest : public ::testing::Test, public testkit::ExtensionWorld {};

TEST_F(ExtensionTest, WorkedExampleFromMenuToPublishedRequest) {
  writeMenu(kWorkedExample);
  testkit::writeFile(bundle + "/MenuIcon.png", "png");
  std::string clip = file("clip.MOV");
  t.finder.select({clip});
  t.files.resetCounts();
  VDLFinderSync extension(t.platform);
  EXPECT_EQ(t.files.allCalls(), 0u) << "construction reads and makes nothing";
  EXPECT_EQ(t.finder.registered.size(), 1u);

  auto menu = extension.menu(kContextualMenuForItems);
  ASSERT_TRUE(menu && menu->items.size() == 3);
  for (const auto& item : menu->items) EXPECT_EQ(item.image->name, "MenuIcon") << item.title;
  const auto& sub = menu->items[0].submenu->items;
  ASSERT_EQ(sub.size(), 6u);
  EXPECT_EQ(sub[1].title, "GIF (needs extra codecs)");

  extension.choose(sub[0]);
  ASSERT_EQ(entries(), 1u) << "no hidden file stays behind";
  std::string text = onlyRequest();
  auto request = parsed(text);
  const std::string id = "0000abcd-0000-4000-8000-000000000001";  // lower-cased
  EXPECT_EQ(published()[0], requests + "/" + id + ".json");
  EXPECT_EQ(request, (nlohmann::json{{"id", id},
                                     {"createdAt", t.clock.now},
                                     {"action", {{"action", "convert"}, {"format", "mp4"}}},
                                     {"files", {clip}}}));
  EXPECT_EQ(text.find('\n'), std::string::npos) << "compact";
  ASSERT_EQ(t.workspace.openings.size(), 1u);
  EXPECT_EQ(t.workspace.openings[0].urls[0], "vandrel://quick?id=" + id);
  EXPECT_EQ(t.workspace.openings[0].application->path(), tmp / "Vandrel.AppDir");
  EXPECT_TRUE(t.log.lines.empty());
}

TEST_F(ExtensionTest, RequestsAreCreatedPrivately) {
  // No shared folder yet: the request creates it. The manifest is the fallback.
  writeFallback(kWorkedExample);
  t.finder.select({file("clip.mov")});
  VDLFinderSync extension(t.platform);
  // Even a process that creates files for everyone keeps requests private.
  ::umask(0);
  extension.choose(item(2));
  ::umask(022);
  ASSERT_EQ(published().size(), 1u) << t.log.lines.size();
  auto mode = [](const std::string& p) { return std::filesystem::status(p).permissions(); };
  using P = std::filesystem::perms;
  EXPECT_EQ(mode(shared), P::owner_all);
  EXPECT_EQ(mode(requests), P::owner_all);
  EXPECT_EQ(mode(published()[0]), P::owner_read | P::owner_write);
}

TEST_F(ExtensionTest, NoMenuUnlessThereIsSomethingToOffer) {
  std::string on = kWorkedExample, off = kWorkedExample;
  on.replace(on.rfind('}'), 1, R"(, "enabled": true})");
  off.replace(off.rfind('}'), 1, R"(, "enabled": false})");
  struct Case {
    const char* name;
    std::string manifest;
    std::vector<std::string> files;
    std::uint64_t kind;
    bool menu;
    bool fontThrows = false;
  } cases[] = {
      {"enabled true", on, {"clip.mov"}, 0, true},
      {"switched off", off, {"clip.mov"}, 0, false},
      {"the folder's menu", kWorkedExample, {"clip.mov"}, 1, false},
      {"empty selection", kWorkedExample, {}, 0, false},
      {"no targets and no flags", kWorkedExample, {"notes.txt"}, 0, false},
      {"no manifest at all", "not json", {"clip.mov"}, 0, false},
      {"a menu that can't be finished", kWorkedExample, {"clip.mov"}, 0, false, true},
  };
  for (const auto& c : cases) {
    writeMenu(c.manifest);
    std::vector<std::string> paths;
    for (const auto& f : c.files) paths.push_back(file(f));
    t.finder.select(paths);
    t.font.throws = c.fontThrows;
    t.files.resetCounts();
    t.finder.selectionCalls = 0;
    VDLFinderSync extension(t.platform);
    EXPECT_EQ(extension.menu(c.kind).has_value(), c.menu) << c.name;
    if (c.kind != 0) {
      EXPECT_EQ(t.files.calls(FsOp::status), 0u) << c.name << ": the manifest was read";
      EXPECT_EQ(t.finder.selectionCalls, 0) << c.name << ": the selection was asked for";
    }
  }
}

// Each choice publishes once, with its action, and the paths exactly as
// selected: their order, duplicates, quotes, control characters and accents.
TEST_F(ExtensionTest, EachTagMakesItsActionObject) {
  writeMenu(kWorkedExample);
  std::vector<std::string> paths = {file("a \"quoted\" \\ name caf\xC3\xA9.mov"),
                                    file("tab\there.mov"), file("new\nline.MOV"), file("clip.mov"),
                                    file("clip.mov")};
  t.finder.select(paths);
  struct Case {
    std::int64_t tag;
    nlohmann::json action;
  } cases[] = {
      {1001, {{"action", "convert"}, {"format", "gif"}}},
      {12, {{"action", "compress"}, {"preset", "adjust"}}},
      {2, {{"action", "open"}}},
      {13, {{"action", "crop"}}},
      {14, {{"action", "trim"}}},  // decodes though trim is not offered
  };
  VDLFinderSync extension(t.platform);
  for (const auto& c : cases) {
    std::filesystem::remove_all(requests);
    extension.choose(item(c.tag));
    auto request = parsed(onlyRequest());
    EXPECT_EQ(request["action"], c.action) << c.tag;
    EXPECT_EQ(request["files"], nlohmann::json(paths)) << c.tag;
  }
  EXPECT_EQ(t.workspace.openings.size(), 5u);
}

TEST_F(ExtensionTest, TagsReadAgainstTheSelectionOfTheMomentOfChoosing) {
  writeMenu(kWorkedExample);
  std::string image = file("image.png");
  t.finder.select({file("clip.mov")});
  VDLFinderSync extension(t.platform);
  ASSERT_TRUE(extension.menu(0));

  t.finder.select({image});  // display list now: jpg, webp
  extension.choose(item(1001));
  auto request = parsed(onlyRequest());
  EXPECT_EQ(request["action"]["format"], "webp");
  EXPECT_EQ(request["files"], nlohmann::json::array({image}));

  t.finder.selection = nullptr;
  extension.choose(item(2));
  // The disk of the moment counts too: a file that has gone, or has become a
  // folder, is no longer selected.
  std::string gone = file("gone.png"), turned = file("turned.png");
  t.finder.select({gone, turned});
  std::filesystem::remove(gone);
  std::filesystem::remove(turned);
  std::filesystem::create_directory(turned);
  extension.choose(item(2));
  EXPECT_EQ(published().size(), 1u);
  EXPECT_EQ(t.workspace.openings.size(), 1u);
  EXPECT_TRUE(t.log.lines.empty()) << "no choice is silent";
  t.finder.select({image, gone});
  extension.choose(item(2));
  EXPECT_EQ(published().size(), 2u);
  for (const auto& p : published()) {
    EXPECT_EQ(parsed(testkit::readFile(p))["files"], nlohmann::json::array({image}));
  }
}

}  // namespace
}  // namespace vdl
