// What every file manager's menu provider is: a GObject that holds the
// extension's session for as long as the file manager keeps it (for the life
// of the process, in all of them). A module defines its provider type over
// these two structs and adds its file manager's interface.
#pragma once

#include <glib-object.h>

#include <memory>

#include "hosts/file_manager/menu_session.h"

namespace vdl::file_manager {

struct Provider {
  GObject parent;
  std::shared_ptr<MenuSession>* session;
};

struct ProviderClass {
  GObjectClass parent;
};

// Instance init: the session of the module that holds `addressInModule`,
// whose real location is its bundle. Without one the provider offers nothing.
void initProvider(Provider* self, const void* addressInModule);
// Class init: the session goes with the object.
void initProviderClass(ProviderClass* klass);
// The provider's session; null when it has none.
const std::shared_ptr<MenuSession>& sessionOf(gpointer provider);

}  // namespace vdl::file_manager
