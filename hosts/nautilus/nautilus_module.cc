// The extension as a GNOME Files module: the three entry points Nautilus
// looks up, and one menu provider that hands its menu requests to the bridge.
#include "hosts/file_manager/menu_bridge.h"
#include "hosts/file_manager/provider.h"
#include "hosts/nautilus/nautilus_kind.h"

namespace {

namespace fm = vdl::file_manager;
using VdlNautilusProvider = fm::Provider;
using VdlNautilusProviderClass = fm::ProviderClass;

void initMenuProvider(NautilusMenuProviderInterface* iface);

// GObject's type macros, written for C: their casts are C's.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wcast-function-type"
#pragma GCC diagnostic ignored "-Wunused-function"
G_DEFINE_DYNAMIC_TYPE_EXTENDED(VdlNautilusProvider, vdl_nautilus_provider, G_TYPE_OBJECT, 0,
                               G_IMPLEMENT_INTERFACE_DYNAMIC(NAUTILUS_TYPE_MENU_PROVIDER,
                                                             initMenuProvider))
#pragma GCC diagnostic pop

GList* fileItems(NautilusMenuProvider* provider, GList* files) {
  return fm::fileItems<vdl::nautilus::NautilusKind>(fm::sessionOf(provider), files);
}

// Menus of the open folder itself: nothing to offer.
GList* backgroundItems(NautilusMenuProvider*, NautilusFileInfo*) {
  return nullptr;
}

void initMenuProvider(NautilusMenuProviderInterface* iface) {
  iface->get_file_items = &fileItems;
  iface->get_background_items = &backgroundItems;
}

void vdl_nautilus_provider_init(VdlNautilusProvider* self) {
  fm::initProvider(self, reinterpret_cast<const void*>(&fileItems));
}
void vdl_nautilus_provider_class_init(VdlNautilusProviderClass*) {}
void vdl_nautilus_provider_class_finalize(VdlNautilusProviderClass*) {}

fm::ListedTypes listed;

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void nautilus_module_initialize(GTypeModule* module) {
  if (!fm::mayRegisterProvider("VdlNautilusProvider", module)) return;
  vdl_nautilus_provider_register_type(module);
  listed.registered(vdl_nautilus_provider_type_id);
}

__attribute__((visibility("default"))) void nautilus_module_shutdown(void) {
  // Before the file manager ends: the choices it handed over are made first.
  fm::finishChoices();
}

__attribute__((visibility("default"))) void nautilus_module_list_types(const GType** types,
                                                                       int* count) {
  listed.list(types, count);
}

}  // extern "C"
