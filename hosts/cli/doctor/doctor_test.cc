// vandrel-finder doctor on broken installs, one row per check. Runs in a
// private mount namespace (scripts/in-private-home): the file managers'
// folders are emptied by mounts that no one outside sees, so the rows link
// modules where the real file managers look without touching the machine.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "extension/shared_folder.h"
#include "hosts/cli/doctor/file_managers.h"
#include "testing/process.h"
#include "testing/recording_app_dir.h"

namespace vdl {
namespace {

namespace fs = std::filesystem;

// Stands in for the package database: each file manager at the version its
// module is built for (MINIMUM_<id>), unless FAKE_<id>_VERSION says otherwise.
constexpr const char* kPackageQuery = R"(#!/bin/sh
eval "v=\${FAKE_$3_VERSION:-\${MINIMUM_$3:-}}"
[ -n "$v" ] || exit 1
printf %s "$v"
)";
constexpr const char* kSchemas = R"(<schemalist>
<schema id="org.nemo.plugins" path="/org/nemo/plugins/">
  <key name="disabled-extensions" type="as"><default>[]</default></key></schema>
<schema id="org.mate.caja.extensions" path="/org/mate/caja/extensions/">
  <key name="disabled-extensions" type="as"><default>[]</default></key></schema>
</schemalist>)";

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
// linked where its file manager looks, stand-ins for the file managers'
// programs (they run until killed) alone on PATH, and a home, settings and
// desktop of its own.
struct Machine {
  Machine() {
    for (const auto& fm : cli::fileManagers()) {
      fms[fm.id] = fm;
      environment["MINIMUM_" + fm.id] = fm.minimum + "-1";
      program(fm.id, "#!/bin/sh\nwhile :; do /bin/sleep 1; done\n");
      link(fm.folders.front(), built + fm.module);
    }
    program("dpkg-query", kPackageQuery);
    testkit::writeFile(tmp / "schemas/vdl.gschema.xml", kSchemas);
    EXPECT_EQ(testkit::runProcess({"glib-compile-schemas", tmp / "schemas"}).exitStatus, 0);
  }

  void program(const std::string& name, const std::string& script) {
    testkit::writeFile(tmp / ("bin/" + name), script);
    fs::permissions(tmp / ("bin/" + name), fs::perms::owner_all);
  }
  static void link(const std::string& folder, const std::string& target) {
    fs::create_directories(folder);
    fs::create_symlink(target, folder + "/" + fs::path(target).filename().string());
  }
  void relink(const std::string& id, const std::string& target) {
    fs::remove(fms[id].folders.front() + "/" + fms[id].module);
    link(fms[id].folders.front(), target);
  }
  // An AppDir of its own with the module (or `content`) in its bundle, and
  // the fallback manifest and AppRun when asked; the module's path.
  std::string bundleWith(const std::string& id, bool manifest, bool appRun,
                         const std::string& content = {}) {
    std::string appDir = tmp / (id + ".AppDir"), module = appDir + "/usr/lib/finder-sync/";
    fs::create_directories(module);
    if (manifest) fs::copy_file(built + "fallback-menu.json", module + "fallback-menu.json");
    if (appRun) fs::copy_file(built + "../../../AppRun", appDir + "/AppRun");
    module += fms[id].module;
    content.empty() ? (void)fs::copy_file(built + fms[id].module, module)
                    : testkit::writeFile(module, content);
    return module;
  }

  // The failed checks, as "scope/check", of one run with --json; the text
  // run must say the same, one line with its fix per failure.
  std::set<std::string> doctor() {
    std::vector<std::string> argv{VDL_FINDER, "--home", tmp / "home", "--bundle", bundle, "doctor"};
    testkit::Environment env{{"PATH", tmp / "bin"},
                             {"HOME", tmp / "home"},
                             {"XDG_CONFIG_HOME", tmp / "config"},
                             {"XDG_CONFIG_DIRS", tmp / "etc-xdg"},
                             {"XDG_DATA_HOME", tmp / "data"},
                             {"XDG_DATA_DIRS", tmp / "share"},
                             {"GSETTINGS_BACKEND", "keyfile"},
                             {"GSETTINGS_SCHEMA_DIR", tmp / "schemas"}};
    env.insert(environment.begin(), environment.end());
    auto text = testkit::runProcess(argv, env);
    argv.push_back("--json");
    auto json = testkit::runProcess(argv, env);
    auto report = nlohmann::json::parse(json.out, nullptr, false);
    std::set<std::string> failed;
    for (const auto& c : report.value("checks", nlohmann::json::array())) {
      if (c["verdict"] == "failed")
        failed.insert(c["scope"].get<std::string>() + "/" + c["check"].get<std::string>());
    }
    EXPECT_EQ(text.err + json.err, "") << "no warnings";
    EXPECT_EQ(text.exitStatus, failed.empty() ? 0 : 1) << text.out;
    EXPECT_EQ(json.exitStatus, text.exitStatus);
    EXPECT_EQ(report.value("healthy", false), failed.empty());
    std::size_t lines = 0, notes = 0;
    for (std::size_t at = 0; (at = text.out.find("; fix: ", at)) != std::string::npos; ++at)
      ++lines;
    for (std::size_t at = 0; (at = text.out.find("note: ", at)) != std::string::npos; ++at) ++notes;
    EXPECT_EQ(lines - notes, failed.size()) << text.out;
    return failed;
  }

  testkit::TempDir tmp;
  std::map<std::string, cli::FileManager> fms;
  const std::string built = std::string(VDL_BUNDLE) + "/";
  std::string shared = tmp / "home/Library/Application Support/" +
                       std::string(hostBundleIdentifier()) + "/FinderSync";
  std::string bundle = VDL_BUNDLE;
  testkit::Environment environment;
  std::unique_ptr<testkit::ChildProcess> running;
};

TEST(Doctor, EachBrokenInstallFailsItsCheckWithAFix) {
  if (!testkit::runsInPrivateHome()) GTEST_SKIP() << "needs scripts/in-private-home";
  // Each row breaks the file managers its failures name.
  const std::pair<std::function<void(Machine&)>, std::set<std::string>> rows[] = {
      {[](Machine&) {}, {}},
      {[](Machine& m) { m.environment["FAKE_nemo_VERSION"] = "5.4.0"; }, {"nemo/version"}},
      {[](Machine& m) {  // a Dolphin of the other KDE Frameworks and Qt
         const auto& fm = m.fms["dolphin"];
         m.environment["FAKE_dolphin_VERSION"] = fm.below.empty() ? "4:22.12.3-1" : "4:25.04.3-1";
       },
       {"dolphin/version"}},
      {[](Machine& m) {  // only in the folder Nautilus 42 read
         auto& fm = m.fms["nautilus"];
         fs::remove(fm.folders.front() + "/" + fm.module);
         Machine::link(fm.formerFolders.front(), m.built + fm.module);
       },
       {"nautilus/linked"}},
      {[](Machine& m) {
         m.environment["CAJA_EXTENSION_DIRS"] = m.tmp / "caja-extra";
         Machine::link(m.tmp / "caja-extra", m.built + "libvandrel-caja.so");
       },
       {"caja/single-copy"}},
      {[](Machine& m) {  // a broken link; a bundle without manifest and AppRun
         m.relink("nemo", m.tmp / "gone/libvandrel-nemo.so");
         m.relink("caja", m.bundleWith("caja", false, false));
       },
       {"nemo/bundle", "caja/bundle"}},
      {[](Machine& m) { m.relink("thunar", m.bundleWith("thunar", true, true, "no module")); },
       {"thunar/loads"}},
      {[](Machine& m) {
         // The names each host declares, as the file managers' settings write them.
         testkit::writeFile(
             m.tmp / "config/glib-2.0/settings/keyfile",
             "[org/nemo/plugins]\ndisabled-extensions=['Other', '" + m.fms["nemo"].switchName +
                 "']\n[org/mate/caja/extensions]\ndisabled-extensions=['" + "LibVandrel-Caja']\n");
         testkit::writeFile(m.tmp / "etc-xdg/kservicemenurc",
                            "[Show]\n" + m.fms["dolphin"].switchName + "=false\n");
       },
       {"nemo/switched-on", "caja/switched-on", "dolphin/switched-on"}},
      {[](Machine& m) {  // running since before the module changed
         m.running =
             std::make_unique<testkit::ChildProcess>(std::vector<std::string>{m.tmp / "bin/nemo"});
         std::string copy = m.bundleWith("nemo", true, true);
         auto later = std::chrono::system_clock::now() + std::chrono::hours(1);
         testkit::setModified(copy, {std::chrono::system_clock::to_time_t(later), 0});
         m.relink("nemo", copy);
       },
       {"nemo/restarted"}},
      {[](Machine& m) { testkit::writeFile(m.shared + "/menu.json", "{"); },
       {"extension/manifest"}},
      {[](Machine& m) {  // a shared folder kept on another disk is no fault
         fs::create_directories(m.tmp / "elsewhere");
         fs::create_directories(fs::path(m.shared).parent_path());
         fs::create_directory_symlink(m.tmp / "elsewhere", m.shared);
       },
       {}},
      {[](Machine& m) {  // but a requests folder that is a link is
         fs::create_directories(m.tmp / "elsewhere");
         fs::create_directories(m.shared);
         fs::create_directory_symlink(m.tmp / "elsewhere", m.shared + "/requests");
       },
       {"extension/shared-folder"}},
      {[](Machine& m) {  // no AppRun, and no handler registered
         m.bundle = fs::path(m.bundleWith("nemo", true, false)).parent_path();
       },
       {"extension/host-application"}},
      {[](Machine& m) {
         for (auto& [id, fm] : m.fms) fs::remove(fm.folders.front() + "/" + fm.module);
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
  int row = 0;
  for (const auto& [breakIt, failed] : rows) {
    SCOPED_TRACE("row " + std::to_string(row++));
    for (const auto& f : folders) mountOrThrow("tmpfs", f, "mode=0755");  // empty again
    Machine m;
    bool built = std::all_of(failed.begin(), failed.end(), [&](const std::string& f) {
      return f.rfind("extension/", 0) == 0 || m.fms.count(f.substr(0, f.find('/')));
    });
    if (!built) continue;
    breakIt(m);
    EXPECT_EQ(m.doctor(), failed);
  }
}

}  // namespace
}  // namespace vdl
