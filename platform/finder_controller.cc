// The selection's items in one buffer.
#include "platform/finder_controller.h"

namespace vdl {

void SelectedItemList::addFile(std::string_view path, std::optional<FileType> knownType) {
  // As a file URL holds it: without a trailing "/", except for the root.
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  items_.push_back({paths_.size(), path.size(), knownType, true});
  paths_.append(path);
}

void SelectedItemList::addOther() {
  items_.push_back({});
}

SelectedItem SelectedItemList::operator[](std::size_t i) const {
  const Item& item = items_[i];
  if (!item.local) return {std::nullopt, item.knownType};
  return {std::string_view(paths_).substr(item.begin, item.length), item.knownType};
}

}  // namespace vdl
