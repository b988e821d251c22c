// The widths a menu font has measured, so that a font that hasn't changed
// measures each text once: a file manager asks for a menu at every selection
// change, and its titles are mostly the same few, while laying out a text
// costs more than the rest of a one-file menu.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vdl::file_manager {

class RememberedWidths {
 public:
  // The width of `text`, from `measure(text)` the first time.
  template <class Measure>
  double width(std::string_view text, Measure&& measure) {
    if (auto it = widths_.find(text); it != widths_.end()) return it->second;
    double measured = measure(text);
    // Bounded: a long session sees many formats' titles.
    if (widths_.size() >= kMostRemembered) widths_.clear();
    widths_.emplace(std::string(text), measured);
    return measured;
  }
  // For a font that has changed.
  void forget() { widths_.clear(); }

 private:
  static constexpr std::size_t kMostRemembered = 4096;
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  std::unordered_map<std::string, double, Hash, std::equal_to<>> widths_;
};

}  // namespace vdl::file_manager
