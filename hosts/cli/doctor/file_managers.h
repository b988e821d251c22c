// The file managers that the extension has a module for, and what each one
// does with it: where it looks, what it calls, how it is switched off and
// restarted. Folders are the ones this build installs to.
#pragma once

#include <string>
#include <vector>

namespace vdl::cli {

enum class Switch { none, nemoSettings, cajaSettings, kdeServiceMenus };

struct FileManager {
  std::string id;       // "nemo": its program, process and Debian package
  std::string title;    // "Nemo"
  std::string minimum;  // the oldest version the module is built for
  // The first version it is no longer built for, and why (a Dolphin of
  // another Qt); empty: none.
  std::string below;
  std::string belowWhy;
  std::string module;  // "libvandrel-nemo.so"
  std::vector<std::string> entryPoints;
  // The folders it reads modules from: the one this build installs to, then
  // those the environment adds.
  std::vector<std::string> folders;
  // Folders an older version read, which this one no longer does.
  std::vector<std::string> formerFolders;
  Switch off = Switch::none;
  // The name its settings switch the module off by (Nemo's provider type,
  // Dolphin's plugin id); empty where none is declared.
  std::string switchName;
  std::string quit;  // the command that quits it, to start it again
  // The tool that writes its KDE settings (Dolphin's: of its Frameworks).
  std::string writeConfig;
};

// The file managers this build made modules for, with the folders that the
// environment adds as it is now.
std::vector<FileManager> fileManagers();

}  // namespace vdl::cli
