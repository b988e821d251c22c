// Which of the items the file manager reports as selected count.
#pragma once

#include <vector>

#include "platform/file_system.h"
#include "platform/finder_controller.h"

namespace vdl {

// The selected items that exist and are not directories (a symbolic link is
// followed), in the file manager's order, duplicates kept. A type the file
// manager reports is taken as it is; the disk is asked only for the others.
//
// Empty when the file manager reports no selection, and when any item is not
// a file of this machine or any kept path is not UTF-8: the extension can't name such an item in a
// request, and a request for only part of what the user picked would act behind their back.
std::vector<FileURL> selectedFiles(FinderController& finder, FileSystem& files);

}  // namespace vdl
