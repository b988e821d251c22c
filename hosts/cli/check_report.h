// The manifest checker's report, for people and for programs.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "extension/host_face.h"

namespace vdl::cli {

std::string reportText(const CheckReport& report);
// Why the manifest doesn't load ("unreadable: ...", "at key: ..."), or empty.
std::string whyItFails(const CheckReport& report);
nlohmann::json reportJSON(const CheckReport& report);

}  // namespace vdl::cli
