// Forwarding and fault injection for FaultyFileSystem.
#include "testing/faulty_file_system.h"

namespace vdl::testkit {
namespace {

class FaultyReadable final : public ReadableFile {
 public:
  FaultyReadable(FaultyFileSystem& fs, std::unique_ptr<ReadableFile> f)
      : fs_(fs), f_(std::move(f)) {}
  Expected<std::string> readAll(std::size_t limit) override {
    if (auto e = fs_.enter(FsOp::read)) return *e;
    return f_->readAll(limit);
  }

 private:
  FaultyFileSystem& fs_;
  std::unique_ptr<ReadableFile> f_;
};

class FaultyWritable final : public WritableFile {
 public:
  FaultyWritable(FaultyFileSystem& fs, std::unique_ptr<WritableFile> f)
      : fs_(fs), f_(std::move(f)) {}
  Status append(std::string_view bytes) override {
    if (auto e = fs_.enter(FsOp::write)) return *e;
    return f_->append(bytes);
  }
  Status sync() override {
    if (auto e = fs_.enter(FsOp::fsync)) return *e;
    return f_->sync();
  }
  Status close() override {
    if (auto e = fs_.enter(FsOp::close)) {
      (void)f_->close();
      return *e;
    }
    return f_->close();
  }

 private:
  FaultyFileSystem& fs_;
  std::unique_ptr<WritableFile> f_;
};

class FaultyDirectory final : public Directory {
 public:
  FaultyDirectory(FaultyFileSystem& fs, std::unique_ptr<Directory> d) : fs_(fs), d_(std::move(d)) {}
  Expected<std::unique_ptr<WritableFile>> createNewFile(const std::string& name,
                                                        unsigned mode) override {
    if (auto e = fs_.enter(FsOp::create)) return *e;
    auto f = d_->createNewFile(name, mode);
    if (!f) return f.error();
    std::unique_ptr<WritableFile> wrapped = std::make_unique<FaultyWritable>(fs_, std::move(*f));
    return wrapped;
  }
  Status renameNoReplace(const std::string& from, const std::string& to) override {
    if (auto e = fs_.enter(FsOp::rename)) return *e;
    return d_->renameNoReplace(from, to);
  }
  Status removeFile(const std::string& name) override {
    if (auto e = fs_.enter(FsOp::remove)) return *e;
    return d_->removeFile(name);
  }
  Status sync() override {
    if (auto e = fs_.enter(FsOp::syncDirectory)) return *e;
    return d_->sync();
  }

 private:
  FaultyFileSystem& fs_;
  std::unique_ptr<Directory> d_;
};

}  // namespace

const char* fsOpName(FsOp op) {
  static constexpr const char* names[] = {
      "status", "linkStatus", "open",  "read",   "makeDirectory", "openDirectory", "create",
      "write",  "fsync",      "close", "rename", "syncDirectory", "remove"};
  return names[static_cast<std::size_t>(op)];
}

void FaultyFileSystem::failNext(FsOp op, std::string description, int times) {
  faults_[static_cast<std::size_t>(op)] = Fault{std::move(description), times == 0 ? -1 : times};
}

void FaultyFileSystem::heal() {
  faults_.fill(std::nullopt);
}

std::optional<Error> FaultyFileSystem::enter(FsOp op) {
  auto i = static_cast<std::size_t>(op);
  ++calls_[i];
  auto& fault = faults_[i];
  if (!fault) return std::nullopt;
  Error e{fault->description};
  if (fault->remaining > 0 && --fault->remaining == 0) fault.reset();
  return e;
}

Expected<FileStatus> FaultyFileSystem::status(const std::string& path) {
  if (auto e = enter(FsOp::status)) return *e;
  return target_.status(path);
}

Expected<FileStatus> FaultyFileSystem::linkStatus(const std::string& path) {
  if (auto e = enter(FsOp::linkStatus)) return *e;
  return target_.linkStatus(path);
}

Expected<std::unique_ptr<ReadableFile>> FaultyFileSystem::openForReading(const std::string& path) {
  if (auto e = enter(FsOp::open)) return *e;
  auto f = target_.openForReading(path);
  if (!f) return f.error();
  std::unique_ptr<ReadableFile> wrapped = std::make_unique<FaultyReadable>(*this, std::move(*f));
  return wrapped;
}

Status FaultyFileSystem::makeDirectory(const std::string& path, unsigned mode) {
  if (auto e = enter(FsOp::makeDirectory)) return *e;
  return target_.makeDirectory(path, mode);
}

Expected<std::unique_ptr<Directory>> FaultyFileSystem::openDirectory(const std::string& path) {
  if (auto e = enter(FsOp::openDirectory)) return *e;
  auto d = target_.openDirectory(path);
  if (!d) return d.error();
  std::unique_ptr<Directory> wrapped = std::make_unique<FaultyDirectory>(*this, std::move(*d));
  return wrapped;
}

}  // namespace vdl::testkit
