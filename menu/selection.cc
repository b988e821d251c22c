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

std::vector<FileURL> selectedFiles(FinderController& finder, FileSystem& files) {
  auto reported = finder.selectedItemURLs();
  if (!reported) return {};
  for (const auto& item : *reported) {
    if (!item.url) return {};
  }
  std::vector<FileURL> kept;
  kept.reserve(reported->size());
  for (const auto& item : *reported) {
    auto type = typeOf(item, files);
    if (!type || *type == FileType::directory) continue;
    if (!text::isValidUTF8(item.url->path())) return {};
    kept.push_back(*item.url);
  }
  return kept;
}

}  // namespace vdl
