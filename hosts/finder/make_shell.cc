// Building the shell where nothing it throws can reach the runtime.
#include "hosts/finder/finder_shell.h"

namespace vdl::finder {

std::unique_ptr<Shell> makeShell() noexcept {
  try {
    return std::make_unique<Shell>();
  } catch (...) {
    return nullptr;
  }
}

}  // namespace vdl::finder
