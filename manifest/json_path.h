// JSON paths that name a value inside a manifest: labels.balanced,
// targets.mov[2][0], targets["tar.gz"].
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vdl {

// `parent` + "." + key for a plain identifier, else `parent` + "[\"key\"]".
std::string memberPath(const std::string& parent, std::string_view key);
std::string elementPath(const std::string& parent, std::size_t index);

}  // namespace vdl
