// A file system that forwards to another and fails a named call on demand,
// counting every call, so that tests can assert both faults and "read nothing".
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace vdl::testkit {

enum class FsOp : std::size_t {
  status,
  linkStatus,
  open,
  read,
  makeDirectory,
  openDirectory,
  create,
  write,
  fsync,
  close,
  rename,
  syncDirectory,
  remove,
  count
};

const char* fsOpName(FsOp op);

class FaultyFileSystem final : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& target) : target_(target) {}

  // The next calls of `op` fail with `error`, `times` times in a row (0: for ever).
  void failNext(FsOp op, std::string description = "injected fault", int times = 1);
  void heal();
  std::size_t calls(FsOp op) const { return calls_[static_cast<std::size_t>(op)]; }
  void resetCounts() { calls_.fill(0); }

  Expected<FileStatus> status(const std::string& path) override;
  Expected<FileStatus> linkStatus(const std::string& path) override;
  Expected<std::unique_ptr<ReadableFile>> openForReading(const std::string& path) override;
  Status makeDirectory(const std::string& path, unsigned mode) override;
  Expected<std::unique_ptr<Directory>> openDirectory(const std::string& path) override;

  // Counts the call and tells whether it must fail; used by wrapped files too.
  std::optional<Error> enter(FsOp op);

 private:
  struct Fault {
    std::string description;
    int remaining = 0;  // < 0: for ever
  };
  FileSystem& target_;
  std::array<std::size_t, static_cast<std::size_t>(FsOp::count)> calls_{};
  std::array<std::optional<Fault>, static_cast<std::size_t>(FsOp::count)> faults_{};
};

}  // namespace vdl::testkit
