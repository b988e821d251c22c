// The loader's answer, then the real path.
#include "platform/linux/loaded_module.h"

#include <dlfcn.h>

#include <cstdlib>
#include <memory>

namespace vdl::linux_platform {

std::optional<std::string> loadedModuleFolder(const void* addressInModule) {
  Dl_info info{};
  if (dladdr(addressInModule, &info) == 0 || !info.dli_fname || !*info.dli_fname) {
    return std::nullopt;
  }
  std::unique_ptr<char, decltype(&std::free)> real(realpath(info.dli_fname, nullptr), &std::free);
  if (!real) return std::nullopt;
  std::string path = real.get();
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return std::nullopt;
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool keepLoaded(const void* addressInModule) {
  Dl_info info{};
  if (dladdr(addressInModule, &info) == 0 || !info.dli_fname || !*info.dli_fname) return false;
  // Never closed: the module stays for the process.
  return dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
}

}  // namespace vdl::linux_platform
