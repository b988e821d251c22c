// The file-system port: the few calls the extension makes on files and
// folders. The core reaches the disk only through this interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/expected.h"

namespace vdl {

// A modification time at the file system's full resolution.
struct FileTime {
  std::int64_t seconds = 0;
  std::int64_t nanoseconds = 0;
  friend bool operator==(const FileTime&, const FileTime&) = default;
};

enum class FileType { regular, directory, symlink, other };

struct FileStatus {
  FileType type = FileType::other;
  std::uint64_t size = 0;
  FileTime modified;
};

class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  // The whole content, or an error when it can't be read or exceeds `limit` bytes.
  virtual Expected<std::string> readAll(std::size_t limit) = 0;
};

class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual Status append(std::string_view bytes) = 0;
  // Flushes the written bytes to stable storage.
  virtual Status sync() = 0;
  virtual Status close() = 0;
};

// A folder opened once. Every call names an entry directly inside it, so
// that swapping the folder's path for another folder or a symbolic link
// between two calls can't redirect any of them.
class Directory {
 public:
  virtual ~Directory() = default;
  // Creates the file `name`, which must not exist yet, never following a
  // symbolic link.
  virtual Expected<std::unique_ptr<WritableFile>> createNewFile(const std::string& name,
                                                                unsigned mode) = 0;
  // Renames `from` to `to`; fails, changing nothing, when `to` exists.
  virtual Status renameNoReplace(const std::string& from, const std::string& to) = 0;
  virtual Status removeFile(const std::string& name) = 0;
  // Flushes the folder's entries to stable storage.
  virtual Status sync() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The item at `path`, following symbolic links. notFound when there is none.
  virtual Expected<FileStatus> status(const std::string& path) = 0;
  // The item at `path` itself: a symbolic link reports as one.
  virtual Expected<FileStatus> linkStatus(const std::string& path) = 0;

  // Opens a regular file for reading. Fails, without blocking, for anything
  // else: a directory, a FIFO, a device.
  virtual Expected<std::unique_ptr<ReadableFile>> openForReading(const std::string& path) = 0;

  // Creates one directory with `mode`. alreadyExists when something is there.
  virtual Status makeDirectory(const std::string& path, unsigned mode) = 0;
  // Opens the folder at `path`. Fails when its last component is a symbolic
  // link or anything but a directory.
  virtual Expected<std::unique_ptr<Directory>> openDirectory(const std::string& path) = 0;
};

}  // namespace vdl
