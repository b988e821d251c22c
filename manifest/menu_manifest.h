// The menu manifest, as the host application writes it into menu.json: plain
// value records whose fields are named as their JSON keys.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "manifest/target_row.h"

namespace vdl {

// The texts of the menu.
struct MenuLabels {
  std::string convertTo;
  std::string compress;
  std::string open;
  std::string balanced;
  std::string smallest;
  std::optional<std::string> crop;
  std::optional<std::string> trim;
  std::optional<std::string> adjust;
  std::string needs;

  enum class CodingKeys {
    convertTo,
    compress,
    open,
    balanced,
    smallest,
    crop,
    trim,
    adjust,
    needs
  };

  friend bool operator==(const MenuLabels&, const MenuLabels&) = default;
};

struct MenuManifest {
  std::int64_t version = 0;
  MenuLabels labels;
  std::map<std::string, std::vector<std::string>> popular;
  std::map<std::string, std::vector<TargetRow>> targets;
  std::vector<std::string> compress;
  std::optional<std::vector<std::string>> crop;
  std::optional<std::vector<std::string>> trim;
  std::optional<bool> enabled;
  std::optional<bool> compressEnabled;

  enum class CodingKeys {
    version,
    labels,
    popular,
    targets,
    compress,
    crop,
    trim,
    enabled,
    compressEnabled
  };

  friend bool operator==(const MenuManifest&, const MenuManifest&) = default;
};

// The JSON key of each coding key.
std::string_view jsonKey(MenuLabels::CodingKeys key);
std::string_view jsonKey(MenuManifest::CodingKeys key);

}  // namespace vdl
