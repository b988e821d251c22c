// A GError's message as text, freeing the error.
#pragma once

#include <glib.h>

#include <string>

namespace vdl::linux_platform {

// The message of `error`, which is freed; `otherwise` when there is none.
inline std::string takeMessage(GError* error, const char* otherwise) {
  std::string message = error != nullptr ? error->message : otherwise;
  if (error != nullptr) g_error_free(error);
  return message;
}

}  // namespace vdl::linux_platform
