// Menus asked of a running vandrel-finder session while the host application
// rewrites menu.json under it, both by atomic replacement and in place. Every
// menu must come whole from one manifest, old or new, or be none.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include <nlohmann/json.hpp>

#include "extension/shared_folder.h"
#include "testing/manifests.h"
#include "testing/process.h"
#include "testing/temp_dir.h"

namespace vdl {
namespace {

// The convert label and the one format go together: a menu that mixes them
// was built from parts of two manifests. Padded, so that a reader can meet
// the file half-written.
std::string manifest(const std::string& label, const std::string& format) {
  return testkit::smallManifest(label, format,
                                R"(, "padding": ")" + std::string(20000, 'x') + "\"");
}

void writeInPlace(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  // Two writes, so that a reader can meet the file half-written.
  out.write(text.data(), static_cast<std::streamsize>(text.size() / 2)).flush();
  out.write(text.data() + text.size() / 2,
            static_cast<std::streamsize>(text.size() - text.size() / 2));
}

void writeAtomically(const std::string& path, const std::string& text) {
  testkit::writeFile(path + ".tmp", text);
  std::filesystem::rename(path + ".tmp", path);
}

TEST(ManifestRewrite, EveryMenuComesWholeFromOneManifest) {
  testkit::TempDir tmp;
  const std::string shared = tmp / "home/Library/Application Support/" +
                             std::string(hostBundleIdentifier()) + "/FinderSync";
  const std::string menuPath = shared + "/menu.json";
  const std::string clip = tmp / "clip.mov";
  testkit::writeFile(clip, "video");
  testkit::writeFile(menuPath, manifest("Old", "mp4"));

  testkit::ChildProcess session(
      {VDL_FINDER, "--home", tmp / "home", "--bundle", VDL_BUNDLE, "session"},
      testkit::ChildProcess::Streams::lines, {{"VANDREL_SHARED_FOLDER", std::nullopt}});
  ASSERT_EQ(session.ask(nlohmann::json{{"select", {clip}}}.dump()), R"({"ok":true})");

  // Stops and joins the writer on every way out of the test, a failed
  // ASSERT included: a thread still running at its destruction would end
  // the whole test program.
  struct Rewriter {
    std::atomic<bool> stop{false};
    std::thread thread;
    ~Rewriter() { join(); }
    void join() {
      stop = true;
      if (thread.joinable()) thread.join();
    }
  } rewriter;
  rewriter.thread = std::thread([&] {
    for (unsigned i = 0; !rewriter.stop; ++i) {
      auto text = i % 2 ? manifest("Old", "mp4") : manifest("New", "webm");
      if (i % 4 < 2) {
        writeAtomically(menuPath, text);
      } else {
        writeInPlace(menuPath, text);
      }
    }
  });

  std::map<std::string, int> seen;
  for (int i = 0; i < 20000 && (i < 1000 || seen.size() < 2); ++i) {
    auto reply = nlohmann::json::parse(session.ask(R"({"menu": 0})"), nullptr, false);
    ASSERT_FALSE(reply.is_discarded()) << "the session died or garbled its reply";
    const auto& menu = reply["menu"];
    if (menu.is_null()) {
      ++seen["none"];
      continue;
    }
    const auto& convert = menu["items"][0];
    const std::string format = convert["submenu"]["items"][0]["title"];
    const std::string label = convert["title"];
    ASSERT_TRUE((label == "Old" && format == "MP4") || (label == "New" && format == "WEBM"))
        << label << " with " << format;
    ++seen[label];
  }
  rewriter.join();
  EXPECT_GE(seen["Old"], 1);
  EXPECT_GE(seen["New"], 1) << "the rewrites were never seen";

  // Once the writing stops, the last manifest is the one in force.
  testkit::writeFile(menuPath, manifest("Final", "mkv"));
  testkit::setModified(menuPath, {2000000000, 1});
  auto reply = nlohmann::json::parse(session.ask(R"({"menu": 0})"));
  EXPECT_EQ(reply["menu"]["items"][0]["title"], "Final");
  EXPECT_EQ(session.wait(), 0);
}

}  // namespace
}  // namespace vdl
