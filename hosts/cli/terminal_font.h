// The menu font of a terminal: every character is as wide as the cells it
// takes on screen.
#pragma once

#include "platform/menu_font.h"

namespace vdl::cli {

class TerminalFont final : public MenuFont {
 public:
  // Wide and full-width characters take two cells, combining marks and
  // zero-width characters none, everything else (including "─") one. A byte
  // that is not UTF-8 takes one cell.
  double width(std::string_view text) override;
};

}  // namespace vdl::cli
