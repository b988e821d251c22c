// The extension's own bundle: where it is, and the resources it carries.
#pragma once

#include <optional>
#include <string>

#include "platform/file_url.h"

namespace vdl {

// An image resource, handed to the host as it is; the core never opens it.
struct Image {
  std::string name;
  FileURL url = FileURL::fileURLWithPath("");
  friend bool operator==(const Image&, const Image&) = default;
};

class Bundle {
 public:
  virtual ~Bundle() = default;
  virtual FileURL bundleURL() = 0;
  // The resource `name`.`extension`, or none when the bundle lacks it.
  virtual std::optional<FileURL> urlForResource(const std::string& name,
                                                const std::string& extension) = 0;
  // The image resource called `name`, whatever its format, or none.
  virtual std::optional<Image> imageNamed(const std::string& name) = 0;
};

}  // namespace vdl
