// POSIX implementation of the file-system port.
#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

// The target platform's names for the same calls. The Linux check of that
// platform's sources defines VDL_CHECK_DARWIN to type-check this side too.
#if defined(__APPLE__) || defined(VDL_CHECK_DARWIN)
#define VDL_DARWIN 1
#else
#define VDL_DARWIN 0
#endif

namespace vdl::posix {
namespace {

FileTime modifiedOf(const struct stat& st) {
#if VDL_DARWIN
  return FileTime{st.st_mtimespec.tv_sec, st.st_mtimespec.tv_nsec};
#else
  return FileTime{st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
#endif
}

// Renames inside the folder `dir`, failing when `to` exists.
int renameNoReplaceAt(int dir, const char* from, const char* to) {
#if VDL_DARWIN
  return ::renameatx_np(dir, from, dir, to, RENAME_EXCL);
#else
  return ::renameat2(dir, from, dir, to, RENAME_NOREPLACE);
#endif
}

// Whether `code` says the file system can't rename without replacing.
bool cannotRenameExclusively(int code) {
#if VDL_DARWIN
  if (code == ENOTSUP) return true;
#endif
  return code == EINVAL || code == ENOSYS;
}

// Flushes to stable storage. The target platform's fsync leaves the data in
// the drive's cache; F_FULLFSYNC flushes that too, where the drive supports it.
int flushToDisk(int fd) {
#if VDL_DARWIN
  if (::fcntl(fd, F_FULLFSYNC) == 0) return 0;
#endif
  return ::fsync(fd);
}

Error systemError(std::string_view call, const std::string& path, int code) {
  ErrorKind kind = ErrorKind::other;
  if (code == ENOENT) kind = ErrorKind::notFound;
  if (code == EEXIST) kind = ErrorKind::alreadyExists;
  return Error{std::string(call) + " " + path + ": " + std::strerror(code), kind};
}

FileStatus fromStat(const struct stat& st) {
  FileStatus s;
  if (S_ISREG(st.st_mode)) {
    s.type = FileType::regular;
  } else if (S_ISDIR(st.st_mode)) {
    s.type = FileType::directory;
  } else if (S_ISLNK(st.st_mode)) {
    s.type = FileType::symlink;
  }
  s.size = static_cast<std::uint64_t>(st.st_size);
  s.modified = modifiedOf(st);
  return s;
}

// Closes on destruction, so that no early return leaks a descriptor.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

class PosixReadableFile final : public ReadableFile {
 public:
  PosixReadableFile(int fd, std::string path, std::size_t size)
      : fd_(fd), path_(std::move(path)), size_(size) {}

  Expected<std::string> readAll(std::size_t limit) override {
    if (size_ > limit) return tooLarge(limit);
    std::string content;
    content.reserve(size_);
    char buffer[65536];
    for (;;) {
      ssize_t n = ::read(fd_.get(), buffer, sizeof buffer);
      if (n < 0) {
        if (errno == EINTR) continue;
        return systemError("read", path_, errno);
      }
      if (n == 0) break;
      // The file may have grown since it was opened.
      if (content.size() + static_cast<std::size_t>(n) > limit) return tooLarge(limit);
      content.append(buffer, static_cast<std::size_t>(n));
    }
    return content;
  }

 private:
  Error tooLarge(std::size_t limit) const {
    return Error{"read " + path_ + ": larger than " + std::to_string(limit) + " bytes"};
  }
  Descriptor fd_;
  std::string path_;
  std::size_t size_;
};

class PosixWritableFile final : public WritableFile {
 public:
  PosixWritableFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

  Status append(std::string_view bytes) override {
    while (!bytes.empty()) {
      ssize_t n = ::write(fd_.get(), bytes.data(), bytes.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return systemError("write", path_, errno);
      }
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return Status::success();
  }

  Status sync() override {
    if (flushToDisk(fd_.get()) != 0) return systemError("fsync", path_, errno);
    return Status::success();
  }

  Status close() override {
    int fd = fd_.release();
    if (fd >= 0 && ::close(fd) != 0) return systemError("close", path_, errno);
    return Status::success();
  }

 private:
  Descriptor fd_;
  std::string path_;
};

class PosixDirectory final : public Directory {
 public:
  PosixDirectory(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

  Expected<std::unique_ptr<WritableFile>> createNewFile(const std::string& name,
                                                        unsigned mode) override {
    int fd = ::openat(fd_.get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      static_cast<mode_t>(mode));
    if (fd < 0) return systemError("open", inside(name), errno);
    // The umask must not widen or narrow what the caller asked for.
    if (::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
      int code = errno;
      ::close(fd);
      ::unlinkat(fd_.get(), name.c_str(), 0);
      return systemError("fchmod", inside(name), code);
    }
    std::unique_ptr<WritableFile> file = std::make_unique<PosixWritableFile>(fd, inside(name));
    return file;
  }

  Status renameNoReplace(const std::string& from, const std::string& to) override {
    if (renameNoReplaceAt(fd_.get(), from.c_str(), to.c_str()) == 0) return Status::success();
    int code = errno;
    if (!cannotRenameExclusively(code)) return systemError("rename", inside(from), code);
    // The file system can't rename without replacing: a hard link fails when
    // the destination exists, which gives the same guarantee.
    if (::linkat(fd_.get(), from.c_str(), fd_.get(), to.c_str(), 0) != 0) {
      return systemError("link", inside(to), errno);
    }
    if (::unlinkat(fd_.get(), from.c_str(), 0) != 0) {
      return systemError("unlink", inside(from), errno);
    }
    return Status::success();
  }

  Status removeFile(const std::string& name) override {
    if (::unlinkat(fd_.get(), name.c_str(), 0) != 0)
      return systemError("unlink", inside(name), errno);
    return Status::success();
  }

  Status sync() override {
    if (flushToDisk(fd_.get()) != 0) return systemError("fsync", path_, errno);
    return Status::success();
  }

 private:
  std::string inside(const std::string& name) const { return path_ + "/" + name; }
  Descriptor fd_;
  std::string path_;
};

}  // namespace

Expected<FileStatus> PosixFileSystem::status(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return systemError("stat", path, errno);
  return fromStat(st);
}

Expected<FileStatus> PosixFileSystem::linkStatus(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return systemError("lstat", path, errno);
  return fromStat(st);
}

Expected<std::unique_ptr<ReadableFile>> PosixFileSystem::openForReading(const std::string& path) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) return systemError("open", path, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return systemError("fstat", path, errno);
  if (!S_ISREG(st.st_mode)) return Error{"open " + path + ": not a regular file"};
  std::unique_ptr<ReadableFile> file =
      std::make_unique<PosixReadableFile>(fd.release(), path, static_cast<std::size_t>(st.st_size));
  return file;
}

Status PosixFileSystem::makeDirectory(const std::string& path, unsigned mode) {
  if (::mkdir(path.c_str(), static_cast<mode_t>(mode)) != 0) {
    return systemError("mkdir", path, errno);
  }
  return Status::success();
}

Expected<std::unique_ptr<Directory>> PosixFileSystem::openDirectory(const std::string& path) {
  // O_NOFOLLOW refuses a symbolic link in the last component; O_DIRECTORY
  // anything but a folder. Every later call is relative to this descriptor.
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) {
    int code = errno;
    if (code == ELOOP) return Error{"open " + path + ": is a symbolic link"};
    return systemError("open", path, code);
  }
  std::unique_ptr<Directory> dir = std::make_unique<PosixDirectory>(fd.release(), path);
  return dir;
}

}  // namespace vdl::posix
