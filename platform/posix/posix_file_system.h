// The file-system port on POSIX calls.
#pragma once

#include "platform/file_system.h"

namespace vdl::posix {

// Reads never block (FIFOs and devices are refused at open) and writes are
// made durable by the callers' sync calls.
class PosixFileSystem final : public FileSystem {
 public:
  Expected<FileStatus> status(const std::string& path) override;
  Expected<FileStatus> linkStatus(const std::string& path) override;
  Expected<std::unique_ptr<ReadableFile>> openForReading(const std::string& path) override;
  Status makeDirectory(const std::string& path, unsigned mode) override;
  Expected<std::unique_ptr<Directory>> openDirectory(const std::string& path) override;
};

}  // namespace vdl::posix
