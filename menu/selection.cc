// Filtering the file manager's selection.
#include "menu/selection.h"

#include "text/unicode_text.h"

namespace vdl {
namespace {

std::optional<FileType> typeOf(const SelectedItem& item, FileSystem& files, KnownTypes known) {
  // A link the file manager didn't follow says nothing of what it points at.
  if (known == KnownTypes::taken && item.knownType && *item.knownType != FileType::symlink) {
    return item.knownType;
  }
  auto status = files.status(std::string(*item.path));
  if (!status) return std::nullopt;
  return status->type;
}

}  // namespace

SelectedFiles::SelectedFiles(const std::vector<FileURL>& urls) {
  auto items = std::make_shared<SelectedItemList>();
  for (const auto& url : urls) {
    kept_.push_back(items->size());
    items->addFile(url.path());
  }
  items_ = std::move(items);
}

SelectedFiles selectedFiles(FinderController& finder, FileSystem& files, KnownTypes known) {
  auto reported = finder.selectedItemURLs();
  if (!reported) return {};
  std::vector<std::size_t> kept;
  kept.reserve(reported->size());
  for (std::size_t i = 0; i < reported->size(); ++i) {
    if (!(*reported)[i].path) return {};
  }
  for (std::size_t i = 0; i < reported->size(); ++i) {
    auto item = (*reported)[i];
    auto type = typeOf(item, files, known);
    if (!type || *type == FileType::directory) continue;
    if (!text::isValidUTF8(*item.path)) return {};
    kept.push_back(i);
  }
  return SelectedFiles(std::move(reported), std::move(kept));
}

}  // namespace vdl
