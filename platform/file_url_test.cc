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

// The common paths are exercised wherever a folder is found; these are the
// edges: a trailing slash, and the root.
TEST(FileURL, PathArithmeticAtTheEdges) {
  auto bundle = FileURL::fileURLWithPath("/opt/Vandrel.AppDir/usr/lib/finder-sync/");
  EXPECT_TRUE(bundle.hasDirectoryPath());
  EXPECT_EQ(bundle.deletingLastPathComponent().path(), "/opt/Vandrel.AppDir/usr/lib");
  EXPECT_EQ(FileURL::fileURLWithPath("/a").deletingLastPathComponent().path(), "/");
  EXPECT_EQ(FileURL::fileURLWithPath("/").deletingLastPathComponent().path(), "/");
  EXPECT_EQ(FileURL::fileURLWithPath("/", true).appendingPathComponent("Volumes").path(),
            "/Volumes");
  for (const char* host : {"", "localhost", "LocalHost"}) EXPECT_TRUE(namesThisMachine(host));
  for (const char* host : {"otherhost", "localhost.example", "localhos", "127.0.0.1"}) {
    EXPECT_FALSE(namesThisMachine(host)) << host;
  }
}

}  // namespace
}  // namespace vdl
