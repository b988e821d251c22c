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

TEST(Selection, NoSelectionAndUnnameableFilesAreEmpty) {
  testkit::TempDir tmp;
  testkit::TestPlatform t(tmp / "bundle");
  t.finder.selection = std::nullopt;
  EXPECT_TRUE(selectedFiles(t.finder, t.files).empty());
  t.finder.selection = std::vector<FileURL>{};
  EXPECT_TRUE(selectedFiles(t.finder, t.files).empty());
  // One file whose name is not UTF-8 among good ones: no request could name
  // it, so the whole selection offers nothing rather than a choice that fails.
  testkit::writeFile(tmp / "good.mov", "x");
  testkit::writeFile(tmp / "bad\xFF.mov", "x");
  t.finder.select({tmp / "good.mov", tmp / "bad\xFF.mov"});
  EXPECT_TRUE(selectedFiles(t.finder, t.files).empty());
  t.finder.select({tmp / "good.mov", tmp / "bad\xFF-missing.mov"});
  EXPECT_EQ(selectedFiles(t.finder, t.files).size(), 1u) << "a file that isn't there doesn't count";
}

}  // namespace
}  // namespace vdl
