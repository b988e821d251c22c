// vandrel-finder: the command-line stand-in for the file manager.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "hosts/cli/arguments.h"
#include "hosts/cli/host.h"
#include "hosts/cli/manifest_check.h"
#include "hosts/cli/menu_render.h"
#include "hosts/cli/session.h"
#include "dispatch/quick_url.h"
#include "extension/shared_folder.h"
#include "manifest/manifest_loader.h"
#include "text/unicode_text.h"

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

int runMenu(const Arguments& a) {
  std::uint64_t kind = 0;
  if (a.kind) {
    auto parsed = parseKind(*a.kind);
    if (!parsed) return usageError(parsed.error().description);
    kind = *parsed;
  }
  auto made = makeHost(a);
  if (!made) return usageError(made.error().description);
  auto& host = *made;
  if (auto s = host->select(a.positional); !s) return usageError(s.error().description);
  auto menu = host->menu(kind);
  std::cout << (a.json ? dumpLine(menuJSON(menu)) + "\n" : menuText(menu));
  return 0;
}

int runChoose(const Arguments& a) {
  if (a.positional.empty()) return usageError("choose needs a TAG");
  auto tag = parseTag(a.positional[0]);
  if (!tag) return usageError(tag.error().description);
  auto made = makeHost(a);
  if (!made) return usageError(made.error().description);
  auto& host = *made;
  std::vector<std::string> paths(a.positional.begin() + 1, a.positional.end());
  if (auto s = host->select(paths); !s) return usageError(s.error().description);
  auto outcome = host->choose(*tag);
  std::cout << (a.json ? dumpLine(outcomeJSON(outcome)) + "\n" : outcomeText(outcome));
  return 0;
}

int runSessionCommand(const Arguments& a) {
  if (!a.positional.empty()) return usageError("session takes no arguments");
  auto made = makeHost(a);
  if (!made) return usageError(made.error().description);
  auto& host = *made;
  runSession(*host, std::cin, std::cout);
  return 0;
}

// The manifest file that loading would read now.
std::optional<FileURL> manifestFileInForce(Host& host) {
  auto& p = host.platform();
  return host.extension().manifestCache().fileInForce(p.system.files(), p.system.bundle());
}

int runCheck(const Arguments& a) {
  if (a.positional.size() > 1) return usageError("check takes at most one FILE");
  auto made = makeHost(a);
  if (!made) return usageError(made.error().description);
  auto& host = *made;
  std::string file;
  if (!a.positional.empty()) {
    file = a.positional[0];
  } else if (auto inForce = manifestFileInForce(*host)) {
    file = inForce->path();
  } else {
    std::cerr << "vandrel-finder: no manifest: there is no menu.json in "
              << host->extension().sharedFolder().path()
              << " and the bundle has no fallback-menu.json\n";
    return 1;
  }
  auto opened = host->platform().system.files().openForReading(file);
  Expected<std::string> content =
      opened ? (*opened)->readAll(kMaxManifestBytes) : Expected<std::string>(opened.error());
  if (!content) {
    if (a.json) {
      std::cout << dumpLine({{"file", file},
                             {"valid", false},
                             {"error",
                              {{"code", "unreadable"},
                               {"path", ""},
                               {"reason", content.error().description}}}})
                << "\n";
    } else {
      std::cout << file << ": unreadable: " << content.error().description << "\n";
    }
    return 1;
  }
  auto report = checkManifest(file, *content);
  std::cout << (a.json ? dumpLine(reportJSON(report)) + "\n" : reportText(report));
  if (report.error) return 1;
  if (a.strict && !report.warnings.empty()) {
    if (!a.json) std::cout << "failed: --strict and " << report.warnings.size() << " warnings\n";
    return 1;
  }
  return 0;
}

int runInfo(const Arguments& a) {
  if (!a.positional.empty()) return usageError("info takes no arguments");
  auto made = makeHost(a);
  if (!made) return usageError(made.error().description);
  auto& host = *made;
  auto& p = host->platform();
  auto& cache = host->extension().manifestCache();
  auto current = cache.load(p.system.files(), p.system.bundle());
  std::string manifest = current ? current->source.path() : "none";
  std::string why;
  if (!current) {
    why = manifestFileInForce(*host) ? "it does not load; run 'vandrel-finder check'"
                                     : "no menu.json and no fallback-menu.json";
  }
  nlohmann::json info = {
      {"sharedFolder", host->extension().sharedFolder().directoryAwarePath()},
      {"bundle", p.system.bundle().bundleURL().directoryAwarePath()},
      {"hostApplication", hostApplicationURL(p.system.bundle().bundleURL()).path()},
      {"hostBundleIdentifier", std::string(hostBundleIdentifier())},
      {"manifest", current ? nlohmann::json(manifest) : nullptr},
      {"manifestIsFallback", cache.isFallback()},
  };
  if (a.json) {
    std::cout << dumpLine(info) << "\n";
    return 0;
  }
  std::cout << "shared folder:     " << info["sharedFolder"].get<std::string>() << "\n"
            << "bundle:            " << info["bundle"].get<std::string>() << "\n"
            << "host application:  " << info["hostApplication"].get<std::string>() << "\n"
            << "host bundle id:    " << hostBundleIdentifier() << "\n"
            << "manifest:          "
            << (current ? manifest + (cache.isFallback() ? " (the bundle's fallback copy)" : "")
                        : "none: " + why)
            << "\n";
  return 0;
}

// One argument of a desktop entry's Exec line for `text`: quoted, with the
// characters that are special inside quotes escaped, and "%" doubled so that
// no field code is read into it. None for text with a line break, which no
// Exec line can carry.
std::optional<std::string> execArgument(const std::string& text) {
  if (text.find_first_of("\n\r") != std::string::npos) return std::nullopt;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  return quoted + "\"";
}

// Writes the sample receiver's .desktop file for this user and makes it the
// handler of vandrel: URLs. Only ever done on request.
int runInstallHandler(const Arguments& a) {
  if (!a.positional.empty()) return usageError("install-handler takes no arguments");
  auto made = makeHost(a);
  if (!made) return usageError(made.error().description);
  auto& host = *made;
  std::string appRun = hostApplicationURL(host->platform().system.bundle().bundleURL())
                           .appendingPathComponent("AppRun")
                           .path();
  auto argument = execArgument(appRun);
  if (!argument) {
    return usageError("the receiver's path holds a line break, which a desktop entry can't run: " +
                      text::printable(appRun));
  }
  std::filesystem::path dir = std::filesystem::path(g_get_user_data_dir()) / "applications";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  auto file = dir / "vandrel-sample-receiver.desktop";

  // The key file escapes what the desktop entry format needs escaped.
  GKeyFile* entry = g_key_file_new();
  const char* group = G_KEY_FILE_DESKTOP_GROUP;
  g_key_file_set_string(entry, group, G_KEY_FILE_DESKTOP_KEY_TYPE, "Application");
  g_key_file_set_string(entry, group, G_KEY_FILE_DESKTOP_KEY_NAME, "Vandrel sample receiver");
  g_key_file_set_string(entry, group, G_KEY_FILE_DESKTOP_KEY_COMMENT,
                        "Stand-in for the Vandrel host application: prints and removes requests");
  g_key_file_set_string(entry, group, G_KEY_FILE_DESKTOP_KEY_EXEC, (*argument + " %u").c_str());
  g_key_file_set_string(entry, group, G_KEY_FILE_DESKTOP_KEY_MIME_TYPE,
                        "x-scheme-handler/vandrel;");
  g_key_file_set_boolean(entry, group, G_KEY_FILE_DESKTOP_KEY_NO_DISPLAY, TRUE);
  GError* error = nullptr;
  bool saved = g_key_file_save_to_file(entry, file.c_str(), &error);
  g_key_file_free(entry);
  if (!saved) {
    std::cerr << "vandrel-finder: can't write " << file.string() << ": " << error->message << "\n";
    g_error_free(error);
    return 1;
  }
  GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(file.c_str());
  if (info == nullptr) {
    // GIO checks the program before expanding "%%", so it refuses any path
    // that holds a "%", however well quoted; leave no such entry behind.
    std::filesystem::remove(file, ec);
    std::cerr << "vandrel-finder: can't register the receiver: this desktop's launcher rejects "
                 "its entry"
              << (appRun.find('%') != std::string::npos
                      ? ", since it can't run a program whose path holds \"%\""
                      : "")
              << ": " << text::printable(appRun) << "\n";
    return 1;
  }
  bool ok =
      g_app_info_set_as_default_for_type(G_APP_INFO(info), "x-scheme-handler/vandrel", &error);
  g_object_unref(info);
  if (!ok) {
    std::cerr << "vandrel-finder: can't register " << file.string() << ": "
              << (error ? error->message : "not a valid desktop file") << "\n";
    if (error) g_error_free(error);
    return 1;
  }
  std::cout << "registered " << file.string() << " for vandrel: URLs\n";
  return 0;
}

// The host application is woken through GLib, which aborts when it can't get
// a descriptor for its main loop. Make room first, or fail cleanly.
constexpr rlim_t kDescriptorsNeeded = 32;

bool enoughDescriptors() {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return true;
  if (limit.rlim_cur >= kDescriptorsNeeded) return true;
  if (limit.rlim_max < kDescriptorsNeeded) {
    std::cerr << "vandrel-finder: too few file descriptors: the limit is " << limit.rlim_max
              << " and " << kDescriptorsNeeded << " are needed\n";
    return false;
  }
  limit.rlim_cur = kDescriptorsNeeded;
  return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

int run(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  auto parsed = parseArguments(words);
  if (!parsed) return usageError(parsed.error().description);
  const Arguments& a = *parsed;
  if (a.help) {
    std::cout << kUsage;
    return 0;
  }
  if (a.version) {
    std::cout << "vandrel-finder " VDL_VERSION "\n";
    return 0;
  }
  if (a.command.empty()) return usageError("no command given");
  if (a.kind && a.command != "menu") return usageError("--kind belongs to menu");
  if (a.strict && a.command != "check") return usageError("--strict belongs to check");
  if (a.command == "menu") return runMenu(a);
  if (a.command == "choose") return runChoose(a);
  if (a.command == "session") return runSessionCommand(a);
  if (a.command == "check") return runCheck(a);
  if (a.command == "info") return runInfo(a);
  if (a.command == "install-handler") return runInstallHandler(a);
  return usageError("unknown command \"" + a.command + "\"");
}

}  // namespace
}  // namespace vdl::cli

int main(int argc, char** argv) {
  // Past a file-size limit a write fails with an error instead of killing the
  // process, so that a request is refused, logged and cleaned up like any other.
  ::signal(SIGXFSZ, SIG_IGN);
  if (!vdl::cli::enoughDescriptors()) return 1;
  try {
    return vdl::cli::run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "vandrel-finder: " << e.what() << "\n";
    return 1;
  }
}
