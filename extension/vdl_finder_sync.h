// The extension's principal object: the file manager creates it, asks it for
// menus and hands it the chosen items.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "extension/finder_sync_extension.h"
#include "manifest/manifest_loader.h"
#include "menu/selection.h"
#include "platform/file_url.h"
#include "platform/platform.h"

namespace vdl {

// Not thread-safe: the host must not run menu() and choose() of one object at
// the same time, since both pass through the manifest cache.
class VDLFinderSync final : public FinderSyncExtension {
 public:
  // Fixes the shared folder and registers the served directories, "/" and
  // "/Volumes". Creates no folder and reads no file.
  explicit VDLFinderSync(Platform& platform);

  // The context menu for the selected items (kind 0), or none. Never throws.
  std::optional<Menu> menu(std::uint64_t kind) override;
  // Publishes the request for the chosen item and wakes the host application.
  // Never throws: a failure that escapes a step is logged as that step's.
  void choose(const MenuItem& item) override;
  // choose() for hosts that report what it did: the id of the request it
  // published, if it got that far (waking the host may still have failed).
  std::optional<std::string> publishChoice(const MenuItem& item);

  // For hosts that report: the shared folder, and the manifest cache, which
  // answers what the next menu request would load and from where.
  const FileURL& sharedFolder() const { return folder; }
  ManifestCache& manifestCache() { return manifest; }

 private:
  std::optional<Menu> menuFor(std::uint64_t kind);
  // Sets `published` to the request's id once its file is in place.
  void chooseItem(const MenuItem& item, std::optional<std::string>& published);
  void logFailure(bool published, const char* what) noexcept;
  ManifestSnapshot loadManifest();
  SelectedFiles selectedFiles(KnownTypes known);
  void openHostApp(const std::string& requestID);
  void logWriteFailure(const Error& error);

  Platform& platform_;
  const FileURL folder;
  // The cached manifest and its date; only loadManifest() loads it.
  ManifestCache manifest;
};

}  // namespace vdl
