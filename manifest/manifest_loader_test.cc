#include "manifest/manifest_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "testing/manifests.h"
#include "testing/test_platform.h"

namespace vdl {
namespace {

using testkit::FsOp;

// A later member wins: the small manifest with its version replaced.
std::string manifestText(int version, const std::string& extra = "") {
  return testkit::smallManifest("C", "mp4", R"(, "version": )" + std::to_string(version) + extra);
}

class ManifestLoaderTest : public ::testing::Test {
 protected:
  ManifestLoaderTest() : t(tmp / "bundle") {
    std::filesystem::create_directories(tmp / "shared");
    std::filesystem::create_directories(tmp / "bundle");
  }

  // The version of the manifest in force, or -1 for none.
  std::int64_t load() {
    manifest = cache.load(t.files, t.platform.bundle);
    return manifest ? manifest->manifest.version : -1;
  }
  void writeMenu(int version, FileTime time) {
    testkit::writeFile(menuPath, manifestText(version));
    testkit::setModified(menuPath, time);
  }
  void writeFallback(int version) {
    testkit::writeFile(tmp / "bundle/fallback-menu.json", manifestText(version));
  }

  testkit::TempDir tmp;
  testkit::TestPlatform t;
  FileURL folder = FileURL::fileURLWithPath(tmp / "shared", true);
  std::string menuPath = tmp / "shared/menu.json";
  ManifestCache cache{folder};
  ManifestSnapshot manifest;
};

TEST_F(ManifestLoaderTest, CacheHitCostsOneStatusAndNoCopy) {
  auto expectHit = [&](std::int64_t version) {
    auto first = manifest;
    t.files.resetCounts();
    EXPECT_EQ(load(), version);
    EXPECT_EQ(t.files.calls(FsOp::status), 1u) << version;
    EXPECT_EQ(t.files.calls(FsOp::open) + t.files.calls(FsOp::read), 0u) << version;
    EXPECT_EQ(manifest.get(), first.get()) << version << ": a hit hands out the same snapshot";
  };
  writeFallback(7);
  EXPECT_EQ(load(), 7);
  expectHit(7);  // while menu.json is missing, the fallback is read once
  writeMenu(1, {100, 5});
  EXPECT_EQ(load(), 1);
  expectHit(1);
}

TEST_F(ManifestLoaderTest, ModificationDateDecidesAtNanosecondResolution) {
  struct Step {
    const char* name;
    int writeVersion;  // 0: leave the content
    FileTime time;
    std::int64_t expected;
  } steps[] = {
      {"first load", 1, {100, 5}, 1},
      {"same date, new content is not reread", 2, {100, 5}, 1},
      {"one nanosecond later is reread", 0, {100, 6}, 2},
      {"an earlier date is reread too", 3, {50, 0}, 3},
      {"back to a date seen before", 4, {100, 6}, 4},
  };
  for (const auto& s : steps) {
    if (s.writeVersion != 0) testkit::writeFile(menuPath, manifestText(s.writeVersion));
    testkit::setModified(menuPath, s.time);
    EXPECT_EQ(load(), s.expected) << s.name;
  }
}

TEST_F(ManifestLoaderTest, InvalidMenuJsonNeverBringsInTheFallback) {
  writeFallback(7);
  testkit::writeFile(menuPath, "{ not json");
  EXPECT_EQ(load(), -1);
  t.files.resetCounts();
  EXPECT_EQ(load(), -1);
  EXPECT_EQ(t.files.calls(FsOp::read), 1u) << "a file that fails to decode is read every time";
}

TEST_F(ManifestLoaderTest, ReplacedByInvalidKeepsTheLastGoodManifestAndItsDate) {
  writeMenu(1, {100, 0});
  EXPECT_EQ(load(), 1);
  testkit::writeFile(menuPath, manifestText(2, R"(, "enabled": "yes")"));
  testkit::setModified(menuPath, {200, 0});
  EXPECT_EQ(load(), 1);
  EXPECT_EQ(load(), 1);
}

TEST_F(ManifestLoaderTest, DeletedMenuJsonFallsBackOrKeepsWhatItHad) {
  writeMenu(1, {100, 0});
  EXPECT_EQ(load(), 1);
  std::filesystem::remove(menuPath);
  EXPECT_EQ(load(), 1) << "no fallback resource: the cache stays";
  testkit::writeFile(tmp / "bundle/fallback-menu.json", "[]");
  EXPECT_EQ(load(), 1) << "an invalid fallback: the cache stays";
  writeFallback(7);
  EXPECT_EQ(load(), 7);
  EXPECT_TRUE(cache.isFallback());
  writeMenu(2, {300, 0});
  EXPECT_EQ(load(), 2) << "menu.json created again";
}

TEST_F(ManifestLoaderTest, MenuJsonThatIsNotARegularFileIsUnreadable) {
  struct Case {
    const char* name;
    void (*make)(const std::string& path);
  } cases[] = {
      {"directory", [](const std::string& p) { std::filesystem::create_directory(p); }},
      {"FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
      {"link to /dev/zero",
       [](const std::string& p) { std::filesystem::create_symlink("/dev/zero", p); }},
      {"a symbolic-link loop, which has no date",
       [](const std::string& p) { std::filesystem::create_symlink(p, p); }},
      {"a dangling symbolic link",
       [](const std::string& p) { std::filesystem::create_symlink(p + ".gone", p); }},
      {"larger than the bound",
       [](const std::string& p) {
         testkit::writeFile(p, "");
         std::filesystem::resize_file(p, kMaxManifestBytes + 1);
       }},
  };
  writeFallback(7);
  for (const auto& c : cases) {
    cache = ManifestCache(folder);
    EXPECT_EQ(load(), 7) << c.name << ": setup";
    c.make(menuPath);
    EXPECT_EQ(load(), 7) << c.name << ": the cache must stay";
    EXPECT_TRUE(cache.isFallback()) << c.name;
    std::filesystem::remove_all(menuPath);
  }
}

TEST_F(ManifestLoaderTest, SymbolicLinkToAManifestIsFollowed) {
  testkit::writeFile(tmp / "elsewhere.json", manifestText(9));
  std::filesystem::create_symlink(tmp / "elsewhere.json", menuPath);
  EXPECT_EQ(load(), 9);
  testkit::writeFile(tmp / "elsewhere.json", manifestText(10));
  testkit::setModified(tmp / "elsewhere.json", {1, 0});
  EXPECT_EQ(load(), 10) << "the target's date is the cache key";
}

}  // namespace
}  // namespace vdl
