// A bundle that is a plain folder holding its resources.
#pragma once

#include "platform/bundle.h"
#include "platform/file_system.h"

namespace vdl::linux_platform {

class FolderBundle final : public Bundle {
 public:
  FolderBundle(FileSystem& files, FileURL folder) : files_(files), folder_(std::move(folder)) {}

  FileURL bundleURL() override { return folder_; }
  // <folder>/<name>.<extension>, when such a regular file exists.
  std::optional<FileURL> urlForResource(const std::string& name,
                                        const std::string& extension) override;
  // The first of <name>.png, <name>.svg found in the folder.
  std::optional<Image> imageNamed(const std::string& name) override;

 private:
  FileSystem& files_;
  FileURL folder_;
};

}  // namespace vdl::linux_platform
