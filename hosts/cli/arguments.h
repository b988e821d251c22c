// The command line of vandrel-finder, parsed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/expected.h"

namespace vdl::cli {

struct Arguments {
  std::string command;  // empty with --help or --version alone
  std::vector<std::string> positional;
  std::optional<std::string> home;
  std::optional<std::string> bundle;
  std::optional<std::string> kind;
  bool json = false;
  bool strict = false;
  bool help = false;
  bool version = false;
};

// Options may stand anywhere; "--" ends them. A word that reads as a
// negative number is positional, so that "choose -1 a.mov" works.
Expected<Arguments> parseArguments(const std::vector<std::string>& argv);

// A whole number of the given range, or a reason.
Expected<std::int64_t> parseTag(const std::string& text);
Expected<std::uint64_t> parseKind(const std::string& text);

}  // namespace vdl::cli
