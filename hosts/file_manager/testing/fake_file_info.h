// File infos as a file manager hands them to its extensions, for locations of
// a test's choosing: one GObject type per file manager that implements its
// file-info interface (the location; and the type, as the file manager would
// have listed it, links followed, where the interface has one). The file
// managers' own constructors need the running file manager.
#pragma once

#include <gio/gio.h>

#include <string>
#include <vector>

namespace vdl::file_manager::testing {

struct FakeFileInfo {
  GObject parent;
  GFile* location;
  GFileType type;
  GFileInfo* info;  // holding the type, for file managers that hand one out
};

// A new fake (one reference) of `type` for `uri`, or for a local path.
GObject* fakeFileInfo(GType type, const std::string& uri);
// A new list of new fakes for local `paths`; free with g_list_free_full.
GList* fakeFileInfos(GType type, const std::vector<std::string>& paths);

namespace detail {
GType registerFake(const char* name, GType interfaceType, GInterfaceInitFunc init);
GFile* location(gpointer info);
GFileType fileType(gpointer info);
GFileInfo* fileInfo(gpointer info);  // a new reference
}  // namespace detail

// The fake type for a file manager whose interface struct is `Iface` and
// whose file info is `Info`, registered as `name` on the first call.
template <class Iface, class Info>
GType fakeFileInfoType(const char* name, GType interfaceType) {
  auto init = [](gpointer g, gpointer) {
    auto* iface = static_cast<Iface*>(g);
    iface->get_location = [](Info* info) { return detail::location(info); };
    if constexpr (requires { iface->get_file_type; }) {
      iface->get_file_type = [](Info* info) { return detail::fileType(info); };
    }
    if constexpr (requires { iface->get_file_info; }) {
      iface->get_file_info = [](Info* info) { return detail::fileInfo(info); };
    }
    if constexpr (requires { iface->is_gone; }) {
      iface->is_gone = [](Info*) -> gboolean { return FALSE; };
    }
  };
  return detail::registerFake(name, interfaceType, init);
}

}  // namespace vdl::file_manager::testing
