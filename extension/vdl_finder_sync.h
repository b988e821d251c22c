// The extension's principal object: the file manager creates it, asks it for
// menus and hands it the chosen items.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "extension/finder_sync_extension.h"
#include "platform/file_url.h"
#include "platform/platform.h"

namespace vdl {

class VDLFinderSync final : public FinderSyncExtension {
 public:
  // Fixes the shared folder and registers the served directories, "/" and
  // "/Volumes". Creates no folder and reads no file.
  explicit VDLFinderSync(Platform& platform);

  std::optional<Menu> menu(std::uint64_t kind) override;
  void choose(const MenuItem& item) override;

  // The shared folder, for hosts that report where things are.
  const FileURL& sharedFolder() const { return folder; }

 private:
  Platform& platform_;
  const FileURL folder;
};

}  // namespace vdl
