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
  for (auto path : selectedFiles(t.finder, t.files, KnownTypes::taken)) kept.emplace_back(path);
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
  // An item named nullptr is no file of this machine.
  struct In {
    const char* name;
    std::optional<FileType> type;
  };
  const In remote{nullptr, FileType::regular};
  struct Row {
    const char* name;
    std::optional<std::vector<In>> items;
    std::vector<std::string> kept;
    KnownTypes known = KnownTypes::taken;
  } rows[] = {
      {"no selection", std::nullopt, {}},
      {"an empty one", std::vector<In>{}, {}},
      {"a known file is not looked up", {{{"unseen.mov", FileType::regular}}}, {"unseen.mov"}},
      {"at a click the disk answers for a known file",
       {{{"unseen.mov", FileType::regular}, {"good.mov", FileType::directory}}},
       {"good.mov"},
       KnownTypes::ignored},
      {"a known folder is dropped",
       {{{"good.mov", FileType::directory}, {"link.mov", {}}}},
       {"link.mov"}},
      {"a link reported as such is followed on the disk",
       {{{"link.mov", FileType::symlink}, {"gone.mov", FileType::symlink}}},
       {"link.mov"}},
      {"an item that is no file of this machine", {{{"good.mov", {}}, remote}}, {}},
      {"a name that isn't UTF-8", {{{"good.mov", {}}, {"bad\xFF.mov", {}}}}, {}},
      {"a name that isn't UTF-8 and isn't there",
       {{{"good.mov", {}}, {"bad\xFF-gone.mov", {}}}},
       {"good.mov"}},
  };
  for (const auto& row : rows) {
    std::shared_ptr<SelectedItemList> items;
    if (row.items) {
      items = std::make_shared<SelectedItemList>();
      for (const auto& in : *row.items) {
        if (in.name) {
          items->addFile(tmp / in.name, in.type);
        } else {
          items->addOther();
        }
      }
    }
    t.finder.selection = items;
    std::vector<std::string> kept;
    for (auto path : selectedFiles(t.finder, t.files, row.known)) {
      kept.push_back(std::filesystem::path(path).filename());
    }
    EXPECT_EQ(kept, row.kept) << row.name;
  }
}

}  // namespace
}  // namespace vdl
