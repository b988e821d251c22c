// Reports for hosts.
#include "extension/host_face.h"

#include "dispatch/request_publisher.h"

namespace vdl {

FileURL requestFile(const FileURL& sharedFolder, std::string_view id) {
  return requestsFolder(sharedFolder).appendingPathComponent(std::string(id) + ".json");
}

}  // namespace vdl
