// The manifest checker for manifest authors: the decoder's verdict, and
// warnings for what decodes but can never work, judged by the rules that the
// index and the offer apply.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "manifest/manifest_decoder.h"
#include "platform/file_system.h"

namespace vdl {

struct ManifestWarning {
  std::string path;  // JSON path of the value at fault
  std::string message;
};

struct CheckReport {
  std::string file;
  std::optional<std::string> unreadable;  // why the file couldn't be read
  std::optional<DecodeError> error;       // set when the document doesn't decode
  std::optional<MenuManifest> manifest;
  std::vector<ManifestWarning> warnings;

  // Whether the extension would load it.
  bool loads() const { return !unreadable && !error; }
};

// Decodes `content` (read from `file`) and lists its warnings.
CheckReport checkManifest(const std::string& file, const std::string& content);
// Reads `file` as the loader does, then checks it.
CheckReport checkManifestFile(FileSystem& files, const std::string& file);

}  // namespace vdl
