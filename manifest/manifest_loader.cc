// The manifest cache and its eight steps.
#include "manifest/manifest_loader.h"

#include "manifest/manifest_decoder.h"

namespace vdl {
namespace {

// The modification date of menu.json, following a symbolic link so that the
// date belongs to the content that is read. No date when it can't be examined.
std::optional<FileTime> modificationDate(FileSystem& files, const FileURL& file) {
  auto status = files.status(file.path());
  if (!status) return std::nullopt;
  return status->modified;
}

}  // namespace

Expected<std::string> readManifestFile(FileSystem& files, const std::string& path) {
  auto opened = files.openForReading(path);
  if (!opened) return opened.error();
  return (*opened)->readAll(kMaxManifestBytes);
}

ManifestCache::ManifestCache(const FileURL& sharedFolder)
    : menuFile_(sharedFolder.appendingPathComponent("menu.json")) {}

std::optional<FileURL> ManifestCache::sourceFor(const std::optional<FileTime>& date,
                                                Bundle& bundle) const {
  if (date) return menuFile_;
  return bundle.urlForResource("fallback-menu", "json");
}

std::optional<FileURL> ManifestCache::fileInForce(FileSystem& files, Bundle& bundle) const {
  return sourceFor(modificationDate(files, menuFile_), bundle);
}

ManifestSnapshot ManifestCache::load(FileSystem& files, Bundle& bundle) {
  std::optional<FileTime> date = modificationDate(files, menuFile_);
  if (manifest && date == manifestModified) return manifest;

  std::optional<FileURL> source = sourceFor(date, bundle);
  if (!source) return manifest;
  auto content = readManifestFile(files, source->path());
  if (!content) return manifest;
  auto decoded = decodeManifest(*content);
  if (!decoded) return manifest;

  manifest = std::make_shared<const IndexedManifest>(std::move(*decoded), *source);
  manifestModified = date;
  return manifest;
}

}  // namespace vdl
