// The extension as a Nemo (Cinnamon) module: Nemo's three entry points and
// one menu provider on the bridge. Nemo asks for the menu again when an item
// is activated and finds the item by its name, which the bridge keeps stable.
#include <string_view>

#include "hosts/file_manager/menu_bridge.h"
#include "hosts/file_manager/provider.h"
#include "hosts/nemo/nemo_kind.h"

namespace {

namespace fm = vdl::file_manager;
using VdlNemoProvider = fm::Provider;
using VdlNemoProviderClass = fm::ProviderClass;

void initMenuProvider(NemoMenuProviderIface* iface);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wcast-function-type"
#pragma GCC diagnostic ignored "-Wunused-function"
G_DEFINE_DYNAMIC_TYPE_EXTENDED(VdlNemoProvider, vdl_nemo_provider, G_TYPE_OBJECT, 0,
                               G_IMPLEMENT_INTERFACE_DYNAMIC(NEMO_TYPE_MENU_PROVIDER,
                                                             initMenuProvider))
#pragma GCC diagnostic pop
// Nemo's settings name the module by its provider type's name, declared in
// CMake as the module's switch.
static_assert(std::string_view(VDL_MODULE_SWITCH) == "VdlNemoProvider");

GList* fileItems(NemoMenuProvider* provider, GtkWidget*, GList* files) {
  return fm::fileItems<vdl::nemo::NemoKind>(fm::sessionOf(provider), files);
}

GList* backgroundItems(NemoMenuProvider*, GtkWidget*, NemoFileInfo*) {
  return nullptr;
}

void initMenuProvider(NemoMenuProviderIface* iface) {
  iface->get_file_items = &fileItems;
  iface->get_background_items = &backgroundItems;
}

void vdl_nemo_provider_init(VdlNemoProvider* self) {
  fm::initProvider(self, reinterpret_cast<const void*>(&fileItems));
}
void vdl_nemo_provider_class_init(VdlNemoProviderClass*) {}
void vdl_nemo_provider_class_finalize(VdlNemoProviderClass*) {}

fm::ListedTypes listed;

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void nemo_module_initialize(GTypeModule* module) {
  if (!fm::mayRegisterProvider(VDL_MODULE_SWITCH, module)) return;
  vdl_nemo_provider_register_type(module);
  listed.registered(vdl_nemo_provider_type_id);
}

__attribute__((visibility("default"))) void nemo_module_shutdown(void) {
  // Before the file manager ends: the choices it handed over are made first.
  fm::finishChoices();
}

__attribute__((visibility("default"))) void nemo_module_list_types(const GType** types,
                                                                   int* count) {
  listed.list(types, count);
}

}  // extern "C"
