// The core's menu in the item objects of the file managers that share GTK's
// extension model (an item with a label, a "sensitive" property, an icon and
// an "activate" signal; a menu of items; "set submenu"), written once.
//
// A file manager's module supplies a kind `FM`:
//   using FileInfo, Item, Submenu;
//   using Interface;                            // FileInfo's interface struct, with
//   static GType interfaceType();               //   get_location, and is_gone and
//                                               //   get_file_type, or get_file_info
//   static Item* newItem(const char* name, const char* label, const char* icon);
//   static Item* newSeparator(const char* name);  // or null: none of its own
//   static Submenu* newMenu();
//   static void append(Submenu*, Item*);        // takes its own reference
//   static void setSubmenu(Item*, Submenu*);    // takes its own reference
//   static GList* items(Submenu*);              // new references
#pragma once

#include <gio/gio.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "hosts/file_manager/menu_session.h"
#include "menu/menu_model.h"

namespace vdl::file_manager {

// The title as a GTK label shows it: "_" would mark a mnemonic, so it is
// doubled.
std::string mnemonicEscaped(const std::string& title);

// A GIO file type as the extension's, where it is sure; none otherwise.
std::optional<FileType> knownType(GFileType type);

namespace detail {

// The file-info interface of `info`, for calling its methods directly. The
// public wrappers first check the object's type on every call, which at
// 100,000 files costs more than the rest of the menu; the file manager hands
// the module its own file infos, so the check can't fail.
template <class FM>
const typename FM::Interface* fileInfoInterface(typename FM::FileInfo* info) {
  auto* instance = reinterpret_cast<GTypeInstance*>(info);
  return static_cast<const typename FM::Interface*>(
      g_type_interface_peek(instance->g_class, FM::interfaceType()));
}

// The file's location: a new reference, or null.
template <class FM>
GFile* locationOf(const typename FM::Interface* iface, typename FM::FileInfo* info) {
  return iface->get_location ? iface->get_location(info) : nullptr;
}

// The type the file manager listed the file with, links followed; none where
// it doesn't know: a file gone since, a broken link.
template <class FM>
std::optional<FileType> knownTypeOf(const typename FM::Interface* iface,
                                    typename FM::FileInfo* info) {
  if constexpr (requires { iface->get_file_type; }) {
    if (!iface->get_file_type || !iface->is_gone || iface->is_gone(info)) return std::nullopt;
    return knownType(iface->get_file_type(info));
  } else {
    // Thunar hands out its file's GFileInfo, which always holds the type.
    GFileInfo* known = iface->get_file_info ? iface->get_file_info(info) : nullptr;
    if (!known) return std::nullopt;
    auto type = knownType(g_file_info_get_file_type(known));
    g_object_unref(known);
    return type;
  }
}

}  // namespace detail

// The file manager's files as a menu's selection: each with its local path
// when it has one (the trash, recent files and remote folders have none), and
// the type the file manager already knows.
template <class FM>
std::shared_ptr<const Selection> selectionOf(GList* files) {
  auto selection = std::make_shared<Selection>();
  for (GList* l = files; l; l = l->next) {
    auto* info = static_cast<typename FM::FileInfo*>(l->data);
    const auto* iface = detail::fileInfoInterface<FM>(info);
    GFile* location = detail::locationOf<FM>(iface, info);
    // The local file's own path, not a copy of it.
    const char* path = location ? g_file_peek_path(location) : nullptr;
    if (path) {
      selection->addFile(path, detail::knownTypeOf<FM>(iface, info));
    } else {
      selection->addOther();
    }
    if (location) g_object_unref(location);
  }
  return selection;
}

namespace detail {

// What an item's activation needs: the extension, its menu's own files and
// its tag. The file manager frees it with the item.
struct Activation {
  std::shared_ptr<MenuSession> session;
  std::shared_ptr<const Selection> files;
  std::int64_t tag;
};

void activate(GObject* item, gpointer activation);
void forget(gpointer activation, GClosure* closure);
// A weak notify for a submenu whose items it would keep: drops the
// references `items` holds (from FM::items) and those the menu kept.
void releaseItems(gpointer items, GObject* menu);

// Whether the file manager's menu keeps its items when it goes. Several do
// (Nautilus 43.2, Caja 1.26, Thunar 4.18), and so every submenu item, with
// the selection its activation holds, would outlive every menu ever built.
// Asked of the library itself, so that a fixed one is not unreferenced twice.
template <class FM>
bool menuLeaksItsItems() {
  static const bool leaks = [] {
    auto* item = FM::newItem("probe", "", nullptr);
    auto* menu = FM::newMenu();
    FM::append(menu, item);
    g_object_unref(menu);
    bool kept = G_OBJECT(item)->ref_count > 1;
    if (kept) g_object_unref(item);
    g_object_unref(item);
    return kept;
  }();
  return leaks;
}

template <class FM>
typename FM::Item* itemFor(const MenuItem& item, const std::string& name,
                           const std::shared_ptr<MenuSession>& session,
                           const std::shared_ptr<const Selection>& files) {
  if (item.kind == MenuItemKind::divider) {
    if (auto* separator = FM::newSeparator(name.c_str())) return separator;
  }
  std::string icon = item.image ? item.image->url.path() : std::string();
  typename FM::Item* made = FM::newItem(name.c_str(), mnemonicEscaped(item.title).c_str(),
                                        item.image ? icon.c_str() : nullptr);
  if (!item.enabled) g_object_set(made, "sensitive", FALSE, nullptr);
  if (item.action == MenuAction::choose) {
    g_signal_connect_data(made, "activate", reinterpret_cast<GCallback>(&activate),
                          new Activation{session, files, item.tag}, &forget, GConnectFlags{});
  }
  if (item.submenu) {
    typename FM::Submenu* submenu = FM::newMenu();
    for (std::size_t i = 0; i < item.submenu->items.size(); ++i) {
      auto* child =
          itemFor<FM>(item.submenu->items[i], name + "." + std::to_string(i), session, files);
      FM::append(submenu, child);
      g_object_unref(child);
    }
    FM::setSubmenu(made, submenu);
    if (menuLeaksItsItems<FM>()) {
      g_object_weak_ref(G_OBJECT(submenu), &releaseItems, FM::items(submenu));
    }
    g_object_unref(submenu);
  }
  return made;
}

}  // namespace detail

// The root items of `menu`, as the file manager takes them: a new list of new
// items, named by their position ("Vandrel::0.3"), so that the same menu has
// the same names every time. Activating one acts on `files`.
template <class FM>
GList* rootItems(const Menu& menu, const std::shared_ptr<MenuSession>& session,
                 const std::shared_ptr<const Selection>& files) {
  GList* items = nullptr;
  for (std::size_t i = 0; i < menu.items.size(); ++i) {
    items = g_list_prepend(
        items, detail::itemFor<FM>(menu.items[i], "Vandrel::" + std::to_string(i), session, files));
  }
  return g_list_reverse(items);
}

// The menu request: the items for the file manager's `files`, or null for no
// menu. Never throws.
template <class FM>
GList* fileItems(const std::shared_ptr<MenuSession>& session, GList* files) {
  if (!session) return nullptr;
  try {
    auto selection = selectionOf<FM>(files);
    auto menu = session->menuFor(selection);
    return menu ? rootItems<FM>(*menu, session, selection) : nullptr;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace vdl::file_manager
