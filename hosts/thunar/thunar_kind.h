// Thunar's (Xfce) item objects, as the menu bridge uses them.
#pragma once

#include <gtk/gtk.h>

#include "hosts/file_manager/menu_bridge.h"

extern "C" {
#include <thunarx/thunarx.h>
}

namespace vdl::thunar {

struct ThunarKind {
  using FileInfo = ThunarxFileInfo;
  using Item = ThunarxMenuItem;
  using Submenu = ThunarxMenu;
  using Interface = ThunarxFileInfoIface;
  static GType interfaceType() { return thunarx_file_info_get_type(); }
  // The icon is read with g_icon_new_for_string, which takes a path.
  static Item* newItem(const char* name, const char* label, const char* icon) {
    return thunarx_menu_item_new(name, label, "", icon);
  }
  // No separator item; 4.18 ignores "sensitive", so a divider shows as an
  // ordinary item, which does nothing: it has no handler.
  static Item* newSeparator(const char*) { return nullptr; }
  static Submenu* newMenu() { return thunarx_menu_new(); }
  static void append(Submenu* menu, Item* item) { thunarx_menu_append_item(menu, item); }
  static void setSubmenu(Item* item, Submenu* menu) { thunarx_menu_item_set_menu(item, menu); }
  static GList* items(Submenu* menu) { return thunarx_menu_get_items(menu); }
};

}  // namespace vdl::thunar
