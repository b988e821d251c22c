// Path arithmetic behind FileURL.
#include "platform/file_url.h"

namespace vdl {
namespace {

// Drops trailing slashes, keeping a lone "/" for the root.
std::string trimmed(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  return std::string(path);
}

}  // namespace

bool namesThisMachine(std::string_view host) {
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

FileURL FileURL::fileURLWithPath(std::string_view path, bool isDirectory) {
  bool dir = isDirectory || (!path.empty() && path.back() == '/');
  return FileURL(trimmed(path), dir);
}

std::string FileURL::directoryAwarePath() const {
  if (isDirectory_ && path_ != "/") return path_ + "/";
  return path_;
}

FileURL FileURL::appendingPathComponent(std::string_view component, bool isDirectory) const {
  std::string p = path_;
  if (p.empty() || p.back() != '/') p += '/';
  p += component;
  return fileURLWithPath(p, isDirectory);
}

FileURL FileURL::deletingLastPathComponent() const {
  auto slash = path_.rfind('/');
  if (slash == std::string::npos) return FileURL("", true);
  if (slash == 0) return FileURL("/", true);
  return FileURL(path_.substr(0, slash), true);
}

std::string FileURL::lastPathComponent() const {
  if (path_ == "/") return "/";
  auto slash = path_.rfind('/');
  return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

std::string_view pathExtension(std::string_view path) {
  auto slash = path.rfind('/');
  std::string_view name(path);
  if (slash != std::string::npos) name.remove_prefix(slash + 1);
  auto dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || name == "..") return {};
  return name.substr(dot + 1);
}

}  // namespace vdl
