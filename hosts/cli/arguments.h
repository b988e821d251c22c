// The command line of vandrel-finder, parsed by one table of options, which
// also gives the usage text and says which command takes what.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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

struct Option {
  std::string_view name;   // "--kind"
  std::string_view alias;  // "-h", or empty
  std::string_view value;  // what it takes ("N"), empty for a flag
  std::string_view help;   // for the usage text
  bool global;             // taken with any command
  std::optional<std::string> Arguments::*text;
  bool Arguments::*flag;

  bool givenIn(const Arguments& a) const { return text ? (a.*text).has_value() : a.*flag; }
};

std::span<const Option> options();
const Option* findOption(std::string_view name);

// Options may stand anywhere, as --name VALUE or --name=VALUE; "--" ends
// them. A word that reads as a negative number is positional, so that
// "choose -1 a.mov" works.
Expected<Arguments> parseArguments(const std::vector<std::string>& argv);

// A whole number of the given range, or a reason.
Expected<std::int64_t> parseTag(const std::string& text);
Expected<std::uint64_t> parseKind(const std::string& text);

}  // namespace vdl::cli
