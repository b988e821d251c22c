// The manifest in force: menu.json in the shared folder while it has a
// modification date, else the bundle's fallback copy, cached by that date.
#pragma once

#include <cstddef>
#include <optional>

#include "manifest/manifest_index.h"
#include "platform/bundle.h"
#include "platform/file_system.h"

namespace vdl {

// A manifest file larger than this is refused as unreadable; real manifests
// are a few hundred kilobytes at most.
inline constexpr std::size_t kMaxManifestBytes = 16u << 20;

// Returns the current manifest, or none. `manifest` and `manifestModified` are
// the cache, and only this function changes them: a hit (the date of menu.json
// equals `manifestModified`, both none included) costs one status call and
// reads nothing; a failed read or decode leaves both as they were and answers
// with the cached manifest.
ManifestSnapshot loadManifest(const FileURL& folder, FileSystem& files, Bundle& bundle,
                              ManifestSnapshot& manifest,
                              std::optional<FileTime>& manifestModified);

}  // namespace vdl
