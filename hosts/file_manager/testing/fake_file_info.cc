// The fake file info's GObject side.
#include "hosts/file_manager/testing/fake_file_info.h"

namespace vdl::file_manager::testing {
namespace {

struct FakeClass {
  GObjectClass parent;
};

void finalize(GObject* object) {
  g_clear_object(&reinterpret_cast<FakeFileInfo*>(object)->location);
  g_clear_object(&reinterpret_cast<FakeFileInfo*>(object)->info);
  auto* parent = static_cast<GObjectClass*>(g_type_class_peek_parent(G_OBJECT_GET_CLASS(object)));
  parent->finalize(object);
}

void initClass(gpointer klass, gpointer) {
  static_cast<GObjectClass*>(klass)->finalize = &finalize;
}

GObject* make(GType type, GFile* location) {
  auto* info = static_cast<FakeFileInfo*>(g_object_new(type, nullptr));
  info->location = location;
  info->type = g_file_query_file_type(location, G_FILE_QUERY_INFO_NONE, nullptr);
  info->info = g_file_info_new();
  g_file_info_set_file_type(info->info, info->type);
  return G_OBJECT(info);
}

}  // namespace

namespace detail {

GType registerFake(const char* name, GType interfaceType, GInterfaceInitFunc init) {
  // Registered once per process, however often it is asked for.
  if (GType known = g_type_from_name(name)) return known;
  GType type = g_type_register_static_simple(G_TYPE_OBJECT, name, sizeof(FakeClass), &initClass,
                                             sizeof(FakeFileInfo), nullptr, GTypeFlags{});
  GInterfaceInfo info{init, nullptr, nullptr};
  g_type_add_interface_static(type, interfaceType, &info);
  return type;
}

GFile* location(gpointer info) {
  return G_FILE(g_object_ref(static_cast<FakeFileInfo*>(info)->location));
}

GFileType fileType(gpointer info) {
  return static_cast<FakeFileInfo*>(info)->type;
}

GFileInfo* fileInfo(gpointer info) {
  return static_cast<GFileInfo*>(g_object_ref(static_cast<FakeFileInfo*>(info)->info));
}

}  // namespace detail

GObject* fakeFileInfo(GType type, const std::string& uri) {
  return make(type, g_file_new_for_uri(uri.c_str()));
}

GList* fakeFileInfos(GType type, const std::vector<std::string>& paths) {
  GList* list = nullptr;
  for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
    list = g_list_prepend(list, make(type, g_file_new_for_path(it->c_str())));
  }
  return list;
}

}  // namespace vdl::file_manager::testing
