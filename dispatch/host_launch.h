// Waking the host application with the id of a published request.
#pragma once

#include <string>

#include "platform/bundle.h"
#include "platform/services.h"
#include "platform/workspace.h"

namespace vdl {

// Opens the quick URL with the host application, without activating it; on
// failure, through the scheme's registered handler; when that fails too,
// logs one line. Returns at once. `workspace` and `log` must outlive the
// completion handlers.
void openHostApp(const std::string& requestID, Bundle& bundle, Workspace& workspace, Log& log);

}  // namespace vdl
