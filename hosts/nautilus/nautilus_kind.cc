// Nautilus's submenus, and the one leak that comes with them.
#include "hosts/nautilus/nautilus_kind.h"

namespace vdl::nautilus {
namespace {

// A weak notify on a leaking submenu: drops the references that the menu
// should have dropped (and those of nautilus_menu_get_items).
void releaseItems(gpointer items, GObject*) {
  for (GList* l = static_cast<GList*>(items); l; l = l->next) {
    g_object_unref(l->data);
    g_object_unref(l->data);
  }
  g_list_free(static_cast<GList*>(items));
}

}  // namespace

bool menuLeaksItsItems() {
  // Asked of the library itself, so that a fixed one is not unreferenced twice.
  static const bool leaks = [] {
    NautilusMenuItem* item = nautilus_menu_item_new("probe", "", "", nullptr);
    NautilusMenu* menu = nautilus_menu_new();
    nautilus_menu_append_item(menu, item);
    g_object_unref(menu);
    bool kept = G_OBJECT(item)->ref_count > 1;
    if (kept) g_object_unref(item);
    g_object_unref(item);
    return kept;
  }();
  return leaks;
}

void NautilusKind::setSubmenu(Item* item, Submenu* menu) {
  nautilus_menu_item_set_submenu(item, menu);
  if (menuLeaksItsItems()) {
    g_object_weak_ref(G_OBJECT(menu), &releaseItems, nautilus_menu_get_items(menu));
  }
}

}  // namespace vdl::nautilus
