// Laying out the offer as the context menu: the convert item with its
// submenu of formats, then compress, trim and crop.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "manifest/menu_manifest.h"
#include "menu/menu_model.h"
#include "menu/offer.h"
#include "platform/menu_font.h"

namespace vdl {

// The longest entry title, in bytes. A manifest can make a title grow with
// the product of its needs label and tool texts; no sensible one comes near.
inline constexpr std::size_t kMaxTitleBytes = 1024;

// The format upper-cased; with a tool, followed by " (" + the needs label
// with every "{tool}" replaced + ")". A title longer than kMaxTitleBytes is
// cut at a character and ends in "…"; the bytes past the cut are never built.
std::string entryTitle(const TargetPair& pair, const std::string& needsLabel);

// How many "─" make a line as wide as the widest of `widths` (100.0 for
// none), at `unit` per character (at least 1.0); 8 to 60.
std::size_t dividerLength(const std::vector<double>& widths, double unit);

// A disabled line of "─", sized against `titles` in `font`.
MenuItem divider(const std::vector<std::string>& titles, MenuFont& font);

// The root menu for an offer that has targets or a flag set. Every item that
// shows an icon gets `icon`, which may be none.
Menu buildMenu(const MenuLabels& labels, const Offer& offer, const std::optional<Image>& icon,
               MenuFont& font);

}  // namespace vdl
