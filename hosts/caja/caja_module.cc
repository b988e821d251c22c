// The extension as a Caja (MATE) module: Caja's three entry points and one
// menu provider on the bridge. Like Nemo, Caja asks for the menu again when an
// item is activated and finds the item by its name, which the bridge keeps
// stable.
#include <gtk/gtk.h>

#include "hosts/file_manager/menu_bridge.h"
#include "hosts/file_manager/provider.h"

extern "C" {
#include <libcaja-extension/caja-extension-types.h>
#include <libcaja-extension/caja-file-info.h>
#include <libcaja-extension/caja-menu-provider.h>
#include <libcaja-extension/caja-menu.h>
}

namespace vdl::caja {

struct CajaKind {
  using FileInfo = CajaFileInfo;
  using Item = CajaMenuItem;
  using Submenu = CajaMenu;

  static GFile* location(FileInfo* info) { return caja_file_info_get_location(info); }
  static std::optional<FileType> type(FileInfo* info) {
    if (caja_file_info_is_gone(info)) return std::nullopt;
    return file_manager::knownType(caja_file_info_get_file_type(info));
  }
  // Caja asserts on a null tooltip.
  static Item* newItem(const char* name, const char* label, const char* icon) {
    return caja_menu_item_new(name, label, "", icon);
  }
  // No separator item: an insensitive line of "─", as in Nautilus.
  static Item* newSeparator(const char*) { return nullptr; }
  static Submenu* newMenu() { return caja_menu_new(); }
  static void append(Submenu* menu, Item* item) { caja_menu_append_item(menu, item); }
  static void setSubmenu(Item* item, Submenu* menu) { caja_menu_item_set_submenu(item, menu); }
  static GList* items(Submenu* menu) { return caja_menu_get_items(menu); }
};

}  // namespace vdl::caja

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
void vdl_caja_provider_class_init(VdlCajaProviderClass* klass) {
  fm::initProviderClass(klass);
}
void vdl_caja_provider_class_finalize(VdlCajaProviderClass*) {}

GType providerTypes[1];

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void caja_module_initialize(GTypeModule* module) {
  vdl_caja_provider_register_type(module);
  providerTypes[0] = vdl_caja_provider_type_id;
}

__attribute__((visibility("default"))) void caja_module_shutdown(void) {}

__attribute__((visibility("default"))) void caja_module_list_types(const GType** types,
                                                                   int* count) {
  *types = providerTypes;
  *count = 1;
}

}  // extern "C"
