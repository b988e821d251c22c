// The menu font of a GTK desktop: the interface font that GSettings names
// (org.gnome.desktop.interface font-name), else "Sans 11", measured by Pango
// in pixels, as GTK draws menu labels.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "hosts/file_manager/remembered_widths.h"
#include "platform/menu_font.h"

namespace vdl::file_manager {

class PangoMenuFont final : public MenuFont {
 public:
  // `description` as Pango reads it ("Cantarell 11"); empty: the desktop's.
  explicit PangoMenuFont(const std::string& description = "");
  ~PangoMenuFont() override;
  double width(std::string_view text) override;

 private:
  struct Layout;
  std::unique_ptr<Layout> layout_;
  // The font is fixed for the object's life.
  RememberedWidths widths_;
};

// The desktop's interface font name, or "Sans 11" where none is set.
std::string desktopInterfaceFont();

}  // namespace vdl::file_manager
