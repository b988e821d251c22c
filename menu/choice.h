// What a menu item stands for, and the tag numbering that ties the two.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "menu/offer.h"

namespace vdl {

struct Choice {
  enum class Kind { convert, compress, open, crop, trim };
  Kind kind = Kind::open;
  std::string format;  // convert only
  std::string preset;  // compress only: always "adjust"

  static Choice convert(std::string format) { return {Kind::convert, std::move(format), {}}; }
  static Choice compress() { return {Kind::compress, {}, "adjust"}; }
  static Choice open() { return {Kind::open, {}, {}}; }
  static Choice crop() { return {Kind::crop, {}, {}}; }
  static Choice trim() { return {Kind::trim, {}, {}}; }

  friend bool operator==(const Choice&, const Choice&) = default;
};

inline constexpr std::int64_t kOpenTag = 2;
inline constexpr std::int64_t kCompressTag = 12;
inline constexpr std::int64_t kCropTag = 13;
inline constexpr std::int64_t kTrimTag = 14;
// The format at display position i carries kFirstFormatTag + i.
inline constexpr std::int64_t kFirstFormatTag = 1000;

// The choice a tag stands for against an offer computed now, or none. Tags 2,
// 12, 13 and 14 decode without looking at the offer's flags.
std::optional<Choice> decodeTag(std::int64_t tag, const Offer& offer);

}  // namespace vdl
