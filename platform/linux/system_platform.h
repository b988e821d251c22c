// The one production wiring of a Linux desktop: the real file system, user
// database, bundle, workspace, clock, identifiers and log, owned here and
// nowhere else. A host supplies only what it alone knows: the selection, the
// menu font, and where its bundle is.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace vdl::linux_platform {

class GioWorkspace;

struct SystemOptions {
  // The extension's bundle folder.
  FileURL bundle = FileURL::fileURLWithPath("/", true);
  // A home the user database reports in place of the real user's (for a
  // stand-in host that runs against a home of its own); none: the real one.
  std::optional<std::string> home;
};

// Parts to use in place of the system's own, such as a recorder that passes
// every call on to the real part. Null: the system's part.
struct Replacements {
  FileSystem* files = nullptr;
  UserDatabase* users = nullptr;
  Workspace* workspace = nullptr;
  Clock* clock = nullptr;
  UUIDSource* uuids = nullptr;
  Log* log = nullptr;
};

class SystemPlatform {
 public:
  explicit SystemPlatform(SystemOptions options);
  SystemPlatform(const SystemPlatform&) = delete;
  SystemPlatform& operator=(const SystemPlatform&) = delete;
  ~SystemPlatform();

  // The platform the extension takes: the real parts, the host's selection
  // and menu font, and any replacements. It refers to this object, which
  // must outlive it.
  Platform platform(FinderController& finder, MenuFont& font, const Replacements& replacing = {});

  FileSystem& files();
  UserDatabase& users();
  Bundle& bundle();
  // Its completions run on the calling thread's main context, which the
  // host iterates (a file manager does; a command line waits on it).
  GioWorkspace& workspace();
  Log& log();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace vdl::linux_platform
