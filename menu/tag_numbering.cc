// Tags 2, 12, 13, 14, and 1000 + the display position for formats.
#include "menu/tag_numbering.h"

namespace vdl {
namespace {

constexpr std::int64_t kFirstFormatTag = 1000;

}  // namespace

std::int64_t formatTag(std::size_t position) {
  return kFirstFormatTag + static_cast<std::int64_t>(position);
}

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
  if (position >= offer.display.size()) return std::nullopt;
  return Choice::convert(offer.display[position].format);
}

}  // namespace vdl
