// The fake file info's type: a GObject that answers get_location.
#include "hosts/nautilus/testing/fake_file_info.h"

namespace {

struct VdlFakeFileInfo {
  GObject parent;
  GFile* location;
  GFileType type;
};

struct VdlFakeFileInfoClass {
  GObjectClass parent;
};

void initFileInfo(NautilusFileInfoInterface* iface);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wcast-function-type"
#pragma GCC diagnostic ignored "-Wunused-function"
G_DEFINE_TYPE_WITH_CODE(VdlFakeFileInfo, vdl_fake_file_info, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(NAUTILUS_TYPE_FILE_INFO, initFileInfo))
#pragma GCC diagnostic pop

GFile* location(NautilusFileInfo* info) {
  return G_FILE(g_object_ref(reinterpret_cast<VdlFakeFileInfo*>(info)->location));
}

GFileType fileType(NautilusFileInfo* info) {
  return reinterpret_cast<VdlFakeFileInfo*>(info)->type;
}

gboolean isGone(NautilusFileInfo*) {
  return FALSE;
}

void initFileInfo(NautilusFileInfoInterface* iface) {
  iface->get_location = &location;
  iface->get_file_type = &fileType;
  iface->is_gone = &isGone;
}

// As Nautilus lists a folder: the type found when listed, links followed.
NautilusFileInfo* make(GFile* location) {
  auto* info = static_cast<VdlFakeFileInfo*>(g_object_new(vdl_fake_file_info_get_type(), nullptr));
  info->location = location;
  info->type = g_file_query_file_type(location, G_FILE_QUERY_INFO_NONE, nullptr);
  return reinterpret_cast<NautilusFileInfo*>(info);
}

void finalize(GObject* object) {
  g_clear_object(&reinterpret_cast<VdlFakeFileInfo*>(object)->location);
  G_OBJECT_CLASS(vdl_fake_file_info_parent_class)->finalize(object);
}

void vdl_fake_file_info_class_init(VdlFakeFileInfoClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = &finalize;
}

void vdl_fake_file_info_init(VdlFakeFileInfo*) {}

}  // namespace

namespace vdl::nautilus::testing {

NautilusFileInfo* fakeFileInfo(const std::string& uri) {
  return make(g_file_new_for_uri(uri.c_str()));
}

GList* fakeFileInfos(const std::vector<std::string>& paths) {
  GList* list = nullptr;
  for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
    list = g_list_prepend(list, make(g_file_new_for_path(it->c_str())));
  }
  return list;
}

}  // namespace vdl::nautilus::testing
