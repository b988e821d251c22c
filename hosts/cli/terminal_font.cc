// Display widths from the Unicode character properties.
#include "hosts/cli/terminal_font.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace vdl::cli {
namespace {

int cells(UChar32 c) {
  if (c < 0) return 1;
  auto category = static_cast<UCharCategory>(u_charType(c));
  if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK || category == U_FORMAT_CHAR ||
      category == U_CONTROL_CHAR) {
    return 0;
  }
  if (u_hasBinaryProperty(c, UCHAR_DEFAULT_IGNORABLE_CODE_POINT)) return 0;
  auto eaw = static_cast<UEastAsianWidth>(u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH));
  if (eaw == U_EA_WIDE || eaw == U_EA_FULLWIDTH) return 2;
  return 1;
}

}  // namespace

double TerminalFont::width(std::string_view text) {
  const auto* s = reinterpret_cast<const uint8_t*>(text.data());
  auto n = static_cast<int32_t>(text.size());
  double total = 0;
  for (int32_t i = 0; i < n;) {
    UChar32 c = 0;
    U8_NEXT(s, i, n, c);
    total += cells(c);
  }
  return total;
}

}  // namespace vdl::cli
