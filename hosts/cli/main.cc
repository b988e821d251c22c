// vandrel-finder: the command-line stand-in for the file manager.
#include <signal.h>
#include <sys/resource.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "hosts/cli/commands.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
  // Past a file-size limit a write fails with an error instead of killing the
  // process, so that a request is refused, logged and cleaned up like any other.
  ::signal(SIGXFSZ, SIG_IGN);
  if (!enoughDescriptors()) return 1;
  try {
    return vdl::cli::runCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::cerr << "vandrel-finder: " << e.what() << "\n";
    return 1;
  }
}
