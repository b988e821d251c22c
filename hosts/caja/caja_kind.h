// Caja's (MATE) item objects, as the menu bridge uses them.
#pragma once

#include <gtk/gtk.h>

#include "hosts/file_manager/menu_bridge.h"

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
  using Interface = CajaFileInfoIface;
  static GType interfaceType() { return caja_file_info_get_type(); }
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
