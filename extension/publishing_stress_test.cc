// Publishing under pressure, with real processes on the real disk: several
// publishers at once into one requests folder, and publishers killed at any
// moment. A published name must only ever hold a whole request.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>

#include <nlohmann/json.hpp>

#include "extension/shared_folder.h"
#include "testing/manifests.h"
#include "testing/process.h"
#include "testing/temp_dir.h"

namespace vdl {
namespace {

class PublishingStressTest : public ::testing::Test {
 protected:
  PublishingStressTest() {
    shared = tmp / "home/Library/Application Support/" + std::string(hostBundleIdentifier()) +
             "/FinderSync";
    testkit::writeFile(tmp / "bundle/fallback-menu.json", testkit::smallManifest());
    for (const char* name : {"a clip.mov", "quote\"back\\slash.mov", "line\nbreak.mov"}) {
      testkit::writeFile(tmp / name, "video");
      files.push_back(tmp / name);
    }
  }

  std::vector<std::string> probe(const std::string& count) {
    std::vector<std::string> argv{VDL_PUBLISH_PROBE, tmp / "home", tmp / "bundle", "1000", count};
    argv.insert(argv.end(), files.begin(), files.end());
    return argv;
  }

  struct Census {
    std::size_t published = 0;
    std::size_t hidden = 0;
    std::vector<std::string> faults;
  };

  // Reads every request: each published one must be whole, for these files,
  // under its own id.
  Census census() {
    Census c;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(shared + "/requests", ec)) {
      const std::string name = e.path().filename().string();
      if (name[0] == '.') {
        ++c.hidden;
        continue;
      }
      ++c.published;
      auto doc = nlohmann::json::parse(testkit::readFile(e.path().string()), nullptr, false);
      if (doc.is_discarded()) {
        c.faults.push_back(name + ": not a whole JSON document");
      } else if (doc.value("id", "") + ".json" != name) {
        c.faults.push_back(name + ": holds another id");
      } else if (doc["files"] != nlohmann::json(files) ||
                 doc["action"] != nlohmann::json{{"action", "convert"}, {"format", "mp4"}}) {
        c.faults.push_back(name + ": not the request that was made: " + doc.dump());
      }
    }
    return c;
  }

  bool waitForPublished() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
      if (!testkit::entries(shared + "/requests").empty()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  testkit::TempDir tmp;
  std::string shared;
  std::vector<std::string> files;
};

TEST_F(PublishingStressTest, ConcurrentPublishersEachPublishEveryRequest) {
  constexpr int kProcesses = 8;
  constexpr int kEach = 500;
  std::vector<std::unique_ptr<testkit::ChildProcess>> children;
  for (int i = 0; i < kProcesses; ++i) {
    children.push_back(std::make_unique<testkit::ChildProcess>(probe(std::to_string(kEach))));
    ASSERT_TRUE(children.back()->started());
  }
  for (auto& child : children) EXPECT_EQ(child->wait(), 0) << "a publisher logged a failure";

  Census c = census();
  EXPECT_EQ(c.published, std::size_t{kProcesses * kEach});
  EXPECT_EQ(c.hidden, 0u) << "every temporary file was published";
  EXPECT_TRUE(c.faults.empty()) << c.faults.size() << " faults, first: " << c.faults[0];
}

TEST_F(PublishingStressTest, KilledPublishersLeaveOnlyWholeRequests) {
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<int> delay(0, 30'000);  // microseconds
  constexpr int kRuns = 100;
  for (int run = 0; run < kRuns; ++run) {
    testkit::ChildProcess child(probe("0"));
    ASSERT_TRUE(child.started());
    // However slow the machine, the first publisher lives until it has
    // published, so that the census below has whole requests to check.
    if (run == 0) {
      ASSERT_TRUE(waitForPublished()) << "the first publisher never published";
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    child.kill(SIGKILL);
    EXPECT_EQ(child.wait(), 128 + SIGKILL);
  }

  Census c = census();
  EXPECT_GT(c.published, 0u) << "the publishers never got as far as publishing";
  EXPECT_TRUE(c.faults.empty()) << c.faults.size() << " faults, first: " << c.faults[0];
  // A killed publisher leaves at most the one temporary file it was writing.
  EXPECT_LE(c.hidden, std::size_t{kRuns});
}

}  // namespace
}  // namespace vdl
