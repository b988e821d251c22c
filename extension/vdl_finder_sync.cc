// The extension object: construction, and the two calls of the file manager.
#include "extension/vdl_finder_sync.h"

#include "extension/shared_folder.h"

namespace vdl {

VDLFinderSync::VDLFinderSync(Platform& platform)
    : platform_(platform), folder(sharedFolderURL(platform.users, hostBundleIdentifier())) {
  platform_.finder.setDirectoryURLs(
      {FileURL::fileURLWithPath("/", true), FileURL::fileURLWithPath("/Volumes", true)});
}

std::optional<Menu> VDLFinderSync::menu(std::uint64_t) {
  return std::nullopt;
}

void VDLFinderSync::choose(const MenuItem&) {}

}  // namespace vdl
