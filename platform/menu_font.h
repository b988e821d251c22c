// The font in which the host draws menus, for sizing divider lines.
#pragma once

#include <string_view>

namespace vdl {

class MenuFont {
 public:
  virtual ~MenuFont() = default;
  // The drawn width of `text` in the standard menu font, in the host's units.
  virtual double width(std::string_view text) = 0;
};

}  // namespace vdl
