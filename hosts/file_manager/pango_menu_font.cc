// Pango measuring for the divider lines.
#include "hosts/file_manager/pango_menu_font.h"

#include <gio/gio.h>
#include <pango/pangocairo.h>

namespace vdl::file_manager {
namespace {

constexpr const char* kFallbackFont = "Sans 11";

}  // namespace

struct PangoMenuFont::Layout {
  PangoContext* context = nullptr;
  PangoLayout* layout = nullptr;
  ~Layout() {
    if (layout) g_object_unref(layout);
    if (context) g_object_unref(context);
  }
};

std::string desktopInterfaceFont() {
  // Looking the schema up first: g_settings_new() aborts on a missing one.
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  GSettingsSchema* schema =
      source ? g_settings_schema_source_lookup(source, "org.gnome.desktop.interface", TRUE)
             : nullptr;
  std::string name;
  if (schema && g_settings_schema_has_key(schema, "font-name")) {
    GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
    gchar* value = g_settings_get_string(settings, "font-name");
    if (value) name = value;
    g_free(value);
    g_object_unref(settings);
  }
  if (schema) g_settings_schema_unref(schema);
  return name.empty() ? kFallbackFont : name;
}

PangoMenuFont::PangoMenuFont(const std::string& description) : layout_(std::make_unique<Layout>()) {
  // A cairo font map measures as GTK draws, and needs no display.
  layout_->context = pango_font_map_create_context(pango_cairo_font_map_get_default());
  layout_->layout = pango_layout_new(layout_->context);
  PangoFontDescription* font = pango_font_description_from_string(
      description.empty() ? desktopInterfaceFont().c_str() : description.c_str());
  pango_layout_set_font_description(layout_->layout, font);
  pango_font_description_free(font);
}

PangoMenuFont::~PangoMenuFont() = default;

double PangoMenuFont::width(std::string_view text) {
  return widths_.width(text, [this](std::string_view t) {
    pango_layout_set_text(layout_->layout, t.data(), static_cast<int>(t.size()));
    PangoRectangle logical{};
    pango_layout_get_extents(layout_->layout, nullptr, &logical);
    return static_cast<double>(logical.width) / PANGO_SCALE;
  });
}

}  // namespace vdl::file_manager
