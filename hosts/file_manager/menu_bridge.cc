// The parts of the bridge that don't depend on the file manager.
#include "hosts/file_manager/menu_bridge.h"

namespace vdl::file_manager {

std::string mnemonicEscaped(const std::string& title) {
  std::string escaped;
  escaped.reserve(title.size());
  for (char c : title) {
    if (c == '_') escaped += '_';
    escaped += c;
  }
  return escaped;
}

std::optional<FileType> knownType(GFileType type) {
  switch (type) {
    case G_FILE_TYPE_REGULAR:
      return FileType::regular;
    case G_FILE_TYPE_DIRECTORY:
      return FileType::directory;
    case G_FILE_TYPE_SPECIAL:
      return FileType::other;
    default:
      // Unknown, or a link that its target didn't replace: a broken one.
      return std::nullopt;
  }
}

namespace detail {

void activate(GObject*, gpointer activation) {
  auto* a = static_cast<Activation*>(activation);
  a->session->choose(a->files, a->tag);
}

void forget(gpointer activation, GClosure*) {
  delete static_cast<Activation*>(activation);
}

void releaseItems(gpointer items, GObject*) {
  for (GList* l = static_cast<GList*>(items); l; l = l->next) {
    g_object_unref(l->data);
    g_object_unref(l->data);
  }
  g_list_free(static_cast<GList*>(items));
}

}  // namespace detail
}  // namespace vdl::file_manager
