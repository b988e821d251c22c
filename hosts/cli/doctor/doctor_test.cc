// vandrel-finder doctor on broken installs, one row per check. Runs in a
// private mount namespace (scripts/in-private-home): the file managers'
// folders are emptied by mounts that no one outside sees, so the rows link
// modules where the real file managers look without touching the machine.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>

#include <chrono>
#include <filesystem>
#include <functional>
#include <set>

#include <nlohmann/json.hpp>

#include "extension/shared_folder.h"
#include "hosts/cli/doctor/file_managers.h"
#include "testing/process.h"
#include "testing/recording_app_dir.h"
#include "testing/temp_dir.h"

namespace vdl {
namespace {

namespace fs = std::filesystem;

// Stands in for the package database: each file manager's version, which
// FAKE_<ID>_VERSION overrides.
constexpr const char* kPackageQuery = R"(#!/bin/sh
case "$3" in
  nautilus) v=43.2-1 ;; nemo) v=5.6.4-1 ;; caja) v=1.26.1-1 ;; thunar) v=4.18.4-1 ;;
  dolphin) v=4:22.12.3-1 ;; *) exit 1 ;;
esac
eval "printf %s \"\${FAKE_$3_VERSION:-$v}\""
)";

constexpr const char* kSchemas = R"(<schemalist>
  <schema id="org.nemo.plugins" path="/org/nemo/plugins/">
    <key name="disabled-extensions" type="as"><default>[]</default></key>
  </schema>
  <schema id="org.mate.caja.extensions" path="/org/mate/caja/extensions/">
    <key name="disabled-extensions" type="as"><default>[]</default></key>
  </schema>
</schemalist>
)";

void mountOrThrow(const char* type, const std::string& target, const std::string& options) {
  if (::mount(type, target.c_str(), type, 0, options.c_str()) != 0) {
    throw std::runtime_error("can't mount " + std::string(type) + " on " + target);
  }
}

// The file managers' folders, made in this namespace alone: an overlay on
// their common ancestor, its layers in `layers`, lets them be made where
// they don't exist.
std::vector<std::string> makeFolders(const std::string& layers) {
  ::unsetenv("CAJA_EXTENSION_DIRS");
  ::unsetenv("QT_PLUGIN_PATH");
  std::vector<std::string> all;
  for (const auto& fm : cli::fileManagers()) {
    all.insert(all.end(), fm.folders.begin(), fm.folders.end());
    all.insert(all.end(), fm.formerFolders.begin(), fm.formerFolders.end());
  }
  if (all.empty()) return all;
  fs::path common = fs::path(all.front()).parent_path();
  for (const auto& f : all) {
    while (f.rfind(common.string() + "/", 0) != 0) common = common.parent_path();
  }
  mountOrThrow("tmpfs", layers, "mode=0700");
  fs::create_directories(layers + "/upper");
  fs::create_directories(layers + "/work");
  mountOrThrow(
      "overlay", common,
      "lowerdir=" + common.string() + ",upperdir=" + layers + "/upper,workdir=" + layers + "/work");
  for (const auto& f : all) fs::create_directories(f);
  return all;
}

// A machine where every module this build made is installed and works:
// linked where its file manager looks, the file managers' programs stand-ins
// on PATH, and a home, settings and desktop of its own.
struct Machine {
  Machine() {
    for (const auto& fm : cli::fileManagers()) {
      fms.push_back(fm);
      // A stand-in for the file manager's program: it runs until killed.
      program(fm.id, "#!/bin/sh\nwhile :; do /bin/sleep 1; done\n");
      link(fm.folders.front(), std::string(VDL_BUNDLE) + "/" + fm.module);
    }
    program("dpkg-query", kPackageQuery);
    testkit::writeFile(tmp / "schemas/vdl.gschema.xml", kSchemas);
    auto compiled = testkit::runProcess({"glib-compile-schemas", tmp / "schemas"});
    EXPECT_EQ(compiled.exitStatus, 0) << compiled.err;
  }

  const cli::FileManager& fm(const std::string& id) const {
    return *std::find_if(fms.begin(), fms.end(), [&](const auto& f) { return f.id == id; });
  }
  void program(const std::string& name, const std::string& script) {
    testkit::writeFile(tmp / ("bin/" + name), script);
    fs::permissions(tmp / ("bin/" + name), fs::perms::owner_all);
  }
  static void link(const std::string& folder, const std::string& target) {
    fs::create_directories(folder);
    fs::create_symlink(target, folder + "/" + fs::path(target).filename().string());
  }
  void relink(const cli::FileManager& m, const std::string& target) {
    fs::remove(m.folders.front() + "/" + m.module);
    link(m.folders.front(), target);
  }
  // An AppDir of its own holding the module (or `content`) in its bundle,
  // with the fallback manifest and AppRun when asked.
  std::string bundleWith(const std::string& name, const cli::FileManager& m, bool manifest,
                         bool appRun, const std::string& content = {}) {
    std::string folder = tmp / name + "/usr/lib/finder-sync";
    std::string built = VDL_BUNDLE;
    fs::create_directories(folder);
    if (content.empty()) {
      fs::copy_file(built + "/" + m.module, folder + "/" + m.module);
    } else {
      testkit::writeFile(folder + "/" + m.module, content);
    }
    if (manifest) fs::copy_file(built + "/fallback-menu.json", folder + "/fallback-menu.json");
    if (appRun) fs::copy_file(built + "/../../../AppRun", tmp / name + "/AppRun");
    return folder + "/" + m.module;
  }

  struct Outcome {
    int exitStatus;
    std::set<std::string> failed;  // "scope/check"
    std::string text;
  };
  Outcome doctor() {
    std::vector<std::string> argv{VDL_FINDER, "--home", tmp / "home", "--bundle", bundle, "doctor"};
    testkit::Environment env{{"PATH", tmp / "bin"},
                             {"HOME", tmp / "home"},
                             {"XDG_CONFIG_HOME", tmp / "config"},
                             {"XDG_CONFIG_DIRS", tmp / "etc-xdg"},
                             {"XDG_DATA_HOME", tmp / "data"},
                             {"XDG_DATA_DIRS", tmp / "share"},
                             {"GSETTINGS_BACKEND", "keyfile"},
                             {"GSETTINGS_SCHEMA_DIR", tmp / "schemas"}};
    for (const auto& [k, v] : environment) env[k] = v;
    auto text = testkit::runProcess(argv, env);
    argv.push_back("--json");
    auto json = testkit::runProcess(argv, env);
    EXPECT_EQ(text.exitStatus, json.exitStatus);
    EXPECT_EQ(text.err + json.err, "") << "no warnings";
    auto report = nlohmann::json::parse(json.out, nullptr, false);
    EXPECT_EQ(report.value("healthy", false), json.exitStatus == 0);
    Outcome o{json.exitStatus, {}, text.out};
    for (const auto& c : report.value("checks", nlohmann::json::array())) {
      if (c["verdict"] == "failed") {
        o.failed.insert(c["scope"].get<std::string>() + "/" + c["check"].get<std::string>());
      }
    }
    return o;
  }

  testkit::TempDir tmp;
  std::vector<cli::FileManager> fms;
  std::string shared = tmp / "home/Library/Application Support/" +
                       std::string(hostBundleIdentifier()) + "/FinderSync";
  std::string bundle = VDL_BUNDLE;
  testkit::Environment environment;
  std::unique_ptr<testkit::ChildProcess> running;
};

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; ++at) ++n;
  return n;
}

TEST(Doctor, EachBrokenInstallFailsItsCheckWithAFix) {
  if (!testkit::runsInPrivateHome()) GTEST_SKIP() << "needs scripts/in-private-home";
  struct Row {
    const char* name;
    std::vector<std::string> needs;  // the file managers it breaks
    std::function<void(Machine&)> breakIt;
    std::set<std::string> failed;
  } rows[] = {
      {"healthy", {}, [](Machine&) {}, {}},
      {"too old",
       {"nemo"},
       [](Machine& m) { m.environment["FAKE_nemo_VERSION"] = "5.4.0"; },
       {"nemo/version"}},
      {"in a folder no longer read",
       {"nautilus"},
       [](Machine& m) {
         auto& fm = m.fm("nautilus");
         fs::remove(fm.folders.front() + "/" + fm.module);
         Machine::link(fm.formerFolders.front(), std::string(VDL_BUNDLE) + "/" + fm.module);
       },
       {"nautilus/linked"}},
      {"a second copy",
       {"caja"},
       [](Machine& m) {
         m.environment["CAJA_EXTENSION_DIRS"] = m.tmp / "caja-extra";
         Machine::link(m.tmp / "caja-extra", std::string(VDL_BUNDLE) + "/libvandrel-caja.so");
       },
       {"caja/single-copy"}},
      {"a broken link and a bare bundle",
       {"nemo", "caja"},
       [](Machine& m) {
         m.relink(m.fm("nemo"), m.tmp / "gone/libvandrel-nemo.so");
         m.relink(m.fm("caja"), m.bundleWith("Bare.AppDir", m.fm("caja"), false, false));
       },
       {"nemo/bundle", "caja/bundle"}},
      {"a module that doesn't load",
       {"thunar"},
       [](Machine& m) {
         m.relink(m.fm("thunar"), m.bundleWith("Bad.AppDir", m.fm("thunar"), true, true, "no"));
       },
       {"thunar/loads"}},
      {"switched off",
       {"nemo", "caja", "dolphin"},
       [](Machine& m) {
         testkit::writeFile(m.tmp / "config/glib-2.0/settings/keyfile",
                            "[org/nemo/plugins]\n"
                            "disabled-extensions=['Other', 'VdlNemoProvider']\n"
                            "[org/mate/caja/extensions]\n"
                            "disabled-extensions=['LibVandrel-Caja']\n");
         testkit::writeFile(m.tmp / "etc-xdg/kservicemenurc", "[Show]\nvandrel-dolphin=false\n");
       },
       {"nemo/switched-on", "caja/switched-on", "dolphin/switched-on"}},
      {"running since before the module changed",
       {"nemo"},
       [](Machine& m) {
         m.running =
             std::make_unique<testkit::ChildProcess>(std::vector<std::string>{m.tmp / "bin/nemo"});
         std::string copy = m.bundleWith("New.AppDir", m.fm("nemo"), true, true);
         auto later = std::chrono::system_clock::now() + std::chrono::hours(1);
         testkit::setModified(copy, {std::chrono::system_clock::to_time_t(later), 0});
         m.relink(m.fm("nemo"), copy);
       },
       {"nemo/restarted"}},
      {"a broken manifest",
       {},
       [](Machine& m) { testkit::writeFile(m.shared + "/menu.json", "{"); },
       {"extension/manifest"}},
      {"a linked shared folder",
       {},
       [](Machine& m) {
         fs::create_directories(m.tmp / "elsewhere");
         fs::create_directories(fs::path(m.shared).parent_path());
         fs::create_directory_symlink(m.tmp / "elsewhere", m.shared);
       },
       {"extension/shared-folder"}},
      {"no host application and no handler",
       {},
       [](Machine& m) {
         m.bundle =
             fs::path(m.bundleWith("NoHost.AppDir", m.fms.front(), true, false)).parent_path();
       },
       {"extension/host-application"}},
      {"no file manager with the module",
       {},
       [](Machine& m) {
         for (const auto& fm : m.fms) fs::remove(fm.folders.front() + "/" + fm.module);
       },
       {"extension/installed"}},
  };
  testkit::TempDir layers;
  struct Unmount {
    std::string path;
    ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }  // so that the folder can go
  } unmount{layers.path()};
  const auto folders = makeFolders(layers.path());
  if (folders.empty()) GTEST_SKIP() << "no file manager's module was built";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    for (const auto& f : folders) mountOrThrow("tmpfs", f, "mode=0755");
    Machine m;
    if (!std::all_of(row.needs.begin(), row.needs.end(), [&](const std::string& id) {
          return std::any_of(m.fms.begin(), m.fms.end(), [&](auto& f) { return f.id == id; });
        })) {
      continue;
    }
    row.breakIt(m);
    auto o = m.doctor();
    EXPECT_EQ(o.failed, row.failed) << o.text;
    EXPECT_EQ(o.exitStatus, row.failed.empty() ? 0 : 1) << o.text;
    // One line per failed check, each with its fix; notes besides.
    EXPECT_EQ(count(o.text, "; fix: ") - count(o.text, "note: "), row.failed.size()) << o.text;
  }
}

}  // namespace
}  // namespace vdl
