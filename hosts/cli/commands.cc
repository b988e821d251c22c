// The commands of vandrel-finder, and the table that names them.
#include "hosts/cli/commands.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iostream>
#include <memory>

#include "hosts/cli/arguments.h"
#include "hosts/cli/check_report.h"
#include "hosts/cli/doctor/doctor.h"
#include "hosts/cli/host.h"
#include "hosts/cli/menu_render.h"
#include "hosts/cli/session.h"
#include "platform/linux/desktop_entry.h"
#include "vandrel_config.h"

namespace vdl::cli {
namespace {

constexpr int kUsageError = 2;

int usageError(const std::string& why) {
  std::cerr << "vandrel-finder: " << why << "\n"
            << "Try 'vandrel-finder --help'.\n";
  return kUsageError;
}

Expected<std::unique_ptr<Host>> makeHost(const Arguments& a) {
  FileURL bundle = defaultBundle();
  if (a.bundle) {
    auto path = absolutePath(*a.bundle);
    if (!path) return Error{"--bundle: " + path.error().description};
    bundle = FileURL::fileURLWithPath(*path, true);
  }
  std::optional<std::string> home;
  if (a.home) {
    auto path = absolutePath(*a.home);
    if (!path) return Error{"--home: " + path.error().description};
    home = *path;
  }
  return std::make_unique<Host>(home, bundle);
}

int runMenu(const Arguments& a, Host& host) {
  std::uint64_t kind = 0;
  if (a.kind) {
    auto parsed = parseKind(*a.kind);
    if (!parsed) return usageError(parsed.error().description);
    kind = *parsed;
  }
  if (auto s = host.select(a.positional); !s) return usageError(s.error().description);
  auto menu = host.menu(kind);
  std::cout << (a.json ? dumpLine(menuJSON(menu)) + "\n" : menuText(menu));
  return 0;
}

int runChoose(const Arguments& a, Host& host) {
  auto tag = parseTag(a.positional[0]);
  if (!tag) return usageError(tag.error().description);
  std::vector<std::string> paths(a.positional.begin() + 1, a.positional.end());
  if (auto s = host.select(paths); !s) return usageError(s.error().description);
  auto outcome = host.choose(*tag);
  std::cout << (a.json ? dumpLine(outcomeJSON(outcome)) + "\n" : outcomeText(outcome));
  return 0;
}

int runSessionCommand(const Arguments&, Host& host) {
  runSession(host, std::cin, std::cout);
  return 0;
}

int runCheck(const Arguments& a, Host& host) {
  std::string file;
  if (!a.positional.empty()) {
    file = a.positional[0];
  } else if (auto inForce = host.manifestFileInForce()) {
    file = inForce->path();
  } else {
    std::cerr << "vandrel-finder: no manifest: there is no menu.json in "
              << host.extension().sharedFolder().path()
              << " and the bundle has no fallback-menu.json\n";
    return 1;
  }
  auto report = checkManifestFile(host.platform().system.files(), file);
  std::cout << (a.json ? dumpLine(reportJSON(report)) + "\n" : reportText(report));
  if (!report.loads()) return 1;
  if (a.strict && !report.warnings.empty()) {
    if (!a.json) std::cout << "failed: --strict and " << report.warnings.size() << " warnings\n";
    return 1;
  }
  return 0;
}

int runInfo(const Arguments& a, Host& host) {
  // Asks what the next menu would load without loading it: the extension's
  // cache stays as it is.
  auto& p = host.platform();
  auto file = host.manifestFileInForce();
  auto report =
      file ? std::optional(checkManifestFile(p.system.files(), file->path())) : std::nullopt;
  bool fallback =
      file &&
      file->path() != host.extension().sharedFolder().appendingPathComponent("menu.json").path();
  bool loads = report && report->loads();
  nlohmann::json info = {
      {"sharedFolder", host.extension().sharedFolder().directoryAwarePath()},
      {"bundle", p.system.bundle().bundleURL().directoryAwarePath()},
      {"hostApplication", hostApplicationURL(p.system.bundle().bundleURL()).path()},
      {"hostBundleIdentifier", std::string(hostBundleIdentifier())},
      {"manifest", loads ? nlohmann::json(file->path()) : nullptr},
      {"manifestIsFallback", loads && fallback},
  };
  if (a.json) {
    std::cout << dumpLine(info) << "\n";
    return 0;
  }
  std::string manifest =
      loads  ? file->path() + (fallback ? " (the bundle's fallback copy)" : "")
      : file ? "none: " + file->path() + " does not load; run 'vandrel-finder check'"
             : "none: no menu.json and no fallback-menu.json";
  std::cout << "shared folder:     " << info["sharedFolder"].get<std::string>() << "\n"
            << "bundle:            " << info["bundle"].get<std::string>() << "\n"
            << "host application:  " << info["hostApplication"].get<std::string>() << "\n"
            << "host bundle id:    " << hostBundleIdentifier() << "\n"
            << "manifest:          " << manifest << "\n";
  return 0;
}

// Registers the sample receiver as this user's handler of vandrel: URLs.
// Only ever done on request.
int runInstallHandler(const Arguments&, Host& host) {
  std::string appRun = hostApplicationURL(host.platform().system.bundle().bundleURL())
                           .appendingPathComponent("AppRun")
                           .path();
  auto registered = linux_platform::registerSchemeHandler(
      {"vandrel-sample-receiver.desktop", "Vandrel sample receiver",
       "Stand-in for the Vandrel host application: reports and removes requests", appRun,
       "vandrel"});
  if (!registered) {
    std::string why = "can't register the receiver " + text::printable(appRun) + ": " +
                      registered.error().description;
    if (registered.error().kind == ErrorKind::invalidArgument) return usageError(why);
    std::cerr << "vandrel-finder: " << why << "\n";
    return 1;
  }
  std::cout << "registered " << *registered << " for vandrel: URLs\n";
  return 0;
}
int runDoctor(const Arguments& a, Host& host) {
  auto report = diagnose(host);
  std::cout << (a.json ? dumpLine(doctorJSON(report)) + "\n" : doctorText(report));
  return report.healthy() ? 0 : 1;
}

struct Command {
  const char* name;
  std::array<std::string_view, 2> options;  // besides the global ones
  const char* operands;                     // in the synopsis, after the options
  const char* summary;                      // lines after the first are indented under it
  std::size_t minOperands, maxOperands;
  const char* operand;  // named in the messages about operands
  int (*run)(const Arguments&, Host&);

  bool takes(const Option& o) const {
    return o.global || std::find(options.begin(), options.end(), o.name) != options.end();
  }
  // "menu [--kind N] [--json] PATH..."
  std::string synopsis() const {
    std::string out = name;
    for (auto o : options) {
      if (o.empty()) continue;
      std::string_view value = findOption(o)->value;
      out += " [" + std::string(o) + (value.empty() ? "" : " " + std::string(value)) + "]";
    }
    return *operands ? out + " " + operands : out;
  }
};

constexpr std::size_t kAny = ~std::size_t{0};

const Command kCommands[] = {
    {"menu",
     {"--kind", "--json"},
     "PATH...",
     "show the context menu for these files",
     0,
     kAny,
     "PATH",
     runMenu},
    {"choose",
     {"--json"},
     "TAG PATH...",
     "pick the menu item with TAG: publish the\nrequest and wake the host application",
     1,
     kAny,
     "TAG",
     runChoose},
    {"session",
     {},
     "",
     "one extension for the whole run; JSON\nlines on stdin, one reply line each:\n"
     "  {\"select\": [PATH...] | null}\n  {\"menu\": KIND}\n  {\"choose\": TAG}",
     0,
     0,
     "",
     runSessionCommand},
    {"check",
     {"--json", "--strict"},
     "[FILE]",
     "check a manifest (default: the one in\nforce); --strict fails on warnings",
     0,
     1,
     "FILE",
     runCheck},
    {"info",
     {"--json"},
     "",
     "where things are, and which manifest is\nin force",
     0,
     0,
     "",
     runInfo},
    {"doctor",
     {"--json"},
     "",
     "why the menu doesn't appear: checks the\nextension and every file manager's module,\n"
     "one line per failed check with its fix",
     0,
     0,
     "",
     runDoctor},
    {"install-handler",
     {},
     "",
     "register the sample receiver as this\nuser's handler of vandrel: URLs",
     0,
     0,
     "",
     runInstallHandler},
};

const Command* find(const std::string& name) {
  for (const auto& c : kCommands) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

// "menu", "menu and check", "menu, choose and check".
std::string commandsTaking(const Option& option) {
  std::vector<std::string> names;
  for (const auto& c : kCommands) {
    if (c.takes(option)) names.push_back(c.name);
  }
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    out += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  }
  return out;
}

// Why `a` doesn't fit `c`, or empty when it does.
std::string misfit(const Command& c, const Arguments& a) {
  for (const auto& o : options()) {
    if (o.givenIn(a) && !c.takes(o)) {
      return std::string(o.name) + " belongs to " + commandsTaking(o);
    }
  }
  const std::string name = c.name;
  if (a.positional.size() < c.minOperands) return name + " needs a " + c.operand;
  if (a.positional.size() > c.maxOperands) {
    return c.maxOperands == 0 ? name + " takes no arguments"
                              : name + " takes at most one " + c.operand;
  }
  return {};
}

}  // namespace

std::string usageText() {
  std::string out =
      "usage: vandrel-finder [OPTIONS] COMMAND [ARGS]\n\n"
      "Stands in for the file manager: drives the Vandrel context-menu extension as\n"
      "the file manager would, on the selection given as PATHs.\n\nCommands:\n";
  constexpr std::size_t kColumn = 37;
  for (const auto& c : kCommands) {
    std::string head = "  " + c.synopsis();
    std::string summary = c.summary;
    std::size_t start = 0;
    for (bool first = true; start <= summary.size(); first = false) {
      auto end = summary.find('\n', start);
      if (end == std::string::npos) end = summary.size();
      std::string lead = first ? head : "";
      lead.resize(std::max(kColumn, lead.size() + 1), ' ');
      out += lead + summary.substr(start, end - start) + "\n";
      start = end + 1;
    }
  }
  out += "\nOptions:\n";
  for (const auto& o : options()) {
    std::string head =
        "  " + std::string(o.name) + (o.value.empty() ? "" : " ") + std::string(o.value);
    head.resize(std::max<std::size_t>(17, head.size() + 1), ' ');
    out += head + std::string(o.help) + "\n";
  }
  out +=
      "\nPATHs may be relative to the working directory, or file:// URLs. A relative\n"
      "path is taken as the working directory + \"/\" + PATH: \"..\" is left for the\n"
      "system to follow, so a \"..\" after a symbolic link means what it means there.\n"
      "Exit status: 0 for results (including \"no menu\" and \"no choice\"), 1 for a\n"
      "manifest that fails its check or a failed doctor's check, 2 for usage errors.\n";
  return out;
}

int runCommandLine(const std::vector<std::string>& words) {
  auto parsed = parseArguments(words);
  if (!parsed) return usageError(parsed.error().description);
  const Arguments& a = *parsed;
  if (a.help) {
    std::cout << usageText();
    return 0;
  }
  if (a.version) {
    std::cout << "vandrel-finder " VANDREL_VERSION "\n";
    return 0;
  }
  if (a.command.empty()) return usageError("no command given");
  const Command* command = find(a.command);
  if (command == nullptr) return usageError("unknown command \"" + a.command + "\"");
  if (auto why = misfit(*command, a); !why.empty()) return usageError(why);
  auto host = makeHost(a);
  if (!host) return usageError(host.error().description);
  return command->run(a, **host);
}

}  // namespace vdl::cli
