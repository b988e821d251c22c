// What a menu item stands for.
#pragma once

#include <string>

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

}  // namespace vdl
