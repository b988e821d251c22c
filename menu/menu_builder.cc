// Menu assembly and divider sizing.
#include "menu/menu_builder.h"

#include <algorithm>
#include <cmath>

#include "menu/tag_numbering.h"
#include "text/unicode_text.h"

namespace vdl {
namespace {

constexpr const char* kDividerCharacter = "\u2500";
constexpr std::size_t kMinDivider = 8;
constexpr std::size_t kMaxDivider = 60;

// Texts are built only this far past the bound: enough to cut at a
// character boundary below it.
constexpr std::size_t kBuildLimit = kMaxTitleBytes + 64;

// A prefix of `text` of at least kBuildLimit bytes (or all of it), cut
// where a UTF-8 sequence starts.
std::string_view head(std::string_view text) {
  if (text.size() <= kBuildLimit) return text;
  std::size_t end = kBuildLimit;
  while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  return text.substr(0, end);
}

// Appends `label` with every "{tool}" replaced by `tool`, stopping once `out`
// has passed the build limit.
void appendReplaced(std::string& out, std::string_view label, std::string_view tool) {
  static constexpr std::string_view kToken = "{tool}";
  while (out.size() < kBuildLimit) {
    auto pos = label.find(kToken);
    out.append(head(label.substr(0, pos)));
    if (pos == std::string_view::npos) return;
    out.append(head(tool));
    label.remove_prefix(pos + kToken.size());
  }
}

MenuItem actionItem(std::string title, std::int64_t tag, std::optional<Image> image = {}) {
  MenuItem item;
  item.title = std::move(title);
  item.action = MenuAction::choose;
  item.tag = tag;
  item.image = std::move(image);
  return item;
}

}  // namespace

std::string entryTitle(const TargetPair& pair, const std::string& needsLabel) {
  std::string title = text::uppercased(
      pair.format.size() > kBuildLimit ? text::truncated(pair.format, kBuildLimit) : pair.format);
  if (!pair.tool.empty() && title.size() < kBuildLimit) {
    title += " (";
    appendReplaced(title, needsLabel, pair.tool);
    title += ")";
  }
  return text::truncated(title, kMaxTitleBytes);
}

std::size_t dividerLength(const std::vector<double>& widths, double unit) {
  double widest = widths.empty() ? 100.0 : *std::max_element(widths.begin(), widths.end());
  if (!(unit >= 1.0)) unit = 1.0;
  double quotient = widest / unit;
  // Written so that a NaN from a broken font lands on the minimum, not in a cast.
  if (!(quotient > static_cast<double>(kMinDivider))) return kMinDivider;
  if (!(quotient <= static_cast<double>(kMaxDivider))) return kMaxDivider;
  return static_cast<std::size_t>(std::ceil(quotient));
}

MenuItem divider(const std::vector<std::string>& titles, MenuFont& font) {
  std::vector<double> widths;
  widths.reserve(titles.size());
  for (const auto& t : titles) widths.push_back(font.width(t));
  std::size_t count = dividerLength(widths, font.width(kDividerCharacter));
  MenuItem item;
  item.kind = MenuItemKind::divider;
  for (std::size_t i = 0; i < count; ++i) item.title += kDividerCharacter;
  item.enabled = false;
  return item;
}

Menu buildMenu(const MenuLabels& labels, const Offer& offer, const std::optional<Image>& icon,
               MenuFont& font) {
  Menu root;
  if (!offer.all.empty()) {
    auto submenu = std::make_shared<Menu>();
    submenu->title = labels.convertTo;
    const auto& list = offer.display;
    std::vector<std::string> titles;
    titles.reserve(list.size() + 1);
    for (const auto& pair : list) titles.push_back(entryTitle(pair, labels.needs));
    titles.push_back(labels.open);

    // Both dividers of the submenu span the same titles: measured once.
    const MenuItem line = divider(titles, font);
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (i == offer.popular.size() && i != 0) submenu->items.push_back(line);
      submenu->items.push_back(actionItem(titles[i], formatTag(i)));
    }
    submenu->items.push_back(line);
    submenu->items.push_back(actionItem(labels.open, kOpenTag));

    MenuItem convert;
    convert.title = labels.convertTo;
    convert.image = icon;
    convert.submenu = std::move(submenu);
    root.items.push_back(std::move(convert));
  }
  if (offer.compress) root.items.push_back(actionItem(labels.compress, kCompressTag, icon));
  if (offer.trim) root.items.push_back(actionItem(labels.trim.value_or("Trim"), kTrimTag, icon));
  if (offer.crop) root.items.push_back(actionItem(labels.crop.value_or("Crop"), kCropTag, icon));
  return root;
}

}  // namespace vdl
