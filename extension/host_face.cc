// Reports for hosts.
#include "extension/host_face.h"

#include "dispatch/request_publisher.h"

namespace vdl {

std::optional<FileURL> requestFileForQuickURL(const FileURL& sharedFolder, std::string_view url) {
  auto id = requestIDFromQuickURL(url);
  if (!id) return std::nullopt;
  return requestsFolder(sharedFolder).appendingPathComponent(*id + ".json");
}

}  // namespace vdl
