// The provider's session, made and freed with the object.
#include "hosts/file_manager/provider.h"

#include "hosts/file_manager/pango_menu_font.h"

namespace vdl::file_manager {
namespace {

void finalize(GObject* object) {
  auto* self = reinterpret_cast<Provider*>(object);
  delete self->session;
  self->session = nullptr;
  auto* parent = static_cast<GObjectClass*>(g_type_class_peek_parent(G_OBJECT_GET_CLASS(object)));
  parent->finalize(object);
}

}  // namespace

bool mayRegisterProvider(const char* name, gpointer plugin) {
  GType known = g_type_from_name(name);
  return known == 0 || g_type_get_plugin(known) == static_cast<GTypePlugin*>(plugin);
}

void initProvider(Provider* self, const void* addressInModule) {
  std::shared_ptr<MenuSession> session;
  try {
    session = sessionForModule(addressInModule, std::make_unique<PangoMenuFont>());
  } catch (...) {
    // No font, no memory: the provider offers nothing.
  }
  self->session = new std::shared_ptr<MenuSession>(std::move(session));
}

void initProviderClass(ProviderClass* klass) {
  reinterpret_cast<GObjectClass*>(klass)->finalize = &finalize;
}

const std::shared_ptr<MenuSession>& sessionOf(gpointer provider) {
  return *static_cast<Provider*>(provider)->session;
}

}  // namespace vdl::file_manager
