// Parsing the command line.
#include "hosts/cli/arguments.h"

#include <charconv>

namespace vdl::cli {

namespace {

bool looksNegativeNumber(const std::string& word) {
  return word.size() > 1 && word[0] == '-' && word[1] >= '0' && word[1] <= '9';
}

template <class T>
Expected<T> parseNumber(const std::string& text, const char* what) {
  T value{};
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) {
    return Error{std::string(what) + " must be a whole number, not \"" + text + "\""};
  }
  return value;
}

}  // namespace

Expected<std::int64_t> parseTag(const std::string& text) {
  return parseNumber<std::int64_t>(text, "TAG");
}

Expected<std::uint64_t> parseKind(const std::string& text) {
  return parseNumber<std::uint64_t>(text, "the menu kind");
}

Expected<Arguments> parseArguments(const std::vector<std::string>& argv) {
  Arguments a;
  bool options = true;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& word = argv[i];
    auto value = [&](std::optional<std::string>& into) -> Status {
      if (i + 1 >= argv.size()) return Error{word + " needs a value"};
      into = argv[++i];
      return Status::success();
    };
    if (options && word == "--") {
      options = false;
    } else if (options && word.rfind("--", 0) == 0 && word.find('=') != std::string::npos) {
      // --home=DIR is --home DIR.
      auto eq = word.find('=');
      std::string name = word.substr(0, eq);
      std::string v = word.substr(eq + 1);
      if (name == "--home") {
        a.home = v;
      } else if (name == "--bundle") {
        a.bundle = v;
      } else if (name == "--kind") {
        a.kind = v;
      } else {
        return Error{"unknown option " + name};
      }
    } else if (options && (word == "--home" || word == "--bundle" || word == "--kind")) {
      auto& slot = word == "--home" ? a.home : word == "--bundle" ? a.bundle : a.kind;
      if (auto s = value(slot); !s) return s.error();
    } else if (options && word == "--json") {
      a.json = true;
    } else if (options && word == "--strict") {
      a.strict = true;
    } else if (options && (word == "--help" || word == "-h")) {
      a.help = true;
    } else if (options && word == "--version") {
      a.version = true;
    } else if (options && word.size() > 1 && word[0] == '-' && !looksNegativeNumber(word)) {
      return Error{"unknown option " + word};
    } else if (a.command.empty()) {
      a.command = word;
    } else {
      a.positional.push_back(word);
    }
  }
  return a;
}

}  // namespace vdl::cli
