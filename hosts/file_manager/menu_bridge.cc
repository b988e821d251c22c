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

namespace detail {

void activate(GObject*, gpointer activation) {
  auto* a = static_cast<Activation*>(activation);
  a->session->choose(*a->files, a->tag);
}

void forget(gpointer activation, GClosure*) {
  delete static_cast<Activation*>(activation);
}

}  // namespace detail
}  // namespace vdl::file_manager
