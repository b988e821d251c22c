// Strict decoding of a manifest document: a complete MenuManifest, or the
// reason there is none, naming the offending key by its JSON path.
#pragma once

#include <string>
#include <string_view>

#include "manifest/menu_manifest.h"
#include "platform/expected.h"

namespace vdl {

// What kind of fault ended the decoding.
enum class DecodeErrorCode {
  syntax,        // not JSON: the text as a whole is at fault
  tooDeep,       // nesting past kMaxJSONDepth
  notAnObject,   // the top level is no object
  missingKey,    // a required key is absent
  nullKey,       // a required key is null
  wrongType,     // a value of another type than the key wants
  outOfRange,    // a number beyond the signed 64-bit range
  notAnInteger,  // a number with a fraction where an integer is wanted
  internal,      // the decoder itself failed (out of memory)
};

// The code's name as a program reads it: "syntax", "missingKey", ...
const char* decodeErrorCodeName(DecodeErrorCode code);

struct DecodeError {
  DecodeErrorCode code = DecodeErrorCode::syntax;
  // The JSON path of the offending value ("labels.balanced", "targets.mov[2][0]");
  // empty when the text as a whole is at fault.
  std::string path;
  std::string reason;

  std::string description() const { return path.empty() ? reason : path + ": " + reason; }
  friend bool operator==(const DecodeError&, const DecodeError&) = default;
};

// Decodes `text` by the manifest rules. Fields are read in their declared
// order and the first that fails ends the decoding. A syntax fault anywhere
// in the text takes precedence over every field.
Expected<MenuManifest, DecodeError> decodeManifest(std::string_view text);

}  // namespace vdl
