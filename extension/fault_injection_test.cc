// Every way a menu action can fail on the disk, in one table: each fallible
// file-system step made to fail in turn, and what a real disk can hold in the
// way. Whatever fails, nothing half-written appears under a published name,
// nothing is written outside the requests folder or over another file, the
// log says one line and no more, the host is woken only for a published
// request, and the manifest cache keeps what it had.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <nlohmann/json.hpp>

#include "extension/vdl_finder_sync.h"
#include "testing/extension_world.h"
#include "testing/manifests.h"

namespace vdl {
namespace {

using testkit::FsOp;
using testkit::smallManifest;
using World = testkit::ExtensionWorld;

// The names of the first request of a fresh world.
const std::string kID = "0000abcd-0000-4000-8000-000000000001";

enum class Setup {
  cached,    // menu.json was read; it is unchanged
  changed,   // menu.json was read; a newer one has replaced it since
  fallback,  // there is no menu.json, and nothing was read yet
};

struct Case {
  const char* name;
  Setup setup;
  std::function<void(World&)> arrange;
  // What the failed menu action leaves.
  const char* publishedFormat;  // nullptr: nothing published
  bool logsWriteFailure;
  bool hiddenStays;  // a hidden file is left in the requests folder
  // The title of the menu that follows, once the fault has passed.
  const char* titleAfter;
  std::function<void(World&)> afterwards = nullptr;
};

std::function<void(World&)> failing(FsOp op) {
  return [op](World& w) { w.t.files.failNext(op); };
}

const Case kCases[] = {
    // The steps of publishing: one log line, no file, no opening.
    {"requests folder can't be made", Setup::cached, failing(FsOp::makeDirectory), nullptr, true,
     false, "Old"},
    {"requests folder can't be opened", Setup::cached, failing(FsOp::openDirectory), nullptr, true,
     false, "Old"},
    {"hidden file can't be created", Setup::cached, failing(FsOp::create), nullptr, true, false,
     "Old"},
    {"write fails", Setup::cached, failing(FsOp::write), nullptr, true, false, "Old"},
    {"fsync fails", Setup::cached, failing(FsOp::fsync), nullptr, true, false, "Old"},
    {"close fails", Setup::cached, failing(FsOp::close), nullptr, true, false, "Old"},
    // A complete file stays under its hidden name, and nothing is claimed.
    {"rename fails", Setup::cached, failing(FsOp::rename), nullptr, true, true, "Old"},
    {"folder flush fails", Setup::cached, failing(FsOp::syncDirectory), nullptr, true, true, "Old"},
    {"an exception, which never reaches the host", Setup::cached,
     [](World& w) { w.t.clock.throws = true; }, nullptr, true, false, "Old"},
    // What the disk holds in the way.
    {"requests is a symbolic link to a folder outside", Setup::cached,
     [](World& w) {
       std::filesystem::create_directories(w.tmp / "outside");
       std::filesystem::create_directories(w.shared);
       std::filesystem::create_directory_symlink(w.tmp / "outside", w.requests);
     },
     nullptr, true, false, "Old",
     [](World& w) { EXPECT_TRUE(std::filesystem::is_empty(w.tmp / "outside")); }},
    {"requests is a plain file", Setup::cached,
     [](World& w) { testkit::writeFile(w.requests, "x"); }, nullptr, true, false, "Old"},
    {"the hidden name is a link to a file outside", Setup::cached,
     [](World& w) {
       testkit::writeFile(w.tmp / "theirs.json", "theirs");
       std::filesystem::create_directories(w.requests);
       std::filesystem::create_symlink(w.tmp / "theirs.json", w.requests + "/." + kID + ".json");
     },
     nullptr, true, true, "Old",
     [](World& w) { EXPECT_EQ(testkit::readFile(w.tmp / "theirs.json"), "theirs"); }},
    {"the hidden name is another file", Setup::cached,
     [](World& w) { testkit::writeFile(w.requests + "/." + kID + ".json", "theirs"); }, nullptr,
     true, true, "Old",
     [](World& w) { EXPECT_EQ(testkit::readFile(w.requests + "/." + kID + ".json"), "theirs"); }},
    {"the published name is taken", Setup::cached,
     [](World& w) { testkit::writeFile(w.requests + "/" + kID + ".json", "theirs"); }, nullptr,
     true, true, "Old",
     [](World& w) { EXPECT_EQ(testkit::readFile(w.requests + "/" + kID + ".json"), "theirs"); }},
    // The steps of loading: the cached manifest serves, silently, and the new
    // one is tried again next time.
    {"new menu.json can't be opened", Setup::changed, failing(FsOp::open), "mp4", false, false,
     "New"},
    {"new menu.json can't be read", Setup::changed, failing(FsOp::read), "mp4", false, false,
     "New"},
    // A menu.json without a readable date counts as missing: the fallback serves.
    {"menu.json can't be examined", Setup::changed, failing(FsOp::status), "gif", false, false,
     "New"},
    // Nothing cached and nothing readable: no offer, so nothing to publish.
    {"fallback can't be opened", Setup::fallback, failing(FsOp::open), nullptr, false, false,
     "Fallback"},
    {"fallback can't be read", Setup::fallback, failing(FsOp::read), nullptr, false, false,
     "Fallback"},
};

std::string firstTitle(VDLFinderSync& extension) {
  auto menu = extension.menu(0);
  return menu && !menu->items.empty() ? menu->items[0].title : "(no menu)";
}

void runCase(const Case& c) {
  World w;
  auto& t = w.t;
  w.writeFallback(smallManifest("Fallback", "gif"));
  t.finder.select({w.file("clip.mov")});
  VDLFinderSync extension(t.platform);
  if (c.setup != Setup::fallback) {
    w.writeMenu(smallManifest("Old", "mp4"));
    testkit::setModified(w.menuPath, {100, 0});
    ASSERT_EQ(firstTitle(extension), "Old");
  }
  if (c.setup == Setup::changed) {
    w.writeMenu(smallManifest("New", "webm"));
    testkit::setModified(w.menuPath, {101, 0});
  }

  c.arrange(w);
  extension.choose(World::item(1000));  // the first format of the offer
  t.workspace.runCompletions();
  t.files.heal();
  t.clock.throws = false;

  auto published = w.published();
  if (c.publishedFormat) {
    ASSERT_EQ(published.size(), 1u);
    auto request = nlohmann::json::parse(testkit::readFile(published[0]));
    EXPECT_EQ(request["action"]["format"], c.publishedFormat);
    EXPECT_EQ(t.workspace.openings.size(), 1u);
  } else {
    EXPECT_TRUE(t.workspace.openings.empty()) << "the host is woken only for a request";
  }
  if (std::filesystem::is_directory(w.requests) && !std::filesystem::is_symlink(w.requests)) {
    EXPECT_EQ(w.entries() - published.size(), c.hiddenStays ? 1u : 0u) << "hidden files";
    const std::string hidden = w.requests + "/." + kID + ".json";
    if (c.hiddenStays && !c.afterwards) {
      EXPECT_FALSE(nlohmann::json::parse(testkit::readFile(hidden), nullptr, false).is_discarded())
          << "what stays hidden is complete";
    }
  }
  if (c.logsWriteFailure) {
    ASSERT_EQ(t.log.lines.size(), 1u);
    const std::string prefix = "Vandrel: couldn't write the request: ";
    EXPECT_EQ(t.log.lines[0].rfind(prefix, 0), 0u) << t.log.lines[0];
    EXPECT_GT(t.log.lines[0].size(), prefix.size()) << "a description follows";
  } else {
    EXPECT_TRUE(t.log.lines.empty()) << t.log.lines[0];
  }
  if (c.afterwards) c.afterwards(w);

  // The cache holds what it held: a hit reads nothing, and a manifest that
  // could not be read is read as soon as it can be.
  t.files.resetCounts();
  EXPECT_EQ(firstTitle(extension), c.titleAfter);
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
