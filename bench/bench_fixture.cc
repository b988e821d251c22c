// The benchmarks' world on the real disk.
#include "bench/bench_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "extension/shared_folder.h"

namespace vdl::bench {
namespace {

const char* kExtensions[] = {"mov", "mp4", "MKV", "avi", "webm"};

std::string makeRoot() {
  std::string pattern = "/tmp/vdl-bench-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern;
}

}  // namespace

BenchWorld::BenchWorld()
    : root_(makeRoot()),
      system_({FileURL::fileURLWithPath(root_ + "/bundle", true), root_ + "/home"}),
      platform_(system_.platform(finder_, font_, {.workspace = &workspace_, .log = &log_})) {
  std::filesystem::create_directories(root_ + "/files");
  std::filesystem::create_directories(root_ + "/bundle");
  std::filesystem::create_directories(sharedFolder());
}

BenchWorld::~BenchWorld() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string BenchWorld::sharedFolder() const {
  return root_ + "/home/Library/Application Support/" + std::string(hostBundleIdentifier()) +
         "/FinderSync";
}

std::vector<FileURL> BenchWorld::files(std::size_t n) {
  while (files_.size() < n) {
    std::size_t i = files_.size();
    std::string path = root_ + "/files/clip-" + std::to_string(i) + "." + kExtensions[i % 5];
    std::ofstream(path) << "x";
    files_.push_back(FileURL::fileURLWithPath(path));
  }
  return {files_.begin(), files_.begin() + static_cast<std::ptrdiff_t>(n)};
}

void BenchWorld::writeMenu(const std::string& text) {
  std::ofstream(sharedFolder() + "/menu.json", std::ios::trunc) << text;
}

BenchWorld& world() {
  static BenchWorld w;
  return w;
}

const std::string& manifestText(bool large) {
  static const std::string fallback = fallbackManifest();
  static const std::string big = largeManifest();
  return large ? big : fallback;
}

void useManifest(bool large) {
  useManifestText(manifestText(large));
}

void useManifestText(const std::string& text) {
  static const std::string* current = nullptr;
  if (current == &text) return;
  world().writeMenu(text);
  current = &text;
}

const std::string& sizedManifest(std::size_t bytes) {
  static std::map<std::size_t, std::string> made;
  auto [it, fresh] = made.try_emplace(bytes);
  if (!fresh) return it->second;
  auto m = nlohmann::json::parse(fallbackManifest());
  std::size_t size = it->second.size() + fallbackManifest().size();
  for (int i = 0; size < bytes; ++i) {
    nlohmann::json rows = nlohmann::json::array();
    for (int t = 0; t < 20; ++t) {
      std::string format = "f" + std::to_string(t);
      rows.push_back(t % 5 == 0 ? nlohmann::json{format, "tool " + std::to_string(t)}
                                : nlohmann::json{format});
    }
    std::string key = "x" + std::to_string(i);
    size += rows.dump().size() + key.size() + 4;
    m["targets"][key] = std::move(rows);
  }
  it->second = m.dump();
  return it->second;
}

std::string fallbackManifest() {
  std::ifstream in(VDL_SOURCE_DIR "/bundle/fallback-menu.json");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string largeManifest() {
  nlohmann::json targets = nlohmann::json::object();
  nlohmann::json popular = nlohmann::json::object();
  std::vector<std::string> keys = {"mov", "mp4", "mkv", "avi", "webm"};
  for (int i = static_cast<int>(keys.size()); i < 1000; ++i)
    keys.push_back("x" + std::to_string(i));
  std::vector<std::string> all;
  for (const auto& key : keys) {
    nlohmann::json rows = nlohmann::json::array();
    for (int t = 0; t < 50; ++t) {
      std::string format = "f" + std::to_string((t * 7) % 60);
      if (t % 5 == 0) {
        rows.push_back({format, "tool " + std::to_string(t)});
      } else {
        rows.push_back({format});
      }
    }
    targets[key] = rows;
    nlohmann::json pop = nlohmann::json::array();
    for (int t = 0; t < 10; ++t) pop.push_back("f" + std::to_string((t * 14) % 60));
    popular[key] = pop;
    all.push_back(key);
  }
  nlohmann::json m = {
      {"version", 1},
      {"labels",
       {{"convertTo", "Convert to"},
        {"compress", "Compress"},
        {"open", "Open"},
        {"balanced", "B"},
        {"smallest", "S"},
        {"needs", "needs {tool}"}}},
      {"popular", popular},
      {"targets", targets},
      {"compress", all},
      {"crop", all},
      {"trim", all},
  };
  return m.dump(2);
}

}  // namespace vdl::bench
