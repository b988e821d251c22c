// The manifest checker for manifest authors: the decoder's verdict, a
// summary, and warnings for what decodes but can never work.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "manifest/manifest_decoder.h"

namespace vdl::cli {

struct Warning {
  std::string path;  // JSON path of the value at fault
  std::string message;
};

struct CheckReport {
  std::string file;
  std::optional<DecodeError> error;  // set when the document doesn't decode
  std::optional<MenuManifest> manifest;
  std::vector<Warning> warnings;

  bool passes(bool strict) const { return !error && (!strict || warnings.empty()); }
};

// Decodes `content` (read from `file`) and lists its warnings.
CheckReport checkManifest(const std::string& file, const std::string& content);

// The warnings of a manifest that decoded.
std::vector<Warning> manifestWarnings(const MenuManifest& manifest);

std::string reportText(const CheckReport& report);
nlohmann::json reportJSON(const CheckReport& report);

}  // namespace vdl::cli
