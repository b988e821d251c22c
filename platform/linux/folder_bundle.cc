// Resource lookup in a bundle folder.
#include "platform/linux/folder_bundle.h"

#include <array>

namespace vdl::linux_platform {

std::optional<FileURL> FolderBundle::urlForResource(const std::string& name,
                                                    const std::string& extension) {
  FileURL url = folder_.appendingPathComponent(extension.empty() ? name : name + "." + extension);
  auto st = files_.status(url.path());
  if (!st || st->type != FileType::regular) return std::nullopt;
  return url;
}

std::optional<Image> FolderBundle::imageNamed(const std::string& name) {
  for (const char* extension : {"png", "svg"}) {
    if (auto url = urlForResource(name, extension)) return Image{name, *url};
  }
  return std::nullopt;
}

}  // namespace vdl::linux_platform
