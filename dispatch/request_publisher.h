// Publishing a request file so that a reader of the published name only ever
// sees a complete, durable document.
#pragma once

#include <string>

#include "platform/expected.h"
#include "platform/file_system.h"
#include "platform/file_url.h"

namespace vdl {

// The requests folder inside the shared folder.
FileURL requestsFolder(const FileURL& sharedFolder);

// Creates the requests folder and any missing folder above it. The shared
// folder and the requests folder get 0700, folders above them 0755. A
// requests folder that is a symbolic link or not a directory fails: the
// extension writes only inside the shared folder. A folder above it, the
// shared folder included, may be a link to a folder (a home, or its Library,
// kept on another disk).
Status createRequestsFolder(FileSystem& files, const FileURL& sharedFolder);
// What createRequestsFolder would meet, creating nothing: its failure, or
// success when every folder on the way is there or can be made.
Status checkRequestsFolder(FileSystem& files, const FileURL& sharedFolder);

// Opens the requests folder once, refusing a symbolic link, and through that
// handle writes `bytes` to ".<id>.json" (0600, flushed to disk), renames it to
// "<id>.json" without ever replacing a file, and flushes the folder. A
// failed write removes the hidden file; a failed rename leaves it complete
// under its hidden name; a failed flush of the folder takes the published
// name back, so that nothing stays published that may not survive.
Status publishRequest(FileSystem& files, const FileURL& requests, const std::string& id,
                      const std::string& bytes);

}  // namespace vdl
