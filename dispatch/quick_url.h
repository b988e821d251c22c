// The host application's address and the quick URL that wakes it: built and
// read back in this one place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_url.h"

namespace vdl {

// The host application: the extension's bundle with its last path component
// removed three times (appex, PlugIns, Contents lead back to the app).
FileURL hostApplicationURL(const FileURL& extensionBundle);

// Whether `id` is a request id: a UUID in its 36-character form, lower case.
bool isRequestID(std::string_view id);

// "vandrel://quick?id=" + the id, unchanged.
std::string quickURL(std::string_view requestID);

// The request id a quick URL carries; none for any other text.
std::optional<std::string> requestIDFromQuickURL(std::string_view url);

}  // namespace vdl
