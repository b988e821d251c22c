// The session protocol: one JSON command per input line, one reply line each.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "hosts/cli/host.h"

namespace vdl::cli {

// The reply to one command line. A bad line gets {"error": "..."}.
nlohmann::json sessionReply(Host& host, const std::string& line);

// Answers every non-blank line of `in` on `out`, flushing each reply.
void runSession(Host& host, std::istream& in, std::ostream& out);

// JSON text on one line; bytes that are not UTF-8 are replaced, never thrown on.
std::string dumpLine(const nlohmann::json& value);

}  // namespace vdl::cli
