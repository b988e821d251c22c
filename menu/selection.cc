// Filtering the file manager's selection.
#include "menu/selection.h"

#include "text/unicode_text.h"

namespace vdl {
namespace {

bool isLocalHost(std::string_view host) {
  constexpr std::string_view kLocalhost = "localhost";
  if (host.empty()) return true;
  if (host.size() != kLocalhost.size()) return false;
  for (std::size_t i = 0; i < host.size(); ++i) {
    char c = host[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kLocalhost[i]) return false;
  }
  return true;
}

bool namesLocalFile(const SelectedItem& item) {
  return item.url && isLocalHost(item.host);
}

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
    if (!namesLocalFile(item)) return {};
  }
  std::vector<FileURL> kept;
  kept.reserve(reported->size());
  for (auto& item : *reported) {
    auto type = typeOf(item, files);
    if (!type || *type == FileType::directory) continue;
    if (!text::isValidUTF8(item.url->path())) return {};
    kept.push_back(std::move(*item.url));
  }
  return kept;
}

}  // namespace vdl
