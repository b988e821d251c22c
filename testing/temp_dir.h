// A fresh folder under the system's temporary directory, removed with its
// contents when the test ends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace vdl::testkit {

class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  const std::string& path() const { return path_; }
  std::string operator/(std::string_view relative) const {
    return path_ + "/" + std::string(relative);
  }

 private:
  std::string path_;
};

// Writes `content` to `path`, creating missing parent folders.
void writeFile(const std::string& path, std::string_view content);
std::string readFile(const std::string& path);
// The paths of the entries of `folder`: only those whose names don't start
// with ".", as published requests', unless `hidden` too; empty when there is
// no such folder.
std::vector<std::string> entries(const std::string& folder, bool hidden = false);

// Sets the modification time of `path` exactly.
void setModified(const std::string& path, FileTime time);

}  // namespace vdl::testkit
