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
#ifdef VDL_BENCH_DOLPHIN
#include <KFileItem>
#include <QAction>
#include <QApplication>
#include <QMenu>

#include "hosts/dolphin/dolphin_menu.h"
#endif

namespace vdl::bench {
namespace {

namespace fm = file_manager;

std::size_t lines(const std::string& path) {
  std::ifstream in(path);
  std::size_t n = 0;
  for (std::string line; std::getline(in, line);) ++n;
  return n;
}

std::shared_ptr<fm::MenuSession> session(const std::string& bundle,
                                         linux_platform::Replacements chooserParts = {},
                                         std::unique_ptr<MenuFont> font = nullptr) {
  return std::make_shared<fm::MenuSession>(
      linux_platform::SystemOptions{FileURL::fileURLWithPath(bundle, true),
                                    world().root() + "/home"},
      font ? std::move(font) : std::make_unique<fm::PangoMenuFont>(), chooserParts);
}

// An AppDir whose AppRun notes each URL it is started with in `woken`, and a
// disk whose every fsync takes 200 ms, for the activation benchmarks.
struct SlowWorld {
  SlowWorld()
      : bundle(app / "Vandrel.AppDir/usr/lib/finder-sync"),
        woken(app / "Vandrel.AppDir/woken"),
        disk({FileURL::fileURLWithPath("/", true), std::nullopt}),
        slow(disk.files()) {
    std::filesystem::create_directories(bundle);
    testkit::writeFile(app / "Vandrel.AppDir/AppRun",
                       "#!/bin/sh\necho \"$1\" >> \"$(dirname \"$0\")/woken\"\n");
    ::chmod((app / "Vandrel.AppDir/AppRun").c_str(), 0755);
    slow.delay(testkit::FsOp::fsync, std::chrono::milliseconds(200));
    slow.delay(testkit::FsOp::syncDirectory, std::chrono::milliseconds(200));
    published = testkit::entries(world().sharedFolder() + "/requests").size();
  }

  // Times `activate` on this thread, then waits for its choice's wake-up.
  void timeActivations(benchmark::State& state, const std::function<void()>& activate) {
    std::size_t done = 0;
    for (auto _ : state) {
      auto t0 = std::chrono::steady_clock::now();
      activate();
      auto t1 = std::chrono::steady_clock::now();
      state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
      ++done;
      for (int i = 0; i < 1000 && lines(woken) < done; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      if (lines(woken) < done) state.SkipWithError("the host application was not woken");
    }
    published += done;
  }

  // After the session has gone: every choice was published.
  void checkPublished(benchmark::State& state) {
    if (testkit::entries(world().sharedFolder() + "/requests").size() != published) {
      state.SkipWithError("a choice was not published");
    }
  }

  testkit::TempDir app;
  std::string bundle, woken;
  linux_platform::SystemPlatform disk;
  testkit::FaultyFileSystem slow;
  std::size_t published = 0;
};

GList* infosFor(GType fake, const std::vector<FileURL>& files) {
  std::vector<std::string> paths;
  paths.reserve(files.size());
  for (const auto& f : files) paths.push_back(f.path());
  return fm::testing::fakeFileInfos(fake, paths);
}

template <class Kind>
void menu(benchmark::State& state, GType fake, std::size_t n) {
  useManifest(false);
  GList* infos = infosFor(fake, world().files(n));
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

// The first menu after menu.json changed: its date moves on before each menu,
// so that the module reads, decodes and indexes it again, on the UI thread.
template <class Kind>
void firstMenu(benchmark::State& state, GType fake, std::size_t bytes) {
  useManifestText(sizedManifest(bytes));
  GList* infos = infosFor(fake, world().files(1));
  auto s = session(world().root() + "/bundle");
  const std::string menu = world().sharedFolder() + "/menu.json";
  std::int64_t second = 1000;
  for (auto _ : state) {
    state.PauseTiming();
    testkit::setModified(menu, {++second, 0});
    state.ResumeTiming();
    GList* items = fm::fileItems<Kind>(s, infos);
    if (!items) state.SkipWithError("no menu");
    g_list_free_full(items, g_object_unref);
  }
  g_list_free_full(infos, g_object_unref);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

// The time the activation of "Convert to › MP4" holds the UI thread, with
// every fsync of the chooser's disk taking 200 ms. Each choice must still be
// published and wake the host application (an AppRun that notes its URL).
template <class Kind>
void activation(benchmark::State& state, GType fake) {
  useManifest(false);
  SlowWorld w;
  {
    auto s = session(w.bundle, {.files = &w.slow});
    GList* infos = infosFor(fake, world().files(1));
    GList* items = fm::fileItems<Kind>(s, infos);
    GObject* formats = nullptr;
    if (items) g_object_get(items->data, "menu", &formats, nullptr);
    GList* entries =
        formats ? Kind::items(reinterpret_cast<typename Kind::Submenu*>(formats)) : nullptr;
    if (entries) {
      w.timeActivations(state, [&] { g_signal_emit_by_name(entries->data, "activate"); });
    } else {
      state.SkipWithError("no menu");
    }
    g_list_free_full(entries, g_object_unref);
    if (formats) g_object_unref(formats);
    g_list_free_full(items, g_object_unref);
    g_list_free_full(infos, g_object_unref);
  }
  w.checkPublished(state);
}

#ifdef VDL_BENCH_DOLPHIN
// Dolphin's actions() on its GUI thread: its items in, Qt's actions out.
void qtApplication() {
  static int argc = 1;
  static char name[] = "vdl_bench";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance()) return;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  new QApplication(argc, argv);
}

KFileItemList dolphinItems(std::size_t n) {
  KFileItemList items;
  for (const auto& f : world().files(n)) {
    items.append(
        KFileItem(QUrl::fromLocalFile(QString::fromStdString(f.path())), QString(), S_IFREG));
  }
  return items;
}

void dolphinMenu(benchmark::State& state, std::size_t n) {
  qtApplication();
  useManifest(false);
  KFileItemList items = dolphinItems(n);
  auto s = session(world().root() + "/bundle", {}, std::make_unique<dolphin::QtMenuFont>());
  QObject owner;
  auto probe = dolphin::fileItemActions(s, items, &owner);
  if (probe.isEmpty()) state.SkipWithError("no menu");
  qDeleteAll(probe);
  for (auto _ : state) {
    auto actions = dolphin::fileItemActions(s, items, &owner);
    benchmark::DoNotOptimize(actions);
    qDeleteAll(actions);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

void dolphinActivation(benchmark::State& state) {
  qtApplication();
  useManifest(false);
  SlowWorld w;
  {
    auto s = session(w.bundle, {.files = &w.slow}, std::make_unique<dolphin::QtMenuFont>());
    QObject owner;
    auto actions = dolphin::fileItemActions(s, dolphinItems(1), &owner);
    QMenu* formats = actions.isEmpty() ? nullptr : actions.first()->menu();
    if (formats) {
      w.timeActivations(state, [&] { formats->actions().first()->trigger(); });
    } else {
      state.SkipWithError("no menu");
    }
    qDeleteAll(actions);
  }
  w.checkPublished(state);
}
#endif

// The file manager's file infos, as its kind describes them.
template <class Kind>
GType fakeInfoType(const std::string& typeName) {
  return fm::testing::fakeFileInfoType<typename Kind::Interface, typename Kind::FileInfo>(
      typeName.c_str(), Kind::interfaceType());
}

template <class Kind>
ModuleBenchmarks benchmarksOf(const char* name, const char* title) {
  std::string fake = std::string("VdlBenchFileInfo-") + name;
  return {
      name, title,
      [fake](benchmark::State& s, std::size_t n) { menu<Kind>(s, fakeInfoType<Kind>(fake), n); },
      [fake](benchmark::State& s) { activation<Kind>(s, fakeInfoType<Kind>(fake)); },
      [fake](benchmark::State& s, std::size_t bytes) {
        firstMenu<Kind>(s, fakeInfoType<Kind>(fake), bytes);
      }};
}

}  // namespace

std::vector<ModuleBenchmarks> moduleBenchmarks() {
  return {
#ifdef VDL_BENCH_NAUTILUS
      benchmarksOf<nautilus::NautilusKind>("nautilus", "GNOME Files"),
#endif
#ifdef VDL_BENCH_NEMO
      benchmarksOf<nemo::NemoKind>("nemo", "Nemo"),
#endif
#ifdef VDL_BENCH_CAJA
      benchmarksOf<caja::CajaKind>("caja", "Caja"),
#endif
#ifdef VDL_BENCH_THUNAR
      benchmarksOf<thunar::ThunarKind>("thunar", "Thunar"),
#endif
#ifdef VDL_BENCH_DOLPHIN
      {"dolphin", "Dolphin", &dolphinMenu, &dolphinActivation, nullptr},
#endif
  };
}

}  // namespace vdl::bench
