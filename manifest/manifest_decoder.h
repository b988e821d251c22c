// Strict decoding of a manifest document: a complete MenuManifest, or the
// reason there is none, naming the offending key by its JSON path.
#pragma once

#include <string>
#include <string_view>

#include "manifest/menu_manifest.h"
#include "platform/expected.h"

namespace vdl {

struct DecodeError {
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
