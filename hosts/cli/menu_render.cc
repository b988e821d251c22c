// Menu rendering for the command-line host.
#include "hosts/cli/menu_render.h"

namespace vdl::cli {
namespace {

nlohmann::json itemsJSON(const Menu& menu) {
  nlohmann::json items = nlohmann::json::array();
  for (const auto& item : menu.items) {
    nlohmann::json j = {
        {"title", item.title},
        {"action", item.action == MenuAction::choose ? nlohmann::json(selectorName(item.action))
                                                     : nlohmann::json(nullptr)},
        {"keyEquivalent", item.keyEquivalent},
        {"tag", item.tag},
        {"enabled", item.enabled},
        {"image", item.image ? nlohmann::json(item.image->name) : nlohmann::json(nullptr)},
    };
    if (item.submenu)
      j["submenu"] = {{"title", item.submenu->title}, {"items", itemsJSON(*item.submenu)}};
    items.push_back(std::move(j));
  }
  return items;
}

void appendText(const Menu& menu, int depth, std::string& out) {
  for (const auto& item : menu.items) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += item.title;
    std::string notes;
    if (item.action == MenuAction::choose) notes += " [tag " + std::to_string(item.tag) + "]";
    if (item.image) notes += " [icon]";
    if (!item.enabled) notes += " [disabled]";
    if (!notes.empty()) out += " " + notes;
    out += '\n';
    if (item.submenu) appendText(*item.submenu, depth + 1, out);
  }
}

}  // namespace

nlohmann::json menuJSON(const std::optional<Menu>& menu) {
  if (!menu) return nullptr;
  return {{"title", menu->title}, {"items", itemsJSON(*menu)}};
}

std::string menuText(const std::optional<Menu>& menu) {
  if (!menu) return "no menu\n";
  std::string out;
  appendText(*menu, 0, out);
  return out;
}

}  // namespace vdl::cli
