// Decoding a tag back into a choice.
#include "menu/choice.h"

namespace vdl {

std::optional<Choice> decodeTag(std::int64_t tag, const Offer& offer) {
  switch (tag) {
    case kOpenTag:
      return Choice::open();
    case kCompressTag:
      return Choice::compress();
    case kCropTag:
      return Choice::crop();
    case kTrimTag:
      return Choice::trim();
    default:
      break;
  }
  if (tag < kFirstFormatTag) return std::nullopt;
  auto position = static_cast<std::uint64_t>(tag - kFirstFormatTag);
  // The display list is never longer than popular + all.
  if (position >= offer.popular.size() + offer.all.size()) return std::nullopt;
  auto list = displayList(offer);
  if (position >= list.size()) return std::nullopt;
  return Choice::convert(list[position].format);
}

}  // namespace vdl
