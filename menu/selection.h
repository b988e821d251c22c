// Which of the items the file manager reports as selected count.
#pragma once

#include <vector>

#include "platform/file_system.h"
#include "platform/finder_controller.h"

namespace vdl {

// The selected items that exist and are not directories (a symbolic link is
// followed), in the file manager's order, duplicates kept. Empty when the
// file manager reports no selection, and when any kept path is not UTF-8: a
// request can't name such a file, so nothing is offered that could only fail.
std::vector<FileURL> selectedFiles(FinderController& finder, FileSystem& files);

}  // namespace vdl
