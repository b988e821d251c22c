// The manifest in force: menu.json in the shared folder while it has a
// modification date, else the bundle's fallback copy, cached by that date.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "manifest/manifest_index.h"
#include "platform/bundle.h"
#include "platform/expected.h"
#include "platform/file_system.h"

namespace vdl {

// A manifest file larger than this is refused as unreadable; real manifests
// are a few hundred kilobytes at most.
inline constexpr std::size_t kMaxManifestBytes = 16u << 20;

// The whole content of the manifest file at `path`, as loading reads it, or
// why it can't be read (too large included).
Expected<std::string> readManifestFile(FileSystem& files, const std::string& path);

// The manifest cache: menu.json in the shared folder, keyed by its date, or
// the bundle's fallback copy while menu.json has none.
class ManifestCache {
 public:
  explicit ManifestCache(const FileURL& sharedFolder);

  // The current manifest, or none. A hit (the date of menu.json equals the
  // cached one, both none included) costs one status call and reads nothing;
  // a failed read or decode keeps the cache as it was and answers with it.
  ManifestSnapshot load(FileSystem& files, Bundle& bundle);

  // The file loading would read now: menu.json while it has a date, else the
  // bundle's fallback copy; none when there is neither.
  std::optional<FileURL> fileInForce(FileSystem& files, Bundle& bundle) const;

  // Whether the cached manifest is the bundle's fallback copy.
  bool isFallback() const { return manifest != nullptr && !manifestModified; }

 private:
  // menu.json while it has a date, else the bundle's fallback copy, if any.
  std::optional<FileURL> sourceFor(const std::optional<FileTime>& date, Bundle& bundle) const;

  FileURL menuFile_;
  ManifestSnapshot manifest;
  std::optional<FileTime> manifestModified;
};

}  // namespace vdl
