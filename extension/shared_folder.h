// The one folder that the extension and the host application share.
#pragma once

#include <string_view>

#include "platform/file_url.h"
#include "platform/user_database.h"

namespace vdl {

// The host application's bundle identifier, fixed when the extension is built.
std::string_view hostBundleIdentifier();

// home + "Library/Application Support/" + bundle identifier + "/FinderSync/",
// where home is the user database's home of the real user, or the platform's
// home directory when the database gives none. Touches no file.
FileURL sharedFolderURL(UserDatabase& users, std::string_view bundleIdentifier);

}  // namespace vdl
