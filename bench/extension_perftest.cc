// Speed of the menu request, of manifest decoding and of choose, each against
// its floor measured in the same run: the system calls (or the parse) that
// the operation can't avoid. Prints the ratios at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "bench/bench_fixture.h"
#include "dispatch/request_document.h"
#include "extension/vdl_finder_sync.h"
#include "manifest/manifest_decoder.h"
#include "manifest/manifest_index.h"

namespace vdl::bench {
namespace {

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
  static int current = -1;
  if (current == static_cast<int>(large)) return;
  world().writeMenu(manifestText(large));
  current = static_cast<int>(large);
}

void menuRequest(benchmark::State& state, bool large, std::size_t n) {
  useManifest(large);
  world().finder().selection = world().files(n);
  VDLFinderSync extension(world().platform());
  if (!extension.menu(0)) state.SkipWithError("no menu");
  for (auto _ : state) benchmark::DoNotOptimize(extension.menu(0));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

// One stat for menu.json and one per selected file.
void menuFloor(benchmark::State& state, std::size_t n) {
  auto files = world().files(n);
  std::string menu = world().sharedFolder() + "/menu.json";
  for (auto _ : state) {
    struct stat st {};
    benchmark::DoNotOptimize(::stat(menu.c_str(), &st));
    for (const auto& f : files) benchmark::DoNotOptimize(::stat(f.path().c_str(), &st));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

void decodeLarge(benchmark::State& state) {
  const std::string& text = manifestText(true);
  for (auto _ : state) {
    auto decoded = decodeManifest(text);
    IndexedManifest indexed(std::move(*decoded), FileURL::fileURLWithPath("/menu.json"));
    benchmark::DoNotOptimize(&indexed);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void decodeFloor(benchmark::State& state) {
  const std::string& text = manifestText(true);
  for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(text));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void chooseRequest(benchmark::State& state, std::size_t n) {
  useManifest(false);
  world().finder().selection = world().files(n);
  VDLFinderSync extension(world().platform());
  MenuItem open;
  open.tag = 2;
  for (auto _ : state) extension.choose(open);
}

// The calls publishing makes, made directly: a stat for menu.json and each
// selected file, the requests folder's check, then create, write, fsync,
// close, rename and the folder's fsync.
void chooseFloor(benchmark::State& state, std::size_t n) {
  auto files = world().files(n);
  std::string menu = world().sharedFolder() + "/menu.json";
  std::string requests = world().root() + "/floor-requests";
  ::mkdir(requests.c_str(), 0700);
  auto bytes = *requestDocument("00000000-0000-4000-8000-000000000000", 1.5, Choice::open(), files);
  // Names stay unique across the runs the library makes of this function.
  static std::size_t counter = 0;
  for (auto _ : state) {
    struct stat st {};
    ::stat(menu.c_str(), &st);
    for (const auto& f : files) ::stat(f.path().c_str(), &st);
    ::lstat(requests.c_str(), &st);
    std::string name = std::to_string(counter++);
    std::string hidden = requests + "/." + name + ".json";
    std::string published = requests + "/" + name + ".json";
    int fd = ::open(hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
    ::fsync(fd);
    ::close(fd);
    ::renameat2(AT_FDCWD, hidden.c_str(), AT_FDCWD, published.c_str(), RENAME_NOREPLACE);
    int dir = ::open(requests.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(dir);
    ::close(dir);
  }
}

class Capture final : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> time;  // microseconds per iteration
  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions, the median stands for the benchmark.
    for (const auto& r : runs) {
      if (r.error_occurred) continue;
      std::string name = r.run_name.str();
      if (r.run_type == Run::RT_Aggregate) {
        if (r.aggregate_name == "median") {
          time[name] = r.GetAdjustedRealTime();
          medians_.insert(name);
        }
      } else if (!medians_.count(name)) {
        time[name] = r.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

 private:
  std::set<std::string> medians_;
};

}  // namespace
}  // namespace vdl::bench

int main(int argc, char** argv) {
  using namespace vdl::bench;
  const std::vector<std::size_t> sizes = {1, 100, 1000, 10000, 100000};
  for (std::size_t n : sizes) {
    auto suffix = "/" + std::to_string(n);
    benchmark::RegisterBenchmark(("floor/menu" + suffix).c_str(), menuFloor, n)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("menu/fallback" + suffix).c_str(), menuRequest, false, n)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("menu/large" + suffix).c_str(), menuRequest, true, n)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("floor/decode", decodeFloor)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("decode/large", decodeLarge)->Unit(benchmark::kMicrosecond);
  for (std::size_t n : {std::size_t{1}, std::size_t{1000}}) {
    auto suffix = "/" + std::to_string(n);
    benchmark::RegisterBenchmark(("floor/choose" + suffix).c_str(), chooseFloor, n)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("choose" + suffix).c_str(), chooseRequest, n)
        ->Unit(benchmark::kMicrosecond);
  }

  benchmark::Initialize(&argc, argv);
  Capture capture;
  benchmark::RunSpecifiedBenchmarks(&capture);
  benchmark::Shutdown();

  auto ratio = [&](const std::string& a, const std::string& b) {
    auto x = capture.time.find(a), y = capture.time.find(b);
    return x == capture.time.end() || y == capture.time.end() || y->second == 0
               ? -1.0
               : x->second / y->second;
  };
  std::printf("\n%-28s %10s %10s %12s\n", "ratio to floor", "fallback", "large", "ns/file");
  for (std::size_t n : sizes) {
    auto s = "/" + std::to_string(n);
    double perFile = capture.time.count("menu/large" + s)
                         ? capture.time["menu/large" + s] * 1000.0 / static_cast<double>(n)
                         : -1;
    std::printf("%-28s %10.2f %10.2f %12.0f\n",
                ("menu request, " + std::to_string(n) + " files").c_str(),
                ratio("menu/fallback" + s, "floor/menu" + s),
                ratio("menu/large" + s, "floor/menu" + s), perFile);
  }
  std::printf("%-28s %10.2f\n", "decode vs DOM parse", ratio("decode/large", "floor/decode"));
  for (const char* n : {"1", "1000"}) {
    std::printf("%-28s %10.2f\n", (std::string("choose, ") + n + " files").c_str(),
                ratio(std::string("choose/") + n, std::string("floor/choose/") + n));
  }
  return 0;
}
