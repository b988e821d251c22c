// Starting a program that outlives the caller, as a desktop launcher does.
#pragma once

#include <string>
#include <vector>

#include "platform/expected.h"

namespace vdl::linux_platform {

// Runs argv[0] with `argv` and exactly `environment`, in a session of its
// own, with stdin and stdout on /dev/null and stderr inherited, and with no
// other descriptor of the caller. Nothing is expanded: argv[0] is a path.
// Returns once the program's exec has succeeded or failed, never waiting for
// the program itself; it leaves no child to reap.
Status startDetached(const std::vector<std::string>& argv,
                     const std::vector<std::string>& environment);

// This process's environment less the variables named in `without`.
std::vector<std::string> environmentWithout(const std::vector<std::string>& without);

}  // namespace vdl::linux_platform
