// The provider's session: the module's, for the process.
#include "hosts/file_manager/provider.h"

#include "hosts/file_manager/pango_menu_font.h"

namespace vdl::file_manager {

bool mayRegisterProvider(const char* name, gpointer plugin) {
  GType known = g_type_from_name(name);
  return known == 0 || g_type_get_plugin(known) == static_cast<GTypePlugin*>(plugin);
}

void initProvider(Provider* self, const void* addressInModule) {
  self->session = &processSession(addressInModule, []() -> std::unique_ptr<MenuFont> {
    return std::make_unique<PangoMenuFont>();
  });
}

const std::shared_ptr<MenuSession>& sessionOf(gpointer provider) {
  return *static_cast<Provider*>(provider)->session;
}

}  // namespace vdl::file_manager
