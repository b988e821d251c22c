#include "dispatch/host_launch.h"

#include <gtest/gtest.h>

#include "testing/test_platform.h"

namespace vdl {
namespace {

const std::string kID = "0f8fad5b-d9cb-469f-a165-70867728950e";

TEST(HostLaunch, TwoAttemptsAndOneLogLine) {
  struct Case {
    const char* name;
    std::vector<std::optional<Error>> outcomes;
    std::size_t openings;
    std::vector<std::string> log;
  } cases[] = {
      {"first attempt succeeds", {std::nullopt}, 1, {}},
      {"first fails, second succeeds", {Error{"moved"}, std::nullopt}, 2, {}},
      {"both fail: one line with the second error",
       {Error{"moved"}, Error{"no handler"}},
       2,
       {"Vandrel: couldn't open the background worker: no handler"}},
      {"a description is never a format",
       {Error{"a"}, Error{"%s%n%x"}},
       2,
       {"Vandrel: couldn't open the background worker: %s%n%x"}},
      {"a description can't forge a second line",
       {Error{"a"}, Error{"x\nVandrel: forged\r\x1b[2K"}},
       2,
       {"Vandrel: couldn't open the background worker: x\\nVandrel: forged\\r\\x1b[2K"}},
  };
  for (const auto& c : cases) {
    testkit::TempDir tmp;
    testkit::TestPlatform t("/Apps/Vandrel.AppDir/usr/lib/finder-sync");
    for (const auto& o : c.outcomes) t.workspace.outcomes.push_back(o);
    openHostApp(kID, t.platform.bundle, t.workspace, t.log);
    EXPECT_EQ(t.workspace.openings.size(), 1u) << c.name << ": nothing more before completion";
    t.workspace.runCompletions();

    ASSERT_EQ(t.workspace.openings.size(), c.openings) << c.name;
    const auto& first = t.workspace.openings[0];
    EXPECT_EQ(first.urls, std::vector<std::string>{"vandrel://quick?id=" + kID}) << c.name;
    ASSERT_TRUE(first.application) << c.name;
    EXPECT_EQ(first.application->path(), "/Apps/Vandrel.AppDir") << c.name;
    for (const auto& o : t.workspace.openings) {
      EXPECT_FALSE(o.configuration.activates) << c.name << ": never brought to the front";
    }
    if (c.openings == 2) {
      EXPECT_FALSE(t.workspace.openings[1].application) << c.name << ": through the scheme";
      EXPECT_EQ(t.workspace.openings[1].urls, first.urls) << c.name;
    }
    EXPECT_EQ(t.log.lines, c.log) << c.name;
  }
}

TEST(HostLaunch, AnIdThatDoesNotMakeAURLOpensNothing) {
  testkit::TestPlatform t("/Apps/Vandrel.AppDir/usr/lib/finder-sync");
  openHostApp("has space", t.platform.bundle, t.workspace, t.log);
  openHostApp("caf\xC3\xA9", t.platform.bundle, t.workspace, t.log);
  EXPECT_TRUE(t.workspace.openings.empty());
  EXPECT_TRUE(t.log.lines.empty());
}

}  // namespace
}  // namespace vdl
