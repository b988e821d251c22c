// The extension as a Caja (MATE) module: Caja's three entry points and one
// menu provider on the bridge. Like Nemo, Caja asks for the menu again when an
// item is activated and finds the item by its name, which the bridge keeps
// stable.
#include "hosts/caja/caja_kind.h"
#include "hosts/file_manager/menu_bridge.h"
#include "hosts/file_manager/provider.h"

namespace {

namespace fm = vdl::file_manager;
using VdlCajaProvider = fm::Provider;
using VdlCajaProviderClass = fm::ProviderClass;

void initMenuProvider(CajaMenuProviderIface* iface);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wcast-function-type"
#pragma GCC diagnostic ignored "-Wunused-function"
G_DEFINE_DYNAMIC_TYPE_EXTENDED(VdlCajaProvider, vdl_caja_provider, G_TYPE_OBJECT, 0,
                               G_IMPLEMENT_INTERFACE_DYNAMIC(CAJA_TYPE_MENU_PROVIDER,
                                                             initMenuProvider))
#pragma GCC diagnostic pop

GList* fileItems(CajaMenuProvider* provider, GtkWidget*, GList* files) {
  return fm::fileItems<vdl::caja::CajaKind>(fm::sessionOf(provider), files);
}

GList* backgroundItems(CajaMenuProvider*, GtkWidget*, CajaFileInfo*) {
  return nullptr;
}

void initMenuProvider(CajaMenuProviderIface* iface) {
  iface->get_file_items = &fileItems;
  iface->get_background_items = &backgroundItems;
}

void vdl_caja_provider_init(VdlCajaProvider* self) {
  fm::initProvider(self, reinterpret_cast<const void*>(&fileItems));
}
void vdl_caja_provider_class_init(VdlCajaProviderClass*) {}
void vdl_caja_provider_class_finalize(VdlCajaProviderClass*) {}

fm::ListedTypes listed;

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void caja_module_initialize(GTypeModule* module) {
  if (!fm::mayRegisterProvider("VdlCajaProvider", module)) return;
  vdl_caja_provider_register_type(module);
  listed.registered(vdl_caja_provider_type_id);
}

__attribute__((visibility("default"))) void caja_module_shutdown(void) {
  // Before the file manager ends: the choices it handed over are made first.
  fm::finishChoices();
}

__attribute__((visibility("default"))) void caja_module_list_types(const GType** types,
                                                                   int* count) {
  listed.list(types, count);
}

}  // extern "C"
