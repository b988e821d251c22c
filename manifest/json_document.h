// Parses JSON text into a document with bounded nesting, so that no input,
// however deep, can exhaust the stack or memory of the caller.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/expected.h"

namespace vdl {

// How deep a JSON value may nest; a manifest never needs more than four levels.
inline constexpr std::size_t kMaxJSONDepth = 64;

struct JSONError {
  bool tooDeep = false;  // nesting past the bound, as opposed to a syntax fault
  std::string description;
};

// The document, or a description of the first syntax fault with its byte offset.
// Text that is not UTF-8, trailing bytes and numbers too large for a double
// all fail. An integer literal beyond the 64-bit range is held as NaN. A UTF-8 byte-order mark at
// the start is skipped. A member that occurs twice in one object keeps its last value.
Expected<nlohmann::json, JSONError> parseJSONDocument(std::string_view text,
                                                      std::size_t maxDepth = kMaxJSONDepth);

}  // namespace vdl
