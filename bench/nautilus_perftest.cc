// The GNOME Files module's menu request on its real code path: file infos in,
// Nautilus's items out, on the thread that draws the window.
#include <benchmark/benchmark.h>

#include "bench/bench_fixture.h"
#include "hosts/file_manager/menu_bridge.h"
#include "hosts/file_manager/testing/fake_file_info.h"
#include "hosts/nautilus/nautilus_kind.h"

namespace vdl::bench {

void nautilusMenu(benchmark::State& state, std::size_t n) {
  useManifest(false);
  std::vector<std::string> paths;
  for (const auto& f : world().files(n)) paths.push_back(f.path());
  GType fake = file_manager::testing::fakeFileInfoType<NautilusFileInfoInterface, NautilusFileInfo>(
      "VdlBenchFileInfo", NAUTILUS_TYPE_FILE_INFO);
  GList* infos = file_manager::testing::fakeFileInfos(fake, paths);
  auto session = std::make_shared<file_manager::MenuSession>(linux_platform::SystemOptions{
      FileURL::fileURLWithPath(world().root() + "/bundle", true), world().root() + "/home"});
  GList* probe = file_manager::fileItems<nautilus::NautilusKind>(session, infos);
  if (!probe) state.SkipWithError("no menu");
  nautilus_menu_item_list_free(probe);
  for (auto _ : state) {
    GList* items = file_manager::fileItems<nautilus::NautilusKind>(session, infos);
    benchmark::DoNotOptimize(items);
    nautilus_menu_item_list_free(items);
  }
  g_list_free_full(infos, g_object_unref);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

}  // namespace vdl::bench
