// A file info as Nautilus hands its extensions, for a location of the test's
// choosing. Nautilus's own constructors need the running file manager.
#pragma once

#include <gio/gio.h>

#include <string>
#include <vector>

extern "C" {
#include <nautilus-extension.h>
}

namespace vdl::nautilus::testing {

// A new file info (one reference) for `location`, which may be any URI,
// knowing the type the location has now.
NautilusFileInfo* fakeFileInfo(const std::string& uri);
// A new list of new file infos for local `paths`; free with
// nautilus_file_info_list_free.
GList* fakeFileInfos(const std::vector<std::string>& paths);

}  // namespace vdl::nautilus::testing
