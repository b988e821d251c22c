// The file manager's side of the contract: which directories the extension
// serves, and what the user has selected.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/file_url.h"

namespace vdl {

// One selected item, as the file manager reports it.
struct SelectedItem {
  // The item's path when it is a file of this machine; none for any other
  // item (the trash, a remote folder, a file URL of another host: see
  // namesThisMachine).
  std::optional<std::string_view> path;
  // The item's type with links followed, where the file manager knows it;
  // none: the disk is asked.
  std::optional<FileType> knownType;
};

// The items the file manager reports as selected, in its order. Their paths
// share one buffer: a selection may hold 100,000 files, and a menu is built
// on the file manager's UI thread at every selection change.
class SelectedItemList {
 public:
  // Adds a file of this machine at the absolute `path`.
  void addFile(std::string_view path, std::optional<FileType> knownType = std::nullopt);
  // Adds an item that is no file of this machine.
  void addOther();

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  // The item at `i`; its path points into this list.
  SelectedItem operator[](std::size_t i) const;

 private:
  struct Item {
    std::size_t begin = 0, length = 0;
    std::optional<FileType> knownType;
    bool local = false;
  };
  std::string paths_;
  std::vector<Item> items_;
};

// A snapshot of the selection, shared rather than copied: a file manager's
// module keeps it for the items of its menu. Null: no selection.
using SelectedItems = std::shared_ptr<const SelectedItemList>;

class FinderController {
 public:
  virtual ~FinderController() = default;
  // Replaces the directories below which the file manager asks for menus.
  virtual void setDirectoryURLs(const std::set<FileURL>& urls) = 0;
  // The items selected at the moment of the call, in the file manager's
  // order, or none.
  virtual SelectedItems selectedItemURLs() = 0;
};

}  // namespace vdl
