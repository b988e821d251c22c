// The quick URL and the host application's address.
#include "dispatch/quick_url.h"

namespace vdl {
namespace {

constexpr std::string_view kQuickPrefix = "vandrel://quick?id=";

}  // namespace

FileURL hostApplicationURL(const FileURL& extensionBundle) {
  return extensionBundle.deletingLastPathComponent()
      .deletingLastPathComponent()
      .deletingLastPathComponent();
}

bool isRequestID(std::string_view id) {
  if (id.size() != 36) return false;
  for (std::size_t i = 0; i < id.size(); ++i) {
    char c = id[i];
    bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
    if (hyphen ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::string quickURL(std::string_view requestID) {
  return std::string(kQuickPrefix) + std::string(requestID);
}

std::optional<std::string> requestIDFromQuickURL(std::string_view url) {
  if (url.substr(0, kQuickPrefix.size()) != kQuickPrefix) return std::nullopt;
  auto id = url.substr(kQuickPrefix.size());
  if (!isRequestID(id)) return std::nullopt;
  return std::string(id);
}

}  // namespace vdl
