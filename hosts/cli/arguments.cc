// Parsing the command line, by the table of options.
#include "hosts/cli/arguments.h"

#include <charconv>

namespace vdl::cli {

namespace {

constexpr Option kOptions[] = {
    {"--home", "", "DIR", "the home directory that the user database reports", true,
     &Arguments::home, nullptr},
    {"--bundle", "", "DIR", "the extension's bundle folder (default: the installed one)", true,
     &Arguments::bundle, nullptr},
    {"--kind", "", "N", "the kind of menu asked for (0: the selected items')", false,
     &Arguments::kind, nullptr},
    {"--json", "", "", "one line of JSON instead of text", false, nullptr, &Arguments::json},
    {"--strict", "", "", "fail on warnings too", false, nullptr, &Arguments::strict},
    {"--help", "-h", "", "show this help", true, nullptr, &Arguments::help},
    {"--version", "", "", "show the version", true, nullptr, &Arguments::version},
};

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

std::span<const Option> options() {
  return kOptions;
}

const Option* findOption(std::string_view name) {
  for (const auto& o : kOptions) {
    if (name == o.name || (!o.alias.empty() && name == o.alias)) return &o;
  }
  return nullptr;
}

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
    if (options && word == "--") {
      options = false;
      continue;
    }
    if (options && word.size() > 1 && word[0] == '-' && !looksNegativeNumber(word)) {
      auto eq = word.find('=');
      std::string name = word.substr(0, eq);
      const Option* o = findOption(name);
      if (o == nullptr) return Error{"unknown option " + name};
      if (o->value.empty()) {
        if (eq != std::string::npos) return Error{name + " takes no value"};
        a.*(o->flag) = true;
      } else if (eq != std::string::npos) {
        a.*(o->text) = word.substr(eq + 1);
      } else if (i + 1 < argv.size()) {
        a.*(o->text) = argv[++i];
      } else {
        return Error{name + " needs a value"};
      }
    } else if (a.command.empty()) {
      a.command = word;
    } else {
      a.positional.push_back(word);
    }
  }
  return a;
}

}  // namespace vdl::cli
