// JSON paths that name a value inside a manifest: labels.balanced,
// targets.mov[2][0], targets["tar.gz"].
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vdl {

// `parent` + "." + key for a plain identifier, else `parent` + "[\"key\"]".
std::string memberPath(const std::string& parent, std::string_view key);
std::string elementPath(const std::string& parent, std::size_t index);

// A path that is rendered only when a failure needs it, so that decoding a
// sound document builds none. Each step refers to its parent and to its key,
// which must both outlive it: steps live on the stack of the decoder.
class LazyPath {
 public:
  LazyPath() = default;  // the top level
  LazyPath member(std::string_view key) const { return {this, key, 0, true}; }
  LazyPath element(std::size_t index) const { return {this, {}, index, false}; }
  std::string str() const;

 private:
  LazyPath(const LazyPath* parent, std::string_view key, std::size_t index, bool isMember)
      : parent_(parent), key_(key), index_(index), isMember_(isMember) {}
  const LazyPath* parent_ = nullptr;
  std::string_view key_;
  std::size_t index_ = 0;
  bool isMember_ = false;
};

}  // namespace vdl
