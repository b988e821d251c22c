#include "hosts/cli/terminal_font.h"

#include <gtest/gtest.h>

namespace vdl::cli {
namespace {

TEST(TerminalFont, WidthIsDisplayCells) {
  struct Case {
    const char* name;
    std::string text;
    double cells;
  } cases[] = {
      {"ascii", "MP4 (needs x)", 13},
      {"the divider character is one cell", "\u2500", 1},
      {"wide ideographs take two", "\xE6\xBC\xA2\xE5\xAD\x97", 4},
      {"a combining mark takes none", "e\xCC\x81", 1},
      {"zero-width joiner takes none",
       "a\xE2\x80\x8D"
       "b",
       2},
      {"bytes that are not UTF-8 take one each", "\xFF\xFE", 2},
      {"empty", "", 0},
  };
  TerminalFont font;
  for (const auto& c : cases) EXPECT_EQ(font.width(c.text), c.cells) << c.name;
}

}  // namespace
}  // namespace vdl::cli
