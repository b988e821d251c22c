// Folder creation and the write-flush-rename-flush sequence of publishing.
#include "dispatch/request_publisher.h"

namespace vdl {
namespace {

constexpr unsigned kPrivateFolderMode = 0700;
constexpr unsigned kOuterFolderMode = 0755;
constexpr unsigned kRequestFileMode = 0600;

Error notADirectory(const std::string& path, const char* what) {
  return Error{"mkdir " + path + ": " + what};
}

enum class Missing { made, left };

// Makes sure `dir` is a directory, creating it (and its missing parents)
// when absent, unless `missing` says to leave them. The requests folder must
// be a real directory; a folder above it may be a link to one.
Status ensureDirectory(FileSystem& files, const FileURL& dir, const FileURL& sharedFolder,
                       Missing missing, int depth = 0) {
  const bool isRequests = depth == 0;
  const bool own = isRequests || dir == sharedFolder;
  for (int attempt = 0; attempt < 2; ++attempt) {
    auto st = files.linkStatus(dir.path());
    if (st) {
      if (st->type == FileType::directory) return Status::success();
      if (st->type == FileType::symlink) {
        if (isRequests) return notADirectory(dir.path(), "is a symbolic link");
        auto target = files.status(dir.path());
        if (target && target->type == FileType::directory) return Status::success();
      }
      return notADirectory(dir.path(), "exists and is not a directory");
    }
    if (st.error().kind != ErrorKind::notFound) return st.error();
    FileURL parent = dir.deletingLastPathComponent();
    if (parent.path() != dir.path() && depth < 256) {
      if (auto made = ensureDirectory(files, parent, sharedFolder, missing, depth + 1); !made) {
        return made;
      }
    }
    if (missing == Missing::left) return Status::success();
    auto made = files.makeDirectory(dir.path(), own ? kPrivateFolderMode : kOuterFolderMode);
    if (made) return made;
    // Another process may have made it in between: look again, once.
    if (made.error().kind != ErrorKind::alreadyExists) return made;
  }
  return notADirectory(dir.path(), "keeps changing");
}

}  // namespace

FileURL requestsFolder(const FileURL& sharedFolder) {
  return sharedFolder.appendingPathComponent("requests", /*isDirectory=*/true);
}

Status createRequestsFolder(FileSystem& files, const FileURL& sharedFolder) {
  return ensureDirectory(files, requestsFolder(sharedFolder), sharedFolder, Missing::made);
}

Status checkRequestsFolder(FileSystem& files, const FileURL& sharedFolder) {
  return ensureDirectory(files, requestsFolder(sharedFolder), sharedFolder, Missing::left);
}

Status publishRequest(FileSystem& files, const FileURL& requests, const std::string& id,
                      const std::string& bytes) {
  // One handle for every step: the folder checked is the folder written.
  auto opened = files.openDirectory(requests.path());
  if (!opened) return opened.error();
  Directory& folder = **opened;
  const std::string hidden = "." + id + ".json";
  const std::string published = id + ".json";

  auto created = folder.createNewFile(hidden, kRequestFileMode);
  if (!created) return created.error();
  auto& file = **created;
  Status written = file.append(bytes);
  if (written) written = file.sync();
  if (written) {
    written = file.close();
  } else {
    (void)file.close();
  }
  if (!written) {
    (void)folder.removeFile(hidden);
    return written;
  }

  if (auto moved = folder.renameNoReplace(hidden, published); !moved) return moved;
  if (auto flushed = folder.sync(); !flushed) {
    (void)folder.renameNoReplace(published, hidden);
    return flushed;
  }
  return Status::success();
}

}  // namespace vdl
