// The file manager's side of the contract: which directories the extension
// serves, and what the user has selected.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/file_url.h"

namespace vdl {

// One selected item as the file manager reports it, with what it already
// knows of it, so that the core need not ask the disk again.
struct SelectedItem {
  // The item's path when the file manager reports a file URL; none for any
  // other item (the trash, a remote folder).
  std::optional<FileURL> url;
  // The file URL's host, as reported: only empty or "localhost" is this machine.
  std::string host;
  // The item's type with links followed, where the file manager knows it;
  // none: the disk is asked.
  std::optional<FileType> knownType;
};

class FinderController {
 public:
  virtual ~FinderController() = default;
  // Replaces the directories below which the file manager asks for menus.
  virtual void setDirectoryURLs(const std::set<FileURL>& urls) = 0;
  // The items selected at the moment of the call, in the file manager's
  // order, or none.
  virtual std::optional<std::vector<SelectedItem>> selectedItemURLs() = 0;
};

}  // namespace vdl
