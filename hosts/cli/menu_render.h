// Showing a menu: an indented tree for people, JSON for programs.
#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "menu/menu_model.h"

namespace vdl::cli {

// {"title": ..., "items": [{"title", "action", "keyEquivalent", "tag",
// "enabled", "image", "submenu"?}, ...]}; null for no menu.
nlohmann::json menuJSON(const std::optional<Menu>& menu);

// One line per item, submenus indented by two spaces, with the tag, the icon
// and a disabled state in brackets after the title. "no menu" for none.
std::string menuText(const std::optional<Menu>& menu);

}  // namespace vdl::cli
