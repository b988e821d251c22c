// Filtering the file manager's selection.
#include "menu/selection.h"

#include "text/unicode_text.h"

namespace vdl {

std::vector<FileURL> selectedFiles(FinderController& finder, FileSystem& files) {
  auto reported = finder.selectedItemURLs();
  if (!reported) return {};
  std::vector<FileURL> kept;
  kept.reserve(reported->size());
  for (auto& url : *reported) {
    auto status = files.status(url.path());
    if (status && status->type != FileType::directory) {
      if (!text::isValidUTF8(url.path())) return {};
      kept.push_back(std::move(url));
    }
  }
  return kept;
}

}  // namespace vdl
