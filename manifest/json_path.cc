// Building JSON paths.
#include "manifest/json_path.h"

#include <nlohmann/json.hpp>

namespace vdl {
namespace {

bool isIdentifier(std::string_view key) {
  if (key.empty()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    char c = key[i];
    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    bool digit = c >= '0' && c <= '9';
    if (!letter && !(digit && i > 0)) return false;
  }
  return true;
}

}  // namespace

std::string memberPath(const std::string& parent, std::string_view key) {
  if (isIdentifier(key)) return parent.empty() ? std::string(key) : parent + "." + std::string(key);
  return parent + "[" +
         nlohmann::json(std::string(key))
             .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
         "]";
}

std::string elementPath(const std::string& parent, std::size_t index) {
  return parent + "[" + std::to_string(index) + "]";
}

std::string LazyPath::str() const {
  if (parent_ == nullptr) return {};
  std::string parent = parent_->str();
  return isMember_ ? memberPath(parent, key_) : elementPath(parent, index_);
}

}  // namespace vdl
