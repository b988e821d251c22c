// The doctor's checks, in the order a user would mend them.
#include "hosts/cli/doctor/doctor.h"

#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "hosts/cli/check_report.h"
#include "hosts/cli/doctor/file_managers.h"
#include "hosts/cli/doctor/probes.h"
#include "platform/linux/folder_bundle.h"

namespace vdl::cli {
namespace {

namespace fs = std::filesystem;

std::string shellQuoted(const std::string& word) {
  gchar* q = g_shell_quote(word.c_str());
  std::string out = q;
  g_free(q);
  return out;
}

std::string joined(const std::vector<std::string>& words, const std::string& separator) {
  std::string out;
  for (const auto& w : words) out += (out.empty() ? "" : separator) + w;
  return out;
}

// `paths` as words of a shell command.
std::string shellWords(const std::vector<std::string>& paths) {
  std::vector<std::string> words;
  for (const auto& p : paths) words.push_back(shellQuoted(p));
  return joined(words, " ");
}

bool onPath(const std::string& program) {
  gchar* found = g_find_program_in_path(program.c_str());
  g_free(found);
  return found != nullptr;
}

std::string reinstall(const FileManager& fm) {
  return "sudo apt install --reinstall vandrel-extension vandrel-" + fm.id;
}

// The newer of a file's and, for a link, the link's own modification time.
FileTime changed(const std::string& link, const std::string& real) {
  FileTime newest;
  for (auto [path, follow] : {std::pair{link, false}, std::pair{real, true}}) {
    struct stat st {};
    if ((follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) continue;
    FileTime t{st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
    if (std::tie(t.seconds, t.nanoseconds) > std::tie(newest.seconds, newest.nanoseconds)) {
      newest = t;
    }
  }
  return newest;
}

// What one file manager has of the module, found before anything else runs
// (loading forks, which is safest before GLib starts threads).
struct Install {
  FileManager fm;
  std::vector<std::string> copies;   // entries it loads that are the module
  std::vector<std::string> strayed;  // the module in folders it no longer reads
  std::string real;                  // the first copy's file, links resolved
  Status loads = Status::success();
};

bool isOurs(const fs::directory_entry& entry, const FileManager& fm) {
  std::string name = entry.path().filename();
  if (name.size() < 3 || name.compare(name.size() - 3, 3, ".so") != 0) return false;
  if (name == fm.module || name.rfind("libvandrel-" + fm.id, 0) == 0) return true;
  std::error_code ec;
  return fs::canonical(entry.path(), ec).filename() == fm.module;
}

std::vector<std::string> modulesIn(const std::vector<std::string>& folders, const FileManager& fm) {
  // In the order of the folders, so that the copy in the file manager's own
  // folder comes first and is the one to keep.
  std::vector<std::string> found;
  for (const auto& folder : folders) {
    std::vector<std::string> here;
    std::error_code ec;
    // Never throws: a folder that can't be read holds nothing to find.
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const auto& entry = *it;
      if (isOurs(entry, fm) && std::find(found.begin(), found.end(), entry.path()) == found.end()) {
        here.push_back(entry.path());
      }
    }
    std::sort(here.begin(), here.end());
    found.insert(found.end(), here.begin(), here.end());
  }
  return found;
}

Install locate(const FileManager& fm) {
  Install in{fm, modulesIn(fm.folders, fm), modulesIn(fm.formerFolders, fm), {}, Status::success()};
  std::error_code ec;
  if (in.copies.empty() || (in.real = fs::canonical(in.copies.front(), ec)).empty()) return in;
  in.loads = loadsInChild(in.real, fm.entryPoints);
  return in;
}

class Diagnosis {
 public:
  void add(std::string scope, std::string check, Verdict verdict, std::string detail,
           std::string fix = {}) {
    report.findings.push_back(
        {std::move(scope), std::move(check), verdict, std::move(detail), std::move(fix)});
  }
  void check(const std::string& scope, const std::string& name, bool ok, std::string detail,
             std::string fix) {
    add(scope, name, ok ? Verdict::passed : Verdict::failed, std::move(detail),
        ok ? std::string() : std::move(fix));
  }

  void fileManager(const Install& in, FileSystem& files);
  void switchedOn(const FileManager& fm, const std::string& loaded);
  void restarted(const Install& in);
  void extension(Host& host, const std::vector<std::string>& withoutModule, bool anyModule);

  DoctorReport report;
};

void Diagnosis::fileManager(const Install& in, FileSystem& files) {
  const FileManager& fm = in.fm;
  if (auto version = packageVersion(fm.id)) {
    bool old = !versionAtLeast(*version, fm.minimum);
    bool other = !fm.below.empty() && versionAtLeast(*version, fm.below);
    check(fm.id, "version", !old && !other,
          old ? fm.title + " " + *version + " is older than " + fm.minimum +
                    ", which the module is built for"
          : other ? fm.title + " " + *version + " " + fm.belowWhy
                  : fm.title + " " + *version,
          other ? "install vandrel-" + fm.id +
                      " from the packages built for this release (Debian 13 and later: "
                      "KDE Frameworks 6), then " +
                      fm.quit
                : "sudo apt install '" + fm.id + " (>= " + fm.minimum + ")'");
  }
  if (in.copies.empty()) {
    check(fm.id, "linked", false,
          "the module lies in " + joined(in.strayed, ", ") + ", which " + fm.title +
              " no longer reads",
          reinstall(fm) + "; then sudo rm " + shellWords(in.strayed));
    return;
  }
  check(fm.id, "linked", true, in.copies.front(), {});
  bool single = in.copies.size() == 1 && in.strayed.empty();
  std::vector<std::string> extra(in.copies.begin() + 1, in.copies.end());
  extra.insert(extra.end(), in.strayed.begin(), in.strayed.end());
  check(
      fm.id, "single-copy", single,
      single
          ? "one copy"
          : std::to_string(extra.size() + 1) + " copies of the module: " + joined(in.copies, ", ") +
                (in.strayed.empty() ? "" : ", and where it isn't read " + joined(in.strayed, ", ")),
      "keep one: sudo rm " + shellWords(extra));
  if (in.real.empty()) {
    std::error_code ec;
    check(fm.id, "bundle", false,
          in.copies.front() + " leads to " + fs::read_symlink(in.copies.front(), ec).string() +
              ", which isn't there",
          reinstall(fm));
    return;
  }
  fs::path bundle = fs::path(in.real).parent_path();
  // Asked as the extension asks its bundle.
  linux_platform::FolderBundle resources(files, FileURL::fileURLWithPath(bundle.string(), true));
  std::vector<std::string> missing;
  if (!resources.urlForResource("fallback-menu", "json")) missing.push_back("fallback-menu.json");
  FileURL app = hostApplicationURL(resources.bundleURL());
  std::error_code ec;
  if (!fs::exists(fs::path(app.path()) / "AppRun", ec)) missing.push_back(app.path() + "/AppRun");
  check(fm.id, "bundle", missing.empty(),
        missing.empty()
            ? bundle.string()
            : "the module's bundle " + bundle.string() + " lacks " + joined(missing, " and "),
        reinstall(fm));
  check(fm.id, "loads", static_cast<bool>(in.loads),
        in.loads ? in.real : in.real + " doesn't load: " + in.loads.error().description,
        reinstall(fm));
  switchedOn(fm, in.copies.front());
  restarted(in);
}

void Diagnosis::switchedOn(const FileManager& fm, const std::string& loaded) {
  auto settingsList = [&](const std::string& schema, const std::string& name, bool anyCase) {
    auto list = settingsStrings(schema, "disabled-extensions");
    if (!list) return;
    std::vector<std::string> kept;
    bool off = false;
    for (const auto& entry : *list) {
      bool match = anyCase ? g_ascii_strcasecmp(entry.c_str(), name.c_str()) == 0 : entry == name;
      off = off || match;
      if (!match) kept.push_back("'" + entry + "'");
    }
    check(fm.id, "switched-on", !off,
          "switched off in " + fm.title + "'s settings (" + schema + " disabled-extensions)",
          "gsettings set " + schema + " disabled-extensions " +
              shellQuoted("[" + joined(kept, ", ") + "]"));
  };
  switch (fm.off) {
    case Switch::none:
      return;
    case Switch::nemoSettings:
      return settingsList("org.nemo.plugins", fm.switchName, false);
    case Switch::cajaSettings:
      // Caja by the name of the file it loads, without ".so", in any case.
      return settingsList("org.mate.caja.extensions", fs::path(loaded).stem().string(), true);
    case Switch::kdeServiceMenus: {
      auto shown = kdeConfigValue("kservicemenurc", "Show", fm.switchName);
      check(
          fm.id, "switched-on", !shown || *shown != "false",
          "switched off in Dolphin's settings (kservicemenurc [Show] " + fm.switchName + "=false)",
          "kwriteconfig5 --file kservicemenurc --group Show --key " + fm.switchName +
              " true, or tick it in Dolphin: Configure Dolphin > Context Menu");
      return;
    }
  }
}

void Diagnosis::restarted(const Install& in) {
  FileTime since = changed(in.copies.front(), in.real);
  std::vector<std::string> stale;
  for (const auto& p : runningProcesses(in.fm.id)) {
    // /proc counts start times in ticks from a boot time in whole seconds.
    if (p.started.seconds + 1 < since.seconds) stale.push_back(std::to_string(p.pid));
  }
  check(in.fm.id, "restarted", stale.empty(),
        stale.empty() ? "no process of " + in.fm.id + " is older than the module"
                      : in.fm.title + " (process " + joined(stale, ", ") +
                            ") started before the module last changed, so it runs without it",
        "restart it: " + in.fm.quit + ", then start " + in.fm.id + " again");
}

void Diagnosis::extension(Host& host, const std::vector<std::string>& withoutModule,
                          bool anyModule) {
  const std::string scope = "extension";
  check(scope, "installed", anyModule,
        withoutModule.empty()
            ? "none of the file managers it has a module for is installed"
            : "no file manager here has the module: " + joined(withoutModule, ", "),
        withoutModule.empty() ? "install one: GNOME Files, Nemo, Caja, Thunar or Dolphin"
                              : "sudo apt install vandrel-<file manager>");

  auto& p = host.platform();
  if (auto file = host.manifestFileInForce()) {
    std::string why = whyItFails(checkManifestFile(p.system.files(), file->path()));
    check(
        scope, "manifest", why.empty(),
        why.empty() ? file->path() : "the manifest " + file->path() + " doesn't load: " + why,
        "vandrel-finder check " + shellQuoted(file->path()) + ", then have Vandrel write it again");
  } else {
    check(scope, "manifest", false,
          "no manifest: no menu.json in " + host.extension().sharedFolder().path() +
              " and no fallback-menu.json in the bundle",
          "sudo apt install --reinstall vandrel-extension");
  }

  // The publisher's own rule for the folders on the way, then whether this
  // user may write in those that exist.
  const FileURL& sharedURL = host.extension().sharedFolder();
  std::string shared = sharedURL.path(), requests = requestsFolder(sharedURL).path();
  std::string why, fix = shared;
  if (auto ok = checkRequestsFolder(p.system.files(), sharedURL); !ok) {
    why = ok.error().description;
    if (why.find(requests) != std::string::npos) fix = requests;
  } else {
    for (const std::string& folder : {shared, requests}) {
      if (::access(folder.c_str(), F_OK) == 0 && ::access(folder.c_str(), W_OK | X_OK) != 0) {
        why = folder + " is not writable: " + std::strerror(errno);
        fix = folder;
        break;
      }
    }
  }
  check(scope, "shared-folder", why.empty(), why.empty() ? shared : why,
        "make it a folder of yours: mv " + shellQuoted(fix) + " " + shellQuoted(fix + ".old") +
            " (it is made again when needed)");

  std::string appRun =
      hostApplicationURL(p.system.bundle().bundleURL()).appendingPathComponent("AppRun").path();
  auto appWhy = whyNotStartable(appRun);
  auto handler = appWhy ? schemeHandler("vandrel") : Expected<std::string>(std::string());
  check(scope, "host-application", !appWhy || handler,
        !appWhy   ? appRun
        : handler ? *handler
                  : "the host application can't be started: " + *appWhy + ", and " +
                        handler.error().description,
        "sudo apt install --reinstall vandrel-extension, or register a handler: vandrel-finder "
        "install-handler");
}

const char* verdictName(Verdict v) {
  return v == Verdict::passed ? "passed" : v == Verdict::note ? "note" : "failed";
}

}  // namespace

bool DoctorReport::healthy() const {
  return std::none_of(findings.begin(), findings.end(),
                      [](const Finding& f) { return f.verdict == Verdict::failed; });
}

DoctorReport diagnose(Host& host) {
  std::vector<Install> installs;
  for (const auto& fm : fileManagers()) {
    if (onPath(fm.id)) installs.push_back(locate(fm));
  }
  Diagnosis d;
  std::vector<std::string> withoutModule;
  bool anyModule = false;
  for (const auto& in : installs) {
    if (in.copies.empty() && in.strayed.empty()) {
      withoutModule.push_back(in.fm.title);
      d.add(in.fm.id, "linked", Verdict::note, in.fm.title + " has no Vandrel module",
            "sudo apt install vandrel-" + in.fm.id);
      continue;
    }
    anyModule = true;
    d.fileManager(in, host.platform().system.files());
  }
  d.extension(host, withoutModule, anyModule);
  return std::move(d.report);
}

std::string doctorText(const DoctorReport& report) {
  std::string out;
  int failed = 0, passed = 0;
  for (const auto& f : report.findings) {
    passed += f.verdict == Verdict::passed;
    failed += f.verdict == Verdict::failed;
    if (f.verdict == Verdict::passed) continue;
    // One line each, whatever the paths hold.
    out += (f.verdict == Verdict::note ? "note: " : "") + f.scope + ": " +
           text::printable(f.detail) + "; fix: " + text::printable(f.fix) + "\n";
  }
  out += std::to_string(passed) + " checks passed, " + std::to_string(failed) + " failed\n";
  return out;
}

nlohmann::json doctorJSON(const DoctorReport& report) {
  nlohmann::json checks = nlohmann::json::array();
  for (const auto& f : report.findings) {
    checks.push_back({{"scope", f.scope},
                      {"check", f.check},
                      {"verdict", verdictName(f.verdict)},
                      {"detail", f.detail},
                      {"fix", f.fix.empty() ? nlohmann::json(nullptr) : nlohmann::json(f.fix)}});
  }
  return {{"healthy", report.healthy()}, {"checks", checks}};
}

}  // namespace vdl::cli
