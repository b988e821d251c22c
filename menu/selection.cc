// Filtering the file manager's selection.
#include "menu/selection.h"

#include "text/unicode_text.h"

namespace vdl {
namespace {

std::optional<FileType> typeOf(const SelectedItem& item, FileSystem& files) {
  // A link the file manager didn't follow says nothing of what it points at.
  if (item.knownType && *item.knownType != FileType::symlink) return item.knownType;
  auto status = files.status(item.url->path());
  if (!status) return std::nullopt;
  return status->type;
}

}  // namespace

SelectedFiles::SelectedFiles(std::vector<FileURL> urls) {
  auto items = std::make_shared<std::vector<SelectedItem>>();
  items->reserve(urls.size());
  for (auto& url : urls) {
    kept_.push_back(items->size());
    items->push_back({std::move(url), std::nullopt});
  }
  items_ = std::move(items);
}

SelectedFiles selectedFiles(FinderController& finder, FileSystem& files) {
  auto reported = finder.selectedItemURLs();
  if (!reported) return {};
  for (const auto& item : *reported) {
    if (!item.url) return {};
  }
  std::vector<std::size_t> kept;
  kept.reserve(reported->size());
  for (std::size_t i = 0; i < reported->size(); ++i) {
    const auto& item = (*reported)[i];
    auto type = typeOf(item, files);
    if (!type || *type == FileType::directory) continue;
    if (!text::isValidUTF8(item.url->path())) return {};
    kept.push_back(i);
  }
  return SelectedFiles(std::move(reported), std::move(kept));
}

}  // namespace vdl
