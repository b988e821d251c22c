// Speed of the menu request, of manifest decoding and of choose, each against
// its floor measured in the same run: the system calls (or the parse) that
// the operation can't avoid. Prints the ratios at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

#include <nlohmann/json.hpp>

#include "bench/bench_fixture.h"
#include "dispatch/request_document.h"
#include "extension/vdl_finder_sync.h"
#include "manifest/manifest_decoder.h"
#include "manifest/manifest_index.h"
#include "manifest/manifest_loader.h"
#include "menu/offer.h"

namespace vdl::bench {
namespace {

void menuRequest(benchmark::State& state, bool large, std::size_t n) {
  useManifest(large);
  world().finder().select(world().files(n));
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

// The floors of a first menu after a change: reading the manifest's bytes,
// and parsing them into a JSON document alone.
void readFloor(benchmark::State& state, std::size_t bytes) {
  useManifestText(sizedManifest(bytes));
  const std::string menu = world().sharedFolder() + "/menu.json";
  for (auto _ : state) benchmark::DoNotOptimize(readManifestFile(world().platform().files, menu));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

void domFloor(benchmark::State& state, std::size_t bytes) {
  const std::string& text = sizedManifest(bytes);
  for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(text));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

// A selection of `n` files of `n` extensions, each of which converts to one
// common format with a tool of its own: the tool texts combine across all of
// them. The offer is a pure function, so no disk is involved.
struct WideCase {
  std::unique_ptr<IndexedManifest> manifest;
  std::vector<FileURL> selection;
};

const WideCase& wideCase(std::size_t n) {
  static std::map<std::size_t, WideCase> cases;
  auto& c = cases[n];
  if (c.manifest) return c;
  MenuManifest m;
  for (std::size_t i = 0; i < n; ++i) {
    std::string extension = "e" + std::to_string(i);
    m.targets[extension] = {{"mp4", "tool " + std::to_string(i)}};
    m.compress.push_back(extension);
    c.selection.push_back(FileURL::fileURLWithPath("/files/clip." + extension));
  }
  c.manifest = std::make_unique<IndexedManifest>(std::move(m), FileURL::fileURLWithPath("/m"));
  return c;
}

void offerWide(benchmark::State& state, std::size_t n) {
  const auto& c = wideCase(n);
  for (auto _ : state) benchmark::DoNotOptimize(choices(c.selection, *c.manifest));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

// What any offer must do first: the selection's distinct extensions, sorted.
void offerFloor(benchmark::State& state, std::size_t n) {
  const auto& c = wideCase(n);
  for (auto _ : state) benchmark::DoNotOptimize(extensionList(c.selection));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

// A menu action on `n` files, and its floor: the calls publishing makes, made
// directly (a stat for menu.json and each selected file, the requests
// folder's check, then create, write, fsync, close, rename and the folder's
// fsync). Each iteration makes both and times one: the cost of creating a
// file on ext4 grows with the inodes that earlier files used and freed, so
// the two must meet the disk in the same state.
class ChooseAndFloor {
 public:
  explicit ChooseAndFloor(std::size_t n) : files_(world().files(n)) {
    useManifest(false);
    world().finder().select(files_);
    extension_.emplace(world().platform());
    open_.tag = 2;
    menu_ = world().sharedFolder() + "/menu.json";
    requests_ = world().root() + "/floor-requests";
    ::mkdir(requests_.c_str(), 0700);
    bytes_ = *requestDocument("00000000-0000-4000-8000-000000000000", 1.5, Choice::open(), files_);
  }

  void choose() { extension_->choose(open_); }

  void floor() {
    // Names stay unique across the runs the library makes of a benchmark.
    static std::size_t counter = 0;
    struct stat st {};
    ::stat(menu_.c_str(), &st);
    for (const auto& f : files_) ::stat(f.path().c_str(), &st);
    ::lstat(requests_.c_str(), &st);
    std::string name = std::to_string(counter++);
    std::string hidden = requests_ + "/." + name + ".json";
    std::string published = requests_ + "/" + name + ".json";
    int fd = ::open(hidden.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    benchmark::DoNotOptimize(::write(fd, bytes_.data(), bytes_.size()));
    ::fsync(fd);
    ::close(fd);
    ::renameat2(AT_FDCWD, hidden.c_str(), AT_FDCWD, published.c_str(), RENAME_NOREPLACE);
    int dir = ::open(requests_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(dir);
    ::close(dir);
  }

 private:
  std::vector<FileURL> files_;
  std::optional<VDLFinderSync> extension_;
  MenuItem open_;
  std::string menu_, requests_, bytes_;
};

// Building the request document alone: the part of a menu action that its
// floor, which writes ready-made bytes, leaves out.
void documentBench(benchmark::State& state, std::size_t n) {
  auto files = world().files(n);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        requestDocument("00000000-0000-4000-8000-000000000000", 1.5, Choice::open(), files));
  }
}

// Times the menu action, and reports the floor's mean time of the same
// iterations as the counter "floor_us".
void chooseBench(benchmark::State& state, std::size_t n) {
  ChooseAndFloor both(n);
  using Clock = std::chrono::steady_clock;
  // The order alternates, since the second fsync in a row pays for the first.
  bool floorFirst = false;
  double floorSeconds = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    floorFirst ? both.floor() : both.choose();
    auto t1 = Clock::now();
    floorFirst ? both.choose() : both.floor();
    auto t2 = Clock::now();
    double first = std::chrono::duration<double>(t1 - t0).count();
    double second = std::chrono::duration<double>(t2 - t1).count();
    floorSeconds += floorFirst ? first : second;
    state.SetIterationTime(floorFirst ? second : first);
    floorFirst = !floorFirst;
  }
  state.counters["floor_us"] =
      benchmark::Counter(floorSeconds * 1e6, benchmark::Counter::kAvgIterations);
}

// Whether a run stopped with an error: Google Benchmark 1.8 turned the flag
// of 1.7 into the reason a run was skipped.
template <class Run>
bool stopped(const Run& r) {
  if constexpr (requires { r.skipped; }) {
    return static_cast<int>(r.skipped) != 0;
  } else {
    return r.error_occurred;
  }
}

class Capture final : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> time;  // microseconds per iteration
  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions, the median stands for the benchmark.
    for (const auto& r : runs) {
      if (stopped(r)) continue;
      std::string name = r.run_name.function_name;
      if (r.run_type == Run::RT_Aggregate) {
        if (r.aggregate_name == "median") {
          record(name, r);
          medians_.insert(name);
        }
      } else if (!medians_.count(name)) {
        record(name, r);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

 private:
  std::set<std::string> medians_;
  void record(const std::string& name, const Run& r) {
    time[name] = r.GetAdjustedRealTime();
    // A floor measured in the same iterations comes as a counter.
    if (auto floor = r.counters.find("floor_us"); floor != r.counters.end()) {
      time["floor/" + name] = floor->second.value;
    }
  }
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
  const std::vector<std::size_t> moduleSizes = {1, 10000, 100000};
#ifdef VDL_BENCH_MODULES
  const auto modules = moduleBenchmarks();
#else
  const std::vector<ModuleBenchmarks> modules;
#endif
  const std::vector<std::size_t> firstMenuSizes = {1, 16};
  for (std::size_t mb : firstMenuSizes) {
    auto suffix = "/" + std::to_string(mb) + "MB";
    benchmark::RegisterBenchmark(("floor/read" + suffix).c_str(), readFloor, mb << 20)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("floor/dom" + suffix).c_str(), domFloor, mb << 20)
        ->Unit(benchmark::kMillisecond);
  }
  for (const auto& m : modules) {
    for (std::size_t n : moduleSizes) {
      benchmark::RegisterBenchmark((std::string(m.name) + "/menu/" + std::to_string(n)).c_str(),
                                   m.menu, n)
          ->Unit(benchmark::kMicrosecond);
    }
    for (std::size_t mb : firstMenuSizes) {
      if (!m.firstMenu) continue;
      benchmark::RegisterBenchmark(
          (std::string(m.name) + "/first-menu/" + std::to_string(mb) + "MB").c_str(), m.firstMenu,
          mb << 20)
          ->Unit(benchmark::kMillisecond);
    }
    // Each choice waits out two slow fsyncs on the chooser's thread.
    benchmark::RegisterBenchmark((std::string(m.name) + "/activate/1").c_str(), m.activation)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMicrosecond);
  }
  const std::vector<std::size_t> wide = {10000, 40000, 100000};
  for (std::size_t n : wide) {
    auto suffix = "/" + std::to_string(n);
    benchmark::RegisterBenchmark(("floor/offer" + suffix).c_str(), offerFloor, n)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("offer" + suffix).c_str(), offerWide, n)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("floor/decode", decodeFloor)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("decode/large", decodeLarge)->Unit(benchmark::kMicrosecond);
  for (std::size_t n : {std::size_t{1}, std::size_t{1000}}) {
    auto suffix = "/" + std::to_string(n);
    benchmark::RegisterBenchmark(("document" + suffix).c_str(), documentBench, n)
        ->Unit(benchmark::kMicrosecond);
    // fsync dominates and varies widely: many iterations, and the median of three runs.
    benchmark::RegisterBenchmark(("choose" + suffix).c_str(), chooseBench, n)
        ->UseManualTime()
        ->MinTime(2.0)
        ->Repetitions(3)
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
  // Each module's whole menu request, file infos to items, against the stats
  // it no longer makes; the budget is 5 ms at 10,000 files and 40 ms at
  // 100,000. Its activation, on a disk whose fsync takes 200 ms, must stay
  // under 1 ms.
  auto ms = [&](const std::string& name) {
    return capture.time.count(name) ? capture.time[name] / 1000.0 : -1.0;
  };
  for (const auto& m : modules) {
    for (std::size_t n : moduleSizes) {
      auto s = "/" + std::to_string(n);
      std::string name = std::string(m.name) + "/menu" + s;
      std::printf("%-28s %10.2f   (%.1f ms)\n",
                  (std::string(m.title) + " menu, " + std::to_string(n)).c_str(),
                  ratio(name, "floor/menu" + s), ms(name));
    }
    for (std::size_t mb : firstMenuSizes) {
      auto s = "/" + std::to_string(mb) + "MB";
      std::string name = std::string(m.name) + "/first-menu" + s;
      if (!capture.time.count(name)) continue;
      // Measured in milliseconds, as its floors are.
      std::printf("%-28s %10.2f   (%.1f ms; %.0f x the read; the ratio is to a DOM parse)\n",
                  (std::string(m.title) + " first menu, " + std::to_string(mb) + " MB").c_str(),
                  ratio(name, "floor/dom" + s), capture.time[name], ratio(name, "floor/read" + s));
    }
    std::printf("%-28s %10s   (%.3f ms on the UI thread)\n",
                (std::string(m.title) + " activation").c_str(), "",
                ms(std::string(m.name) + "/activate/1"));
  }
  auto megabytesPerSecond = [&](const std::string& name) {
    auto t = capture.time.find(name);
    return t == capture.time.end() || t->second == 0
               ? -1.0
               : static_cast<double>(manifestText(true).size()) / t->second;  // bytes per µs
  };
  std::printf("%-28s %10.2f   (%.1f MB/s; the DOM parse alone: %.1f MB/s)\n", "decode vs DOM parse",
              ratio("decode/large", "floor/decode"), megabytesPerSecond("decode/large"),
              megabytesPerSecond("floor/decode"));
  for (std::size_t n : wide) {
    auto s = "/" + std::to_string(n);
    std::printf("%-28s %10.2f   (%.1f ms)\n",
                ("offer, " + std::to_string(n) + " extensions").c_str(),
                ratio("offer" + s, "floor/offer" + s),
                capture.time.count("offer" + s) ? capture.time["offer" + s] : -1.0);
  }
  for (const char* n : {"1", "1000"}) {
    std::printf("%-28s %10.2f\n", (std::string("choose, ") + n + " files").c_str(),
                ratio(std::string("choose/") + n, std::string("floor/choose/") + n));
  }
  return 0;
}
