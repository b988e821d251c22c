// The tag numbering that ties every menu item to a Choice: assigned when the
// menu is built, decoded when an item is chosen, here in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "menu/choice.h"
#include "menu/offer.h"

namespace vdl {

inline constexpr std::int64_t kOpenTag = 2;
inline constexpr std::int64_t kCompressTag = 12;
inline constexpr std::int64_t kCropTag = 13;
inline constexpr std::int64_t kTrimTag = 14;

// The tag of the format item at `position` of the display list.
std::int64_t formatTag(std::size_t position);

// The choice a tag stands for against an offer computed now, or none. Tags 2,
// 12, 13 and 14 decode without looking at the offer's flags.
std::optional<Choice> decodeTag(std::int64_t tag, const Offer& offer);

}  // namespace vdl
