// The extension as a GNOME Files module: the three entry points Nautilus
// looks up, and one menu provider that hands its menu requests to the bridge.
#include "hosts/file_manager/menu_bridge.h"
#include "hosts/nautilus/nautilus_kind.h"

namespace {

using vdl::file_manager::MenuSession;

struct VdlNautilusProvider {
  GObject parent;
  // The extension, shared with the items of the menus it built.
  std::shared_ptr<MenuSession>* session;
};

struct VdlNautilusProviderClass {
  GObjectClass parent;
};

GList* fileItems(NautilusMenuProvider* provider, GList* files);
GList* backgroundItems(NautilusMenuProvider*, NautilusFileInfo*);
void initMenuProvider(NautilusMenuProviderInterface* iface);

// GObject's own type macros, written in C: their casts are C's.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wcast-function-type"
#pragma GCC diagnostic ignored "-Wunused-function"
G_DEFINE_DYNAMIC_TYPE_EXTENDED(VdlNautilusProvider, vdl_nautilus_provider, G_TYPE_OBJECT, 0,
                               G_IMPLEMENT_INTERFACE_DYNAMIC(NAUTILUS_TYPE_MENU_PROVIDER,
                                                             initMenuProvider))
#pragma GCC diagnostic pop

GList* fileItems(NautilusMenuProvider* provider, GList* files) {
  auto* self = reinterpret_cast<VdlNautilusProvider*>(provider);
  return vdl::file_manager::fileItems<vdl::nautilus::NautilusKind>(*self->session, files);
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
  // The module's own file decides the bundle; no session, no menu.
  self->session = new std::shared_ptr<MenuSession>(
      vdl::file_manager::sessionForModule(reinterpret_cast<const void*>(&fileItems)));
}

void finalize(GObject* object) {
  auto* self = reinterpret_cast<VdlNautilusProvider*>(object);
  delete self->session;
  self->session = nullptr;
  G_OBJECT_CLASS(vdl_nautilus_provider_parent_class)->finalize(object);
}

void vdl_nautilus_provider_class_init(VdlNautilusProviderClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = &finalize;
}

void vdl_nautilus_provider_class_finalize(VdlNautilusProviderClass*) {}

GType providerTypes[1];

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void nautilus_module_initialize(GTypeModule* module) {
  vdl_nautilus_provider_register_type(module);
  providerTypes[0] = vdl_nautilus_provider_type_id;
}

__attribute__((visibility("default"))) void nautilus_module_shutdown(void) {}

__attribute__((visibility("default"))) void nautilus_module_list_types(const GType** types,
                                                                       int* count) {
  *types = providerTypes;
  *count = 1;
}

}  // extern "C"
