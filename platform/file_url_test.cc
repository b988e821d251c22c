#include "platform/file_url.h"

#include <gtest/gtest.h>

namespace vdl {
namespace {

TEST(FileURL, PathExtensionFollowsThePlatformRule) {
  struct Case {
    const char* path;
    const char* extension;
  } cases[] = {
      {"/a/clip.MOV", "MOV"},
      {"/a/archive.tar.gz", "gz"},
      {"/a/.bashrc", ""},  // a leading dot starts a hidden name, not an extension
      {"/a/.hidden.png", "png"},
      {"/a/name.", ""},  // ends in a dot: empty extension
      {"/a/README", ""},
      {"/a.d/README", ""},  // dots in folders don't count
      {"/a/..", ""},
      {"/a/dir.x/", "x"},
      {"/a/caf\xC3\xA9.J\xC3\x89G", "J\xC3\x89G"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileURL::fileURLWithPath(c.path).pathExtension(), c.extension) << c.path;
  }
}

TEST(FileURL, PathArithmetic) {
  auto home = FileURL::fileURLWithPath("/Users/example", true);
  auto folder = home.appendingPathComponent("Library/Application Support/x/FinderSync", true);
  EXPECT_EQ(folder.path(), "/Users/example/Library/Application Support/x/FinderSync");
  EXPECT_EQ(folder.directoryAwarePath(),
            "/Users/example/Library/Application Support/x/FinderSync/");

  auto bundle = FileURL::fileURLWithPath("/opt/Vandrel.AppDir/usr/lib/finder-sync/");
  EXPECT_TRUE(bundle.hasDirectoryPath());
  auto app =
      bundle.deletingLastPathComponent().deletingLastPathComponent().deletingLastPathComponent();
  EXPECT_EQ(app.path(), "/opt/Vandrel.AppDir");
  EXPECT_EQ(FileURL::fileURLWithPath("/a").deletingLastPathComponent().path(), "/");
  EXPECT_EQ(FileURL::fileURLWithPath("/").deletingLastPathComponent().path(), "/");
  EXPECT_EQ(FileURL::fileURLWithPath("/", true).appendingPathComponent("Volumes").path(),
            "/Volumes");
}

}  // namespace
}  // namespace vdl
