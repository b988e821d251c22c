// What the benchmarks share: the system's platform on the real disk, with the
// wake-up answered at once, a folder of real files, and a large generated
// manifest.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/system_platform.h"
#include "platform/platform.h"
#include "platform/recording.h"
#include "testing/test_platform.h"

namespace vdl::bench {

// A home, a bundle and a files folder below one temporary folder.
class BenchWorld {
 public:
  BenchWorld();
  ~BenchWorld();

  // The first `n` of the sample files (mixed video extensions), created on demand.
  std::vector<FileURL> files(std::size_t n);
  // Writes `text` as the shared folder's menu.json.
  void writeMenu(const std::string& text);
  std::string sharedFolder() const;
  std::string root() const { return root_; }
  Platform& platform() { return platform_; }
  testkit::FakeFinder& finder() { return finder_; }

 private:
  std::string root_;
  std::vector<FileURL> files_;
  linux_platform::SystemPlatform system_;
  testkit::FakeFinder finder_;
  testkit::FakeMenuFont font_;
  testkit::CompletingWorkspace workspace_;
  RecordingLog log_;
  Platform platform_;
};

// The one world of a benchmark run.
BenchWorld& world();
// The fallback manifest's text, or the large one's.
const std::string& manifestText(bool large);
// Makes that manifest the shared folder's menu.json.
void useManifest(bool large);
void useManifestText(const std::string& text);
// The fallback manifest grown to about `bytes` with made-up extensions of 20
// targets each.
const std::string& sizedManifest(std::size_t bytes);

// One file manager's module (module_perftest.cc): its menu request for `n`
// files, and an item's activation on a slow disk.
struct ModuleBenchmarks {
  const char* name;   // "nautilus"
  const char* title;  // "GNOME Files"
  std::function<void(benchmark::State&, std::size_t)> menu;
  std::function<void(benchmark::State&)> activation;
  // The first one-file menu after menu.json, of about `bytes`, changed.
  std::function<void(benchmark::State&, std::size_t)> firstMenu;
};
// Those of the modules built here.
std::vector<ModuleBenchmarks> moduleBenchmarks();

// The bundle's fallback manifest, as shipped.
std::string fallbackManifest();
// 1,000 extensions (the sample files' among them) x 50 targets, popular lists of 10.
std::string largeManifest();

}  // namespace vdl::bench
