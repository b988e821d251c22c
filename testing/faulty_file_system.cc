// Forwarding and fault injection for FaultyFileSystem.
#include "testing/faulty_file_system.h"

#include <thread>

namespace vdl::testkit {
namespace {

// Runs `call` unless `op` must fail now; the fault is then the call's result.
template <class Call>
auto guarded(FaultyFileSystem& fs, FsOp op, Call&& call) -> decltype(call()) {
  if (auto e = fs.enter(op)) return *e;
  return call();
}

// What a call opened, wrapped so that its own calls can fail too.
template <class Wrapper, class T>
Expected<std::unique_ptr<T>> wrapped(FaultyFileSystem& fs, Expected<std::unique_ptr<T>> opened) {
  if (!opened) return opened.error();
  std::unique_ptr<T> w = std::make_unique<Wrapper>(fs, std::move(*opened));
  return w;
}

class FaultyReadable final : public ReadableFile {
 public:
  FaultyReadable(FaultyFileSystem& fs, std::unique_ptr<ReadableFile> f)
      : fs_(fs), f_(std::move(f)) {}
  Expected<std::string> readAll(std::size_t limit) override {
    return guarded(fs_, FsOp::read, [&] { return f_->readAll(limit); });
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
    return guarded(fs_, FsOp::write, [&] { return f_->append(bytes); });
  }
  Status sync() override {
    return guarded(fs_, FsOp::fsync, [&] { return f_->sync(); });
  }
  Status close() override {
    // A failed close still closes the descriptor, as close(2) does.
    Status closed = f_->close();
    return guarded(fs_, FsOp::close, [&] { return closed; });
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
    return guarded(fs_, FsOp::create,
                   [&] { return wrapped<FaultyWritable>(fs_, d_->createNewFile(name, mode)); });
  }
  Status renameNoReplace(const std::string& from, const std::string& to) override {
    return guarded(fs_, FsOp::rename, [&] { return d_->renameNoReplace(from, to); });
  }
  Status removeFile(const std::string& name) override {
    return guarded(fs_, FsOp::remove, [&] { return d_->removeFile(name); });
  }
  Status sync() override {
    return guarded(fs_, FsOp::syncDirectory, [&] { return d_->sync(); });
  }

 private:
  FaultyFileSystem& fs_;
  std::unique_ptr<Directory> d_;
};

}  // namespace

std::optional<Error> FaultyFileSystem::enter(FsOp op) {
  auto i = static_cast<std::size_t>(op);
  ++calls_[i];
  if (delays_[i].count() > 0) std::this_thread::sleep_for(delays_[i]);
  if (!failing_[i]) return std::nullopt;
  failing_[i] = false;
  return Error{"injected fault"};
}

Expected<FileStatus> FaultyFileSystem::status(const std::string& path) {
  return guarded(*this, FsOp::status, [&] { return target_.status(path); });
}

Expected<FileStatus> FaultyFileSystem::linkStatus(const std::string& path) {
  return guarded(*this, FsOp::linkStatus, [&] { return target_.linkStatus(path); });
}

Expected<std::unique_ptr<ReadableFile>> FaultyFileSystem::openForReading(const std::string& path) {
  return guarded(*this, FsOp::open,
                 [&] { return wrapped<FaultyReadable>(*this, target_.openForReading(path)); });
}

Status FaultyFileSystem::makeDirectory(const std::string& path, unsigned mode) {
  return guarded(*this, FsOp::makeDirectory, [&] { return target_.makeDirectory(path, mode); });
}

Expected<std::unique_ptr<Directory>> FaultyFileSystem::openDirectory(const std::string& path) {
  return guarded(*this, FsOp::openDirectory,
                 [&] { return wrapped<FaultyDirectory>(*this, target_.openDirectory(path)); });
}

}  // namespace vdl::testkit
