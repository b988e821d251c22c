// What the doctor asks the system: each question answered from the real
// thing, none of them changing anything.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/expected.h"
#include "platform/file_system.h"

namespace vdl::cli {

// The installed version of a Debian package, when the package database knows it.
std::optional<std::string> packageVersion(const std::string& package);

// Whether `version` is at least `minimum`, comparing the numbers of the
// upstream part (an epoch and a Debian revision are left out).
bool versionAtLeast(const std::string& version, const std::string& minimum);

// Loads the module at `path` the way a file manager does, in a child process
// so that a module that crashes can't take this one down, and finds each
// entry point in it. Fails with the loader's message.
Status loadsInChild(const std::string& path, const std::vector<std::string>& entryPoints);

struct RunningProcess {
  int pid = 0;
  FileTime started;
};

// This user's processes whose program is named `name`.
std::vector<RunningProcess> runningProcesses(const std::string& name);

// The strings of a settings key, or none when the schema isn't installed.
std::optional<std::vector<std::string>> settingsStrings(const std::string& schema,
                                                        const std::string& key);

// The value of `key` in `group` of the KDE configuration file `name`, as
// the user's and then the system's configuration folders give it.
std::optional<std::string> kdeConfigValue(const std::string& name, const std::string& group,
                                          const std::string& key);

// Why the program at `path` can't be started, or none when it can: a
// regular, executable file that the kernel runs (a binary or a script).
std::optional<std::string> whyNotStartable(const std::string& path);

// The command line of the desktop's handler of `scheme`, when one is
// registered and its program can be started; else why not.
Expected<std::string> schemeHandler(const std::string& scheme);

}  // namespace vdl::cli
