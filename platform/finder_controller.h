// The file manager's side of the contract: which directories the extension
// serves, and what the user has selected.
#pragma once

#include <optional>
#include <set>
#include <vector>

#include "platform/file_url.h"

namespace vdl {

class FinderController {
 public:
  virtual ~FinderController() = default;
  // Replaces the directories below which the file manager asks for menus.
  virtual void setDirectoryURLs(const std::set<FileURL>& urls) = 0;
  // The items selected at the moment of the call, in the file manager's
  // order, or none.
  virtual std::optional<std::vector<FileURL>> selectedItemURLs() = 0;
};

}  // namespace vdl
