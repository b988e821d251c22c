// Where a loaded module's file really is, for a module whose bundle is the
// folder it sits in.
#pragma once

#include <optional>
#include <string>

namespace vdl::linux_platform {

// The folder of the file that holds `addressInModule`, with every link on
// the way resolved (a module is often installed as a link into its bundle),
// or none when the loader can't tell.
std::optional<std::string> loadedModuleFolder(const void* addressInModule);

// Keeps the module that holds `addressInModule` loaded until the process
// ends, whoever unloads it: its thread and the items of a shown menu call
// into it. False when the loader can't.
bool keepLoaded(const void* addressInModule);

}  // namespace vdl::linux_platform
