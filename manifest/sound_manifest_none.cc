// Where no fast parser is at hand, every manifest takes the full decoder.
#include "manifest/sound_manifest.h"

namespace vdl {

std::optional<MenuManifest> decodeSoundManifest(std::string_view) {
  return std::nullopt;
}

}  // namespace vdl
