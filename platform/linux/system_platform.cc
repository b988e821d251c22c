// The real parts, wired once.
#include "platform/linux/system_platform.h"

#include "platform/linux/folder_bundle.h"
#include "platform/linux/gio_workspace.h"
#include "platform/linux/system_services.h"
#include "platform/posix/passwd_user_database.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/realtime_clock.h"

namespace vdl::linux_platform {
namespace {

// One for the whole process, never destroyed: an opening's completion, which
// writes to the log, may run after the platform that started it has gone.
template <class Part>
Part& forTheProcess() {
  static auto* part = new Part;
  return *part;
}

}  // namespace

struct SystemPlatform::Parts {
  // The user database, unless the host names the home it reports. (Not in
  // the anonymous namespace: a member's type must not be, where this file is
  // compiled as part of a unity build.)
  class Users final : public UserDatabase {
   public:
    explicit Users(std::optional<std::string> home) : home_(std::move(home)) {}
    std::optional<std::string> realUserHome() override {
      return home_ ? home_ : passwd_.realUserHome();
    }
    std::string homeDirectoryForCurrentUser() override {
      return passwd_.homeDirectoryForCurrentUser();
    }

   private:
    std::optional<std::string> home_;
    posix::PasswdUserDatabase passwd_;
  };

  explicit Parts(SystemOptions options)
      : users(std::move(options.home)), bundle(files, options.bundle) {}
  posix::PosixFileSystem files;
  Users users;
  FolderBundle bundle;
  GioWorkspace& workspace = forTheProcess<GioWorkspace>();
  SystemLog& log = forTheProcess<SystemLog>();
  posix::RealtimeClock clock;
  RandomUUIDSource uuids;
};

SystemPlatform::SystemPlatform(SystemOptions options)
    : parts_(std::make_unique<Parts>(std::move(options))) {}

SystemPlatform::~SystemPlatform() = default;

Platform SystemPlatform::platform(FinderController& finder, MenuFont& font, const Replacements& r) {
  Parts& p = *parts_;
  return Platform{r.users ? *r.users : p.users,
                  r.files ? *r.files : p.files,
                  p.bundle,
                  finder,
                  font,
                  r.workspace ? *r.workspace : p.workspace,
                  r.clock ? *r.clock : p.clock,
                  r.uuids ? *r.uuids : p.uuids,
                  r.log ? *r.log : p.log};
}

FileSystem& SystemPlatform::files() {
  return parts_->files;
}
UserDatabase& SystemPlatform::users() {
  return parts_->users;
}
Bundle& SystemPlatform::bundle() {
  return parts_->bundle;
}
GioWorkspace& SystemPlatform::workspace() {
  return parts_->workspace;
}
Log& SystemPlatform::log() {
  return parts_->log;
}

}  // namespace vdl::linux_platform
