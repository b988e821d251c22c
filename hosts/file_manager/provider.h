// What every file manager's menu provider is: a GObject that refers to its
// module's session, which lives as long as the process, so that the file
// manager may make and drop providers as it likes (Thunar drops idle ones
// every 45 s on its UI thread). A module defines its provider type over these
// two structs and adds its file manager's interface.
#pragma once

#include <glib-object.h>

#include <memory>

#include "hosts/file_manager/menu_session.h"

namespace vdl::file_manager {

struct Provider {
  GObject parent;
  const std::shared_ptr<MenuSession>* session;
};

struct ProviderClass {
  GObjectClass parent;
};

// Whether a module may register its provider type `name` with `plugin` (its
// GTypeModule): yes when no type has that name, or when `plugin` itself
// registered it (loaded again after an unload). No when a second installed
// copy, or this file loaded again by another module, got there first: GLib
// would warn and fail, and the user would see the menu twice. Such a module
// registers nothing and lists no types.
bool mayRegisterProvider(const char* name, gpointer plugin);

// The provider type a module's list_types reports: once after each
// registration. The same file loaded by two modules shares this, and a file
// manager may list every module's types only after loading them all (Thunar
// 4.18 does), so only the first list after the registration gets it.
class ListedTypes {
 public:
  void registered(GType type) {
    types_[0] = type;
    count_ = 1;
  }
  void list(const GType** types, int* count) {
    *types = types_;
    *count = count_;
    count_ = 0;
  }

 private:
  GType types_[1] = {};
  int count_ = 0;
};

// Instance init: the session of the module that holds `addressInModule`
// (processSession). Without one the provider offers nothing.
void initProvider(Provider* self, const void* addressInModule);
// The provider's session; null when it has none.
const std::shared_ptr<MenuSession>& sessionOf(gpointer provider);

}  // namespace vdl::file_manager
