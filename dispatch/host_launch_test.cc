// The quick URL, and the two attempts at waking the host application where the real
// workspace can't show them: what happens before a completion arrives, and an
// id that makes no URL. The attempts' outcomes and the log line are tested on
// the real workspace (platform/linux/gio_workspace_test.cc).
#include "dispatch/host_launch.h"

#include <gtest/gtest.h>

#include "dispatch/quick_url.h"
#include "testing/test_platform.h"

namespace vdl {
namespace {

TEST(QuickURL, CarriesARequestIDAndNothingElse) {
  const std::string id = "0f8fad5b-d9cb-469f-a165-70867728950e";
  EXPECT_EQ(quickURL(id), "vandrel://quick?id=" + id);
  EXPECT_EQ(requestIDFromQuickURL(quickURL(id)), id);
  for (std::string url : {"vandrel://quick?id=" + std::string(36, 'A'),
                          "vandrel://quick?id=" + id + "&x=1", "vandrel://quick?id=../" + id,
                          "vandrel://other?id=" + id, std::string("vandrel://quick?id="), id}) {
    EXPECT_FALSE(requestIDFromQuickURL(url)) << url;
  }
  EXPECT_EQ(hostApplicationURL(FileURL::fileURLWithPath("/A/V.app/Contents/PlugIns/F.appex", true))
                .path(),
            "/A/V.app");
}

TEST(HostLaunch, TheSecondAttemptWaitsForTheFirstsOutcome) {
  testkit::TestPlatform t("/Apps/Vandrel.AppDir/usr/lib/finder-sync");
  t.workspace.outcomes = {Error{"moved"}, Error{"no handler"}};
  openHostApp("0f8fad5b-d9cb-469f-a165-70867728950e", t.platform.bundle, t.workspace, t.log);
  ASSERT_EQ(t.workspace.openings.size(), 1u) << "nothing more before the completion";
  EXPECT_EQ(t.workspace.openings[0].application->path(), "/Apps/Vandrel.AppDir");
  t.workspace.runCompletions();
  ASSERT_EQ(t.workspace.openings.size(), 2u);
  EXPECT_FALSE(t.workspace.openings[1].application) << "through the scheme";
  for (const auto& o : t.workspace.openings) EXPECT_FALSE(o.configuration.activates);
  EXPECT_EQ(t.log.lines,
            std::vector<std::string>{"Vandrel: couldn't open the background worker: no handler"});
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
