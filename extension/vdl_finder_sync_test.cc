#include "extension/vdl_finder_sync.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "extension/shared_folder.h"
#include "testing/test_platform.h"

namespace vdl {
namespace {

using testing::FsOp;

TEST(SharedFolder, ComesFromTheUserDatabaseHome) {
  testing::FixedUserDatabase users;
  users.home = "/Users/example";
  users.platformHome = "/sandbox/container";
  EXPECT_EQ(sharedFolderURL(users, "com.vandrel.Vandrel").directoryAwarePath(),
            "/Users/example/Library/Application Support/com.vandrel.Vandrel/FinderSync/");
}

TEST(SharedFolder, FallsBackToThePlatformHome) {
  testing::FixedUserDatabase users;
  users.home = std::nullopt;
  users.platformHome = "/home/fallback/";
  EXPECT_EQ(sharedFolderURL(users, "id").directoryAwarePath(),
            "/home/fallback/Library/Application Support/id/FinderSync/");
}

TEST(SharedFolder, BundleIdentifierIsTheBuildConstant) {
  EXPECT_FALSE(hostBundleIdentifier().empty());
}

TEST(VDLFinderSync, ConstructionRegistersTwoDirectoriesAndTouchesNoFile) {
  testing::TempDir tmp;
  testing::TestPlatform t(tmp / "bundle");
  t.users.home = tmp / "home";
  VDLFinderSync extension(t.platform);

  ASSERT_EQ(t.finder.registered.size(), 1u);
  std::set<FileURL> expected{FileURL::fileURLWithPath("/", true),
                             FileURL::fileURLWithPath("/Volumes", true)};
  EXPECT_EQ(t.finder.registered[0], expected);
  for (std::size_t op = 0; op < static_cast<std::size_t>(FsOp::count); ++op) {
    EXPECT_EQ(t.files.calls(static_cast<FsOp>(op)), 0u) << testing::fsOpName(static_cast<FsOp>(op));
  }
  EXPECT_FALSE(std::filesystem::exists(tmp / "home"));
  EXPECT_EQ(extension.sharedFolder().path(), tmp / "home/Library/Application Support/" +
                                                 std::string(hostBundleIdentifier()) +
                                                 "/FinderSync");
}

}  // namespace
}  // namespace vdl
