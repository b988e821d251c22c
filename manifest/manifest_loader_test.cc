#include "manifest/manifest_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

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
  void writeMenu(int version, FileTime time, const std::string& extra = "") {
    testkit::writeFile(menuPath, manifestText(version, extra));
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

// Each step changes the shared folder or the bundle, then loads.
TEST_F(ManifestLoaderTest, EachChangeLoadsTheManifestInForce) {
  const std::string elsewhere = tmp / "elsewhere.json";
  // menu.json of `version` with `extra` members, or its date alone, set to
  // `seconds` and `nanoseconds`.
  auto menu = [this](int version, std::int64_t seconds, std::int64_t nanoseconds,
                     std::string extra = "") {
    return [=, this] { writeMenu(version, {seconds, nanoseconds}, extra); };
  };
  auto touch = [this](std::int64_t seconds, std::int64_t nanoseconds) {
    return [=, this] { testkit::setModified(menuPath, {seconds, nanoseconds}); };
  };
  struct Step {
    const char* name;
    std::function<void()> change;
    std::int64_t expected;
  } steps[] = {
      {"menu.json not JSON, a fallback beside it: none, never the fallback",
       [&] {
         writeFallback(7);
         testkit::writeFile(menuPath, "{ not json");
       },
       -1},
      {"a valid one", menu(1, 100, 5), 1},
      {"same date, new content is not reread", menu(2, 100, 5), 1},
      {"one nanosecond later is reread", touch(100, 6), 2},
      {"an earlier date is reread too", menu(3, 50, 0), 3},
      {"back to a date seen before", menu(4, 100, 6), 4},
      {"replaced by an invalid one: the last good one stays",
       menu(5, 200, 0, R"(, "enabled": "yes")"), 4},
      {"deleted, with an invalid fallback: the cache stays",
       [&] {
         std::filesystem::remove(menuPath);
         testkit::writeFile(tmp / "bundle/fallback-menu.json", "[]");
       },
       4},
      {"a valid fallback", [&] { writeFallback(8); }, 8},
      {"a link: its target's date is the key",
       [&] {
         testkit::writeFile(elsewhere, manifestText(9));
         std::filesystem::create_symlink(elsewhere, menuPath);
       },
       9},
      {"the link's target rewritten with an old date",
       [&] {
         testkit::writeFile(elsewhere, manifestText(10));
         testkit::setModified(elsewhere, {1, 0});
       },
       10},
  };
  for (const auto& s : steps) {
    s.change();
    EXPECT_EQ(load(), s.expected) << s.name;
  }
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

}  // namespace
}  // namespace vdl
