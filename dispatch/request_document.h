// The request file's JSON document: what to do, and with which files.
#pragma once

#include <string>
#include <vector>

#include "menu/choice.h"
#include "menu/selection.h"
#include "platform/expected.h"
#include "platform/file_url.h"

namespace vdl {

// The compact document {"id", "createdAt", "action", "files"}. Fails when a
// path is not valid UTF-8: such a path can't be written as a JSON string, and
// a mangled one must never reach the host application.
Expected<std::string> requestDocument(const std::string& id, double createdAt, const Choice& choice,
                                      const SelectedFiles& files);

}  // namespace vdl
