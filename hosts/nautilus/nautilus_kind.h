// GNOME Files' (Nautilus 43) item objects, as the menu bridge uses them.
#pragma once

#include <gio/gio.h>
#include <glib-object.h>

#include <optional>

#include "hosts/file_manager/menu_bridge.h"

// 43's header declares the module's entry points without C linkage: included
// from C++ outside extern "C", they would be exported under mangled names,
// and Nautilus would skip the module without a word.
extern "C" {
#include <nautilus-extension.h>
}

namespace vdl::nautilus {

struct NautilusKind {
  using FileInfo = NautilusFileInfo;
  using Item = NautilusMenuItem;
  using Submenu = NautilusMenu;
  using Interface = NautilusFileInfoInterface;
  static GType interfaceType() { return nautilus_file_info_get_type(); }
  static Item* newItem(const char* name, const char* label, const char* icon) {
    return nautilus_menu_item_new(name, label, "", icon);
  }
  // 43 has no separator item; an insensitive line of "─" draws as a grey rule.
  static Item* newSeparator(const char*) { return nullptr; }
  static Submenu* newMenu() { return nautilus_menu_new(); }
  static void append(Submenu* menu, Item* item) { nautilus_menu_append_item(menu, item); }
  // Declared as taking the menu, but 43.2 takes a reference of its own.
  static void setSubmenu(Item* item, Submenu* menu) { nautilus_menu_item_set_submenu(item, menu); }
  static GList* items(Submenu* menu) { return nautilus_menu_get_items(menu); }
};

}  // namespace vdl::nautilus
