// Nemo's (Cinnamon) item objects, as the menu bridge uses them.
#pragma once

#include <gtk/gtk.h>

#include "hosts/file_manager/menu_bridge.h"

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
  using Interface = NemoFileInfoInterface;
  static GType interfaceType() { return nemo_file_info_get_type(); }
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
