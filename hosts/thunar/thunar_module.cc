// The extension as a Thunar (Xfce) plugin: Thunar's three entry points and
// one menu provider on the bridge. Thunar asks for the menu when it opens.
#include "hosts/file_manager/menu_bridge.h"
#include "hosts/file_manager/provider.h"
#include "hosts/thunar/thunar_kind.h"

namespace {

namespace fm = vdl::file_manager;
using VdlThunarProvider = fm::Provider;
using VdlThunarProviderClass = fm::ProviderClass;

void initMenuProvider(ThunarxMenuProviderIface* iface);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wcast-function-type"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
THUNARX_DEFINE_TYPE_EXTENDED(VdlThunarProvider, vdl_thunar_provider, G_TYPE_OBJECT, GTypeFlags{},
                             THUNARX_IMPLEMENT_INTERFACE(THUNARX_TYPE_MENU_PROVIDER,
                                                         initMenuProvider))
#pragma GCC diagnostic pop

GList* fileMenuItems(ThunarxMenuProvider* provider, GtkWidget*, GList* files) {
  return fm::fileItems<vdl::thunar::ThunarKind>(fm::sessionOf(provider), files);
}

void initMenuProvider(ThunarxMenuProviderIface* iface) {
  iface->get_file_menu_items = &fileMenuItems;
}

void vdl_thunar_provider_init(VdlThunarProvider* self) {
  fm::initProvider(self, reinterpret_cast<const void*>(&fileMenuItems));
}
void vdl_thunar_provider_class_init(VdlThunarProviderClass*) {}

fm::ListedTypes listed;

}  // namespace

// Thunar's header declares no entry points: they are declared here, with C
// linkage, as Thunar looks them up.
extern "C" {
void thunar_extension_initialize(ThunarxProviderPlugin* plugin);
void thunar_extension_shutdown(void);
void thunar_extension_list_types(const GType** types, gint* count);
}

extern "C" {

__attribute__((visibility("default"))) void thunar_extension_initialize(
    ThunarxProviderPlugin* plugin) {
  if (const gchar* mismatch = thunarx_check_version(THUNARX_MAJOR_VERSION, THUNARX_MINOR_VERSION,
                                                    THUNARX_MICRO_VERSION)) {
    g_warning("Vandrel: this Thunar's extension library won't do: %s", mismatch);
    return;
  }
  if (!fm::mayRegisterProvider("VdlThunarProvider", plugin)) return;
  // Thunar drops an idle plugin after a while; the items of a shown menu
  // still call into this one, and its session holds the manifest cache.
  thunarx_provider_plugin_set_resident(plugin, TRUE);
  vdl_thunar_provider_register_type(plugin);
  listed.registered(vdl_thunar_provider_get_type());
}

__attribute__((visibility("default"))) void thunar_extension_shutdown(void) {
  // Before the file manager ends: the choices it handed over are made first.
  fm::finishChoices();
}

__attribute__((visibility("default"))) void thunar_extension_list_types(const GType** types,
                                                                        gint* count) {
  listed.list(types, count);
}

}  // extern "C"
