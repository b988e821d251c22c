#include "menu/selection.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "testing/test_platform.h"

namespace vdl {
namespace {

TEST(Selection, KeepsExistingNonDirectoriesInOrderWithDuplicates) {
  testkit::TempDir tmp;
  testkit::TestPlatform t(tmp / "bundle");
  testkit::writeFile(tmp / "a.png", "x");
  testkit::writeFile(tmp / "b.PNG", "x");
  std::filesystem::create_directory(tmp / "folder");
  std::filesystem::create_directory(tmp / "Package.app");
  std::filesystem::create_symlink(tmp / "a.png", tmp / "link.png");
  std::filesystem::create_symlink(tmp / "folder", tmp / "link-to-folder");
  std::filesystem::create_symlink(tmp / "gone", tmp / "dangling.png");
  std::filesystem::create_symlink(tmp / "loop", tmp / "loop");
  ASSERT_EQ(::mkfifo((tmp / "pipe.fifo").c_str(), 0600), 0);
  // Names and paths the file system refuses to look up are not there.
  std::string longPath = tmp.path();
  while (longPath.size() < 5000) longPath += "/folder";

  t.finder.select({tmp / "b.PNG", tmp / "folder", tmp / "a.png", tmp / "missing.png",
                   tmp / "link.png", tmp / "link-to-folder", tmp / "dangling.png", tmp / "loop",
                   tmp / "Package.app", tmp / "a.png", tmp / "pipe.fifo",
                   tmp / (std::string(256, 'n') + ".mov"), longPath + "/clip.mov"});
  std::vector<std::string> kept;
  for (const auto& url : selectedFiles(t.finder, t.files)) kept.push_back(url.path());
  EXPECT_EQ(kept, (std::vector<std::string>{tmp / "b.PNG", tmp / "a.png", tmp / "link.png",
                                            tmp / "a.png", tmp / "pipe.fifo"}));
}

// What the file manager knows travels with the item and is believed; the
// rest is asked of the disk. One item the extension can't name empties it all.
TEST(Selection, TakesKnownTypesAndNamesOnlyLocalFiles) {
  testkit::TempDir tmp;
  testkit::TestPlatform t(tmp / "bundle");
  testkit::writeFile(tmp / "good.mov", "x");
  testkit::writeFile(tmp / "bad\xFF.mov", "x");
  std::filesystem::create_symlink(tmp / "good.mov", tmp / "link.mov");
  auto local = [&](const std::string& name, std::optional<FileType> type = std::nullopt) {
    return SelectedItem{FileURL::fileURLWithPath(tmp / name), type};
  };
  const SelectedItem remote{std::nullopt, FileType::regular};
  struct Row {
    const char* name;
    std::optional<std::vector<SelectedItem>> items;
    std::vector<std::string> kept;
  } rows[] = {
      {"no selection", std::nullopt, {}},
      {"an empty one", std::vector<SelectedItem>{}, {}},
      {"a known file is not looked up", {{local("unseen.mov", FileType::regular)}}, {"unseen.mov"}},
      {"a known folder is dropped",
       {{local("good.mov", FileType::directory), local("link.mov")}},
       {"link.mov"}},
      {"a link reported as such is followed on the disk",
       {{local("link.mov", FileType::symlink), local("gone.mov", FileType::symlink)}},
       {"link.mov"}},
      {"an item that is no file of this machine", {{local("good.mov"), remote}}, {}},
      {"a name that isn't UTF-8", {{local("good.mov"), local("bad\xFF.mov")}}, {}},
      {"a name that isn't UTF-8 and isn't there",
       {{local("good.mov"), local("bad\xFF-gone.mov")}},
       {"good.mov"}},
  };
  for (const auto& row : rows) {
    t.finder.selection =
        row.items ? std::make_shared<const std::vector<SelectedItem>>(*row.items) : nullptr;
    std::vector<std::string> kept;
    for (const auto& url : selectedFiles(t.finder, t.files)) {
      kept.push_back(url.lastPathComponent());
    }
    EXPECT_EQ(kept, row.kept) << row.name;
  }
}

}  // namespace
}  // namespace vdl
