// Where the shared folder is.
#include "extension/shared_folder.h"

#include <string>

#include "vandrel_config.h"

namespace vdl {

std::string_view hostBundleIdentifier() {
  return VANDREL_HOST_BUNDLE_ID;
}

FileURL sharedFolderURL(UserDatabase& users, std::string_view bundleIdentifier) {
  // The user database's home is the one the sandbox exception is relative to.
  auto home = users.realUserHome();
  FileURL homeURL = FileURL::fileURLWithPath(home ? *home : users.homeDirectoryForCurrentUser(),
                                             /*isDirectory=*/true);
  return homeURL.appendingPathComponent(
      "Library/Application Support/" + std::string(bundleIdentifier) + "/FinderSync",
      /*isDirectory=*/true);
}

}  // namespace vdl
