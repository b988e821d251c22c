// Which of the items the file manager reports as selected count.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/finder_controller.h"

namespace vdl {

// The selected files: the paths of a selection snapshot that count, in the
// file manager's order. It shares the snapshot instead of copying its paths,
// which for 100,000 files would cost more than the rest of a menu; a plain
// list of URLs converts to one.
class SelectedFiles {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;

    Iterator() = default;
    Iterator(const SelectedFiles* files, std::size_t index) : files_(files), index_(index) {}
    std::string_view operator*() const { return (*files_)[index_]; }
    Iterator& operator++() {
      ++index_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++index_;
      return before;
    }
    friend bool operator==(const Iterator&, const Iterator&) = default;

   private:
    const SelectedFiles* files_ = nullptr;
    std::size_t index_ = 0;
  };

  SelectedFiles() = default;
  // All of `urls`, in their order.
  SelectedFiles(const std::vector<FileURL>& urls);  // NOLINT(google-explicit-constructor)
  // The items of `items` at the positions `kept`, each of which has a path.
  SelectedFiles(SelectedItems items, std::vector<std::size_t> kept)
      : items_(std::move(items)), kept_(std::move(kept)) {}

  std::size_t size() const { return kept_.size(); }
  bool empty() const { return kept_.empty(); }
  // The path of the file at `i`; it lives as long as this list.
  std::string_view operator[](std::size_t i) const { return *(*items_)[kept_[i]].path; }
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, kept_.size()}; }

 private:
  SelectedItems items_;
  std::vector<std::size_t> kept_;
};

// Whether the types the file manager reports with its items are taken as they
// are (for a menu, built at every selection change, when they are fresh and a
// `stat` per file would cost a frame) or the disk answers for every item (at a
// click, when what the file manager knew at menu time may be stale).
enum class KnownTypes { taken, ignored };

// The selected items that exist and are not directories (a symbolic link is
// followed), in the file manager's order, duplicates kept. The disk is asked
// for every item whose type is not taken from the file manager (`known`).
//
// Empty when the file manager reports no selection, and when any item is not
// a file of this machine or any kept path is not UTF-8: the extension can't
// name such an item in a request, and a request for only part of what the
// user picked would act behind their back.
SelectedFiles selectedFiles(FinderController& finder, FileSystem& files, KnownTypes known);

}  // namespace vdl
