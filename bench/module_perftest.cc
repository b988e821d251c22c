// Each file manager's module on its real code path, on the thread that draws
// the window: its file infos in, its menu items out; and an item's
// activation, which must return at once however slow the disk is.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "bench/bench_fixture.h"
#include "hosts/file_manager/menu_bridge.h"
#include "hosts/file_manager/pango_menu_font.h"
#include "hosts/file_manager/testing/fake_file_info.h"
#include "testing/faulty_file_system.h"
#include "testing/temp_dir.h"
#ifdef VDL_BENCH_NAUTILUS
#include "hosts/nautilus/nautilus_kind.h"
#endif
#ifdef VDL_BENCH_NEMO
#include "hosts/nemo/nemo_kind.h"
#endif
#ifdef VDL_BENCH_CAJA
#include "hosts/caja/caja_kind.h"
#endif
#ifdef VDL_BENCH_THUNAR
#include "hosts/thunar/thunar_kind.h"
#endif

namespace vdl::bench {
namespace {

namespace fm = file_manager;

std::shared_ptr<fm::MenuSession> session(const std::string& bundle,
                                         linux_platform::Replacements chooserParts = {}) {
  return std::make_shared<fm::MenuSession>(
      linux_platform::SystemOptions{FileURL::fileURLWithPath(bundle, true),
                                    world().root() + "/home"},
      std::make_unique<fm::PangoMenuFont>(), chooserParts);
}

GList* infosFor(GType fake, const std::vector<FileURL>& files) {
  std::vector<std::string> paths;
  paths.reserve(files.size());
  for (const auto& f : files) paths.push_back(f.path());
  return fm::testing::fakeFileInfos(fake, paths);
}

template <class Kind>
void menu(benchmark::State& state, GType (*fake)(), std::size_t n) {
  useManifest(false);
  GList* infos = infosFor(fake(), world().files(n));
  auto s = session(world().root() + "/bundle");
  GList* probe = fm::fileItems<Kind>(s, infos);
  if (!probe) state.SkipWithError("no menu");
  g_list_free_full(probe, g_object_unref);
  for (auto _ : state) {
    GList* items = fm::fileItems<Kind>(s, infos);
    benchmark::DoNotOptimize(items);
    g_list_free_full(items, g_object_unref);
  }
  g_list_free_full(infos, g_object_unref);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

std::size_t lines(const std::string& path) {
  std::ifstream in(path);
  std::size_t n = 0;
  for (std::string line; std::getline(in, line);) ++n;
  return n;
}

// The time the activation of "Convert to › MP4" holds the UI thread, with
// every fsync of the chooser's disk taking 200 ms. Each choice must still be
// published and wake the host application (an AppRun that notes its URL).
template <class Kind>
void activation(benchmark::State& state, GType (*fake)()) {
  useManifest(false);
  testkit::TempDir app;
  std::string bundle = app / "Vandrel.AppDir/usr/lib/finder-sync";
  std::string woken = app / "Vandrel.AppDir/woken";
  std::filesystem::create_directories(bundle);
  testkit::writeFile(app / "Vandrel.AppDir/AppRun",
                     "#!/bin/sh\necho \"$1\" >> \"$(dirname \"$0\")/woken\"\n");
  ::chmod((app / "Vandrel.AppDir/AppRun").c_str(), 0755);
  linux_platform::SystemPlatform disk({FileURL::fileURLWithPath("/", true), std::nullopt});
  testkit::FaultyFileSystem slow(disk.files());
  slow.delay(testkit::FsOp::fsync, std::chrono::milliseconds(200));
  slow.delay(testkit::FsOp::syncDirectory, std::chrono::milliseconds(200));
  std::size_t published = testkit::entries(world().sharedFolder() + "/requests").size();
  {
    auto s = session(bundle, {.files = &slow});
    GList* infos = infosFor(fake(), world().files(1));
    GList* items = fm::fileItems<Kind>(s, infos);
    GObject* formats = nullptr;
    if (items) g_object_get(items->data, "menu", &formats, nullptr);
    GList* entries =
        formats ? Kind::items(reinterpret_cast<typename Kind::Submenu*>(formats)) : nullptr;
    if (!entries) state.SkipWithError("no menu");
    std::size_t done = 0;
    for (auto _ : state) {
      if (!entries) break;
      auto t0 = std::chrono::steady_clock::now();
      g_signal_emit_by_name(entries->data, "activate");
      auto t1 = std::chrono::steady_clock::now();
      state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
      ++done;
      for (int i = 0; i < 1000 && lines(woken) < done; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      if (lines(woken) < done) state.SkipWithError("the host application was not woken");
    }
    g_list_free_full(entries, g_object_unref);
    if (formats) g_object_unref(formats);
    g_list_free_full(items, g_object_unref);
    g_list_free_full(infos, g_object_unref);
    published += done;
  }
  if (testkit::entries(world().sharedFolder() + "/requests").size() != published) {
    state.SkipWithError("a choice was not published");
  }
}

#ifdef VDL_BENCH_NAUTILUS
GType nautilusInfo() {
  return fm::testing::fakeFileInfoType<NautilusFileInfoInterface, NautilusFileInfo>(
      "VdlBenchNautilusFileInfo", NAUTILUS_TYPE_FILE_INFO);
}
#endif
#ifdef VDL_BENCH_NEMO
GType nemoInfo() {
  return fm::testing::fakeFileInfoType<NemoFileInfoInterface, NemoFileInfo>("VdlBenchNemoFileInfo",
                                                                            NEMO_TYPE_FILE_INFO);
}
#endif
#ifdef VDL_BENCH_CAJA
GType cajaInfo() {
  return fm::testing::fakeFileInfoType<CajaFileInfoIface, CajaFileInfo>("VdlBenchCajaFileInfo",
                                                                        CAJA_TYPE_FILE_INFO);
}
#endif
#ifdef VDL_BENCH_THUNAR
GType thunarInfo() {
  return fm::testing::fakeFileInfoType<ThunarxFileInfoIface, ThunarxFileInfo>(
      "VdlBenchThunarFileInfo", THUNARX_TYPE_FILE_INFO);
}
#endif

template <class Kind>
ModuleBenchmarks benchmarksOf(const char* name, const char* title, GType (*fake)()) {
  return {name, title, [fake](benchmark::State& s, std::size_t n) { menu<Kind>(s, fake, n); },
          [fake](benchmark::State& s) { activation<Kind>(s, fake); }};
}

}  // namespace

std::vector<ModuleBenchmarks> moduleBenchmarks() {
  return {
#ifdef VDL_BENCH_NAUTILUS
      benchmarksOf<nautilus::NautilusKind>("nautilus", "GNOME Files", &nautilusInfo),
#endif
#ifdef VDL_BENCH_NEMO
      benchmarksOf<nemo::NemoKind>("nemo", "Nemo", &nemoInfo),
#endif
#ifdef VDL_BENCH_CAJA
      benchmarksOf<caja::CajaKind>("caja", "Caja", &cajaInfo),
#endif
#ifdef VDL_BENCH_THUNAR
      benchmarksOf<thunar::ThunarKind>("thunar", "Thunar", &thunarInfo),
#endif
  };
}

}  // namespace vdl::bench
