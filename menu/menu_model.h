// Platform-independent menus: what the extension hands the file manager, and
// what each host translates into its own menu objects.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/bundle.h"

namespace vdl {

// The one action a selectable item can have: the extension's `choose:`.
enum class MenuAction { none, choose };

// What an item is. A divider is a disabled line that only separates groups;
// a host with a separator of its own shows that instead.
enum class MenuItemKind { item, divider };

struct Menu;

struct MenuItem {
  MenuItemKind kind = MenuItemKind::item;
  std::string title;
  MenuAction action = MenuAction::none;
  std::string keyEquivalent;
  std::int64_t tag = 0;
  std::optional<Image> image;
  bool enabled = true;
  std::shared_ptr<const Menu> submenu;
};

struct Menu {
  std::string title;
  std::vector<MenuItem> items;
};

// The selector text of an action: "choose:", or empty for none.
inline const char* selectorName(MenuAction action) {
  return action == MenuAction::choose ? "choose:" : "";
}

}  // namespace vdl
