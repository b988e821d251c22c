// The table of file managers. What each module's host declares (its file,
// entry points, folder and oldest version) comes from the build.
#include "hosts/cli/doctor/file_managers.h"

#include <cstdlib>
#include <sstream>

namespace vdl::cli {
namespace {

// The entries of a colon-separated list in the environment variable `name`,
// each followed by `suffix`.
void appendFromEnvironment(std::vector<std::string>& folders, const char* name,
                           const std::string& suffix) {
  const char* value = std::getenv(name);
  if (value == nullptr) return;
  std::stringstream list(value);
  for (std::string folder; std::getline(list, folder, ':');) {
    if (!folder.empty()) folders.push_back(folder + suffix);
  }
}

std::string parentOf(const std::string& folder) {
  return folder.substr(0, folder.rfind('/'));
}

}  // namespace

std::vector<FileManager> fileManagers() {
  std::vector<FileManager> all;
#ifdef VDL_NAUTILUS_EXTENSION_DIR
  // Nautilus 43 moved from extensions-3.0 to extensions-4.
  all.push_back({"nautilus",
                 "GNOME Files",
                 VDL_NAUTILUS_MINIMUM,
                 "",
                 "",
                 VDL_NAUTILUS_MODULE,
                 VDL_NAUTILUS_ENTRY_POINTS,
                 {VDL_NAUTILUS_EXTENSION_DIR},
                 {parentOf(VDL_NAUTILUS_EXTENSION_DIR) + "/extensions-3.0"},
                 Switch::none,
                 VDL_NAUTILUS_SWITCH,
                 "nautilus -q",
                 ""});
#endif
#ifdef VDL_NEMO_EXTENSION_DIR
  all.push_back({"nemo",
                 "Nemo",
                 VDL_NEMO_MINIMUM,
                 "",
                 "",
                 VDL_NEMO_MODULE,
                 VDL_NEMO_ENTRY_POINTS,
                 {VDL_NEMO_EXTENSION_DIR},
                 {},
                 Switch::nemoSettings,
                 VDL_NEMO_SWITCH,
                 "nemo -q",
                 ""});
#endif
#ifdef VDL_CAJA_EXTENSION_DIR
  all.push_back({"caja",
                 "Caja",
                 VDL_CAJA_MINIMUM,
                 "",
                 "",
                 VDL_CAJA_MODULE,
                 VDL_CAJA_ENTRY_POINTS,
                 {VDL_CAJA_EXTENSION_DIR},
                 {},
                 Switch::cajaSettings,
                 VDL_CAJA_SWITCH,
                 "caja -q",
                 ""});
  appendFromEnvironment(all.back().folders, "CAJA_EXTENSION_DIRS", "");
#endif
#ifdef VDL_THUNAR_EXTENSION_DIR
  all.push_back({"thunar",
                 "Thunar",
                 VDL_THUNAR_MINIMUM,
                 "",
                 "",
                 VDL_THUNAR_MODULE,
                 VDL_THUNAR_ENTRY_POINTS,
                 {VDL_THUNAR_EXTENSION_DIR},
                 {},
                 Switch::none,
                 VDL_THUNAR_SWITCH,
                 "thunar -q",
                 ""});
#endif
#ifdef VDL_DOLPHIN_EXTENSION_DIR
  // KIO looks in the same subfolder of every Qt plugin folder of its own Qt;
  // Dolphin 24.02 moved to KDE Frameworks 6 and Qt 6, which refuse a Qt 5
  // plugin, and read kf6/ where Qt 5's read kf5/.
#if VDL_KF == 6
  all.push_back({"dolphin",
                 "Dolphin",
                 VDL_DOLPHIN_MINIMUM,
                 "",
                 "",
                 VDL_DOLPHIN_MODULE,
                 VDL_DOLPHIN_ENTRY_POINTS,
                 {VDL_DOLPHIN_EXTENSION_DIR},
                 {"/usr/lib/x86_64-linux-gnu/qt5/plugins/kf5/kfileitemaction"},
                 Switch::kdeServiceMenus,
                 VDL_DOLPHIN_SWITCH,
                 "pkill -x dolphin",
                 "kwriteconfig6"});
  appendFromEnvironment(all.back().folders, "QT_PLUGIN_PATH", "/kf6/kfileitemaction");
#else
  all.push_back({"dolphin",
                 "Dolphin",
                 VDL_DOLPHIN_MINIMUM,
                 "24.02",
                 "uses KDE Frameworks 6 and Qt 6, and this module is built for KDE Frameworks 5",
                 VDL_DOLPHIN_MODULE,
                 VDL_DOLPHIN_ENTRY_POINTS,
                 {VDL_DOLPHIN_EXTENSION_DIR},
                 {},
                 Switch::kdeServiceMenus,
                 VDL_DOLPHIN_SWITCH,
                 "pkill -x dolphin",
                 "kwriteconfig5"});
  appendFromEnvironment(all.back().folders, "QT_PLUGIN_PATH", "/kf5/kfileitemaction");
#endif
#endif
  return all;
}

}  // namespace vdl::cli
