// A row of a source extension's targets.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vdl {

// A target row: the format, then the tool it needs (when present); later
// strings are carried but mean nothing. Nearly every row is a format and
// perhaps a tool, short enough to share one string's own storage: a large
// manifest's million rows are then not a million allocations to make, and
// to free again when it is replaced. Read like a vector of strings.
class TargetRow {
 public:
  TargetRow() = default;
  TargetRow(std::initializer_list<std::string_view> strings) {
    for (std::string_view s : strings) emplace_back(s);
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::string_view operator[](std::size_t i) const {
    const std::string_view both = formatAndTool_;
    if (i == 0) return both.substr(0, formatLength_);
    if (i == 1) return both.substr(formatLength_);
    return more_[i - 2];
  }
  std::string_view at(std::size_t i) const {
    if (i >= size_) throw std::out_of_range("TargetRow::at");
    return (*this)[i];
  }

  void reserve(std::size_t n) {
    if (n > 2) more_.reserve(n - 2);
  }
  void clear() { *this = TargetRow(); }
  void emplace_back(std::string_view s) {
    if (size_ == 0) formatLength_ = static_cast<std::uint32_t>(s.size());
    if (size_ < 2) {
      formatAndTool_.append(s);
    } else {
      more_.emplace_back(s);
    }
    ++size_;
  }

  friend bool operator==(const TargetRow&, const TargetRow&) = default;

 private:
  std::string formatAndTool_;
  std::vector<std::string> more_;
  std::uint32_t formatLength_ = 0;
  std::uint32_t size_ = 0;
};

}  // namespace vdl
