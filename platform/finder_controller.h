// The file manager's side of the contract: which directories the extension
// serves, and what the user has selected.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "platform/file_system.h"
#include "platform/file_url.h"

namespace vdl {

// One selected item as the file manager reports it, with what it already
// knows of it, so that the core need not ask the disk again.
struct SelectedItem {
  // The item's path when it is a file of this machine; none for any other
  // item (the trash, a remote folder, a file URL of another host: see
  // namesThisMachine).
  std::optional<FileURL> url;
  // The item's type with links followed, where the file manager knows it;
  // none: the disk is asked.
  std::optional<FileType> knownType;
};

// A snapshot of the selection, shared rather than copied: it may hold many
// thousands of items, and a file manager's module keeps it for the items of
// its menu. Null: the file manager reports no selection.
using SelectedItems = std::shared_ptr<const std::vector<SelectedItem>>;

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
