// What a host needs to drive the extension and to report on it, in one
// header: the extension object with its menus and manifest cache, where
// things are, the manifest checker, and text made printable. A host includes
// this, the menu model and the platform wiring, nothing else of the core.
#pragma once

#include <optional>
#include <string_view>

#include "dispatch/quick_url.h"
#include "dispatch/request_publisher.h"
#include "extension/shared_folder.h"
#include "extension/vdl_finder_sync.h"
#include "manifest/manifest_check.h"
#include "text/unicode_text.h"

namespace vdl {

// The file of the request `id` in the shared folder.
FileURL requestFile(const FileURL& sharedFolder, std::string_view id);

}  // namespace vdl
