// The extension as a Nemo (Cinnamon) module: Nemo's three entry points and
// one menu provider on the bridge. Nemo asks for the menu again when an item
// is activated and finds the item by its name, which the bridge keeps stable.
#include <gtk/gtk.h>

#include "hosts/file_manager/menu_bridge.h"
#include "hosts/file_manager/provider.h"

extern "C" {
#include <libnemo-extension/nemo-extension-types.h>
#include <libnemo-extension/nemo-file-info.h>
#include <libnemo-extension/nemo-menu-provider.h>
#include <libnemo-extension/nemo-menu.h>
}

namespace vdl::nemo {

struct NemoKind {
  using FileInfo = NemoFileInfo;
  using Item = NemoMenuItem;
  using Submenu = NemoMenu;

  static GFile* location(FileInfo* info) { return nemo_file_info_get_location(info); }
  static std::optional<FileType> type(FileInfo* info) {
    if (nemo_file_info_is_gone(info)) return std::nullopt;
    return file_manager::knownType(nemo_file_info_get_file_type(info));
  }
  // Nemo asserts on a null tooltip.
  static Item* newItem(const char* name, const char* label, const char* icon) {
    return nemo_menu_item_new(name, label, "", icon);
  }
  // Nemo has separators of its own: a divider shows as one.
  static Item* newSeparator(const char* name) { return nemo_menu_item_new_separator(name); }
  static Submenu* newMenu() { return nemo_menu_new(); }
  static void append(Submenu* menu, Item* item) { nemo_menu_append_item(menu, item); }
  static void setSubmenu(Item* item, Submenu* menu) { nemo_menu_item_set_submenu(item, menu); }
  static GList* items(Submenu* menu) { return nemo_menu_get_items(menu); }
};

}  // namespace vdl::nemo

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
void vdl_nemo_provider_class_init(VdlNemoProviderClass* klass) {
  fm::initProviderClass(klass);
}
void vdl_nemo_provider_class_finalize(VdlNemoProviderClass*) {}

GType providerTypes[1];

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void nemo_module_initialize(GTypeModule* module) {
  vdl_nemo_provider_register_type(module);
  providerTypes[0] = vdl_nemo_provider_type_id;
}

__attribute__((visibility("default"))) void nemo_module_shutdown(void) {}

__attribute__((visibility("default"))) void nemo_module_list_types(const GType** types,
                                                                   int* count) {
  *types = providerTypes;
  *count = 1;
}

}  // extern "C"
