// File URLs as the extension uses them: an absolute path plus the mark that it
// names a directory. Pure path arithmetic; nothing here touches the disk.
#pragma once

#include <string>
#include <string_view>

namespace vdl {

// Whether a file URL with this host names a file of this machine: only an
// empty host or "localhost" (in any case) does.
bool namesThisMachine(std::string_view urlHost);

// The text after the last "." of the last component of `path`, without the
// dot. A name that starts with its only "." (".bashrc") has none, and so has
// ".."; a name that ends in "." ("name.") gives the empty text. The view
// points into `path`.
std::string_view pathExtension(std::string_view path);

class FileURL {
 public:
  // `path` is taken as given; a trailing "/" marks a directory, as does `isDirectory`.
  static FileURL fileURLWithPath(std::string_view path, bool isDirectory = false);

  // The plain file-system path, without a trailing "/" (except for the root).
  const std::string& path() const { return path_; }
  bool hasDirectoryPath() const { return isDirectory_; }
  // The path, with a trailing "/" when the URL names a directory.
  std::string directoryAwarePath() const;

  FileURL appendingPathComponent(std::string_view component, bool isDirectory = false) const;
  FileURL deletingLastPathComponent() const;
  std::string lastPathComponent() const;

  // The extension of the path (see vdl::pathExtension); a view into this URL.
  std::string_view pathExtension() const { return vdl::pathExtension(path_); }

  friend bool operator==(const FileURL&, const FileURL&) = default;
  friend auto operator<=>(const FileURL&, const FileURL&) = default;

 private:
  FileURL(std::string path, bool isDirectory) : path_(std::move(path)), isDirectory_(isDirectory) {}
  std::string path_;
  bool isDirectory_ = false;
};

}  // namespace vdl
