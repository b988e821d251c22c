// Every fallible file-system step of a menu action, made to fail in turn:
// whatever fails, nothing half-written appears under a published name, the
// log says what the extension promises and no more, the host is woken only
// for a published request, and the manifest cache keeps what it had.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include <nlohmann/json.hpp>

#include "extension/shared_folder.h"
#include "extension/vdl_finder_sync.h"
#include "testing/test_platform.h"

namespace vdl {
namespace {

using testkit::FsOp;

// A manifest whose one target for "mov" and whose title tell it apart.
std::string manifestText(const std::string& label, const std::string& format) {
  return R"({"version": 1, "labels": {"convertTo": ")" + label +
         R"(", "compress": "Z", "open": "O", "balanced": "B", "smallest": "S", "needs": "N"},
             "popular": {}, "targets": {"mov": [[")" +
         format + R"("]]}, "compress": []})";
}

enum class Setup {
  cached,    // menu.json was read; it is unchanged
  changed,   // menu.json was read; a newer one has replaced it since
  fallback,  // there is no menu.json, and nothing was read yet
};

struct Case {
  const char* name;
  Setup setup;
  FsOp op;
  // What the failed menu action leaves.
  const char* publishedFormat;  // nullptr: nothing published
  bool logsWriteFailure;
  // The title of the menu that follows, once the fault has passed.
  const char* titleAfter;
};

const Case kCases[] = {
    // The steps of publishing: one log line, no file, no opening.
    {"requests folder can't be made", Setup::cached, FsOp::makeDirectory, nullptr, true, "Old"},
    {"requests folder can't be opened", Setup::cached, FsOp::openDirectory, nullptr, true, "Old"},
    {"hidden file can't be created", Setup::cached, FsOp::create, nullptr, true, "Old"},
    {"write fails", Setup::cached, FsOp::write, nullptr, true, "Old"},
    {"fsync fails", Setup::cached, FsOp::fsync, nullptr, true, "Old"},
    {"close fails", Setup::cached, FsOp::close, nullptr, true, "Old"},
    {"rename fails", Setup::cached, FsOp::rename, nullptr, true, "Old"},
    {"folder flush fails", Setup::cached, FsOp::syncDirectory, nullptr, true, "Old"},
    // The steps of loading: the cached manifest serves, silently, and the new
    // one is tried again next time.
    {"new menu.json can't be opened", Setup::changed, FsOp::open, "mp4", false, "New"},
    {"new menu.json can't be read", Setup::changed, FsOp::read, "mp4", false, "New"},
    // A menu.json without a readable date counts as missing: the fallback serves.
    {"menu.json can't be examined", Setup::changed, FsOp::status, "gif", false, "New"},
    // Nothing cached and nothing readable: no offer, so nothing to publish.
    {"fallback can't be opened", Setup::fallback, FsOp::open, nullptr, false, "Fallback"},
    {"fallback can't be read", Setup::fallback, FsOp::read, nullptr, false, "Fallback"},
};

// A fresh home, bundle and selection for one case.
struct Scenario {
  Scenario() : t(tmp / "Vandrel.AppDir/usr/lib/finder-sync") {
    t.users.home = tmp / "home";
    shared = tmp / "home/Library/Application Support/" + std::string(hostBundleIdentifier()) +
             "/FinderSync";
    testkit::writeFile(tmp / "Vandrel.AppDir/usr/lib/finder-sync/fallback-menu.json",
                       manifestText("Fallback", "gif"));
    testkit::writeFile(tmp / "files/clip.mov", "content");
    t.finder.select({tmp / "files/clip.mov"});
  }

  std::string firstTitle(VDLFinderSync& extension) {
    auto menu = extension.menu(0);
    return menu && !menu->items.empty() ? menu->items[0].title : "(no menu)";
  }

  std::vector<std::string> published() { return testkit::visibleEntries(shared + "/requests"); }

  testkit::TempDir tmp;
  testkit::TestPlatform t;
  std::string shared;
};

void runCase(const Case& c) {
  Scenario s;
  auto& t = s.t;
  const std::string menuPath = s.shared + "/menu.json";
  VDLFinderSync extension(t.platform);
  if (c.setup != Setup::fallback) {
    testkit::writeFile(menuPath, manifestText("Old", "mp4"));
    testkit::setModified(menuPath, {100, 0});
    ASSERT_EQ(s.firstTitle(extension), "Old");
  }
  if (c.setup == Setup::changed) {
    testkit::writeFile(menuPath, manifestText("New", "webm"));
    testkit::setModified(menuPath, {101, 0});
  }

  t.files.failNext(c.op);
  MenuItem item;
  item.tag = 1000;  // the first format of the offer
  extension.choose(item);
  t.workspace.runCompletions();
  t.files.heal();

  auto files = s.published();
  if (c.publishedFormat) {
    ASSERT_EQ(files.size(), 1u);
    auto request = nlohmann::json::parse(testkit::readFile(files[0]));
    EXPECT_EQ(request["action"]["format"], c.publishedFormat);
    EXPECT_EQ(t.workspace.openings.size(), 1u);
  } else {
    EXPECT_TRUE(files.empty()) << "nothing under a published name";
    EXPECT_TRUE(t.workspace.openings.empty()) << "the host is woken only for a request";
  }
  if (c.logsWriteFailure) {
    ASSERT_EQ(t.log.lines.size(), 1u);
    EXPECT_EQ(t.log.lines[0].rfind("Vandrel: couldn't write the request: ", 0), 0u)
        << t.log.lines[0];
  } else {
    EXPECT_TRUE(t.log.lines.empty()) << t.log.lines[0];
  }

  // The cache holds what it held: a hit reads nothing, and a manifest that
  // could not be read is read as soon as it can be.
  t.files.resetCounts();
  EXPECT_EQ(s.firstTitle(extension), c.titleAfter);
  if (c.setup == Setup::cached) {
    EXPECT_EQ(t.files.calls(FsOp::read), 0u);
  }
}

TEST(FaultInjection, NothingIsLostHalfWrittenOrClaimed) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    runCase(c);
  }
}

}  // namespace
}  // namespace vdl
