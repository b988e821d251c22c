// A file system that forwards to another and fails a named call on demand, or
// slows it down, counting every call, so that tests can assert both faults and
// "read nothing".
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <numeric>
#include <optional>

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

class FaultyFileSystem final : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& target) : target_(target) {}

  // The next call of `op` fails.
  void failNext(FsOp op) { failing_[static_cast<std::size_t>(op)] = true; }
  // Every later call of `op` first waits `time`, as a slow disk would.
  void delay(FsOp op, std::chrono::milliseconds time) {
    delays_[static_cast<std::size_t>(op)] = time;
  }
  void heal() { failing_.fill(false); }
  std::size_t calls(FsOp op) const { return calls_[static_cast<std::size_t>(op)]; }
  std::size_t allCalls() const {
    return std::accumulate(calls_.begin(), calls_.end(), std::size_t{0});
  }
  void resetCounts() { calls_.fill(0); }

  Expected<FileStatus> status(const std::string& path) override;
  Expected<FileStatus> linkStatus(const std::string& path) override;
  Expected<std::unique_ptr<ReadableFile>> openForReading(const std::string& path) override;
  Status makeDirectory(const std::string& path, unsigned mode) override;
  Expected<std::unique_ptr<Directory>> openDirectory(const std::string& path) override;

  // Counts the call and tells whether it must fail; used by wrapped files too.
  std::optional<Error> enter(FsOp op);

 private:
  FileSystem& target_;
  std::array<std::size_t, static_cast<std::size_t>(FsOp::count)> calls_{};
  std::array<bool, static_cast<std::size_t>(FsOp::count)> failing_{};
  std::array<std::chrono::milliseconds, static_cast<std::size_t>(FsOp::count)> delays_{};
};

}  // namespace vdl::testkit
