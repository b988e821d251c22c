// The decoder's fast path: one pass over the text straight into a
// MenuManifest, without a JSON document in between.
#pragma once

#include <optional>
#include <string_view>

#include "manifest/menu_manifest.h"

namespace vdl {

// The manifest of a sound, unambiguous document: valid JSON, every key of the
// expected type, no key twice, every integer plainly one. None for anything
// else, which the full decoder then judges (and names), so that where this
// answers its manifest is the one the full decoder would give.
std::optional<MenuManifest> decodeSoundManifest(std::string_view text);

}  // namespace vdl
