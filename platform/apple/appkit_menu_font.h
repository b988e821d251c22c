// The menu font of the target platform: the standard menu font, measured by
// AppKit in points.
#pragma once

#include "platform/menu_font.h"

namespace vdl::apple {

class AppKitMenuFont final : public MenuFont {
 public:
  double width(std::string_view text) override;
};

}  // namespace vdl::apple
