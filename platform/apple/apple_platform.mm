// The target platform's parts, wired once.
#include "platform/apple/apple_platform.h"

#import <Foundation/Foundation.h>
#include <os/log.h>

#include "platform/apple/appkit_workspace.h"
#include "platform/apple/objc_memory.h"
#include "platform/posix/passwd_user_database.h"
#include "platform/posix/posix_file_system.h"

namespace vdl::apple {
namespace {

std::string utf8(NSString* text) {
  const char* bytes = [text UTF8String];
  return bytes ? bytes : "";
}

// The user database first: in the sandbox the platform's home is the
// extension's container, while the shared folder's exception is relative to
// the real home.
class Users final : public UserDatabase {
 public:
  std::optional<std::string> realUserHome() override { return passwd_.realUserHome(); }
  std::string homeDirectoryForCurrentUser() override {
    return utf8([[[NSFileManager defaultManager] homeDirectoryForCurrentUser] path]);
  }

 private:
  posix::PasswdUserDatabase passwd_;
};

// The .appex: its resources, and the way up to the host application.
class ExtensionBundle final : public Bundle {
 public:
  explicit ExtensionBundle(NSBundle* bundle) : bundle_(VDL_RETAIN(bundle)) {}
  ExtensionBundle(const ExtensionBundle&) = delete;
  ExtensionBundle& operator=(const ExtensionBundle&) = delete;
  ~ExtensionBundle() override { VDL_RELEASE(bundle_); }

  FileURL bundleURL() override {
    return FileURL::fileURLWithPath(utf8([bundle_ bundlePath]), true);
  }
  std::optional<FileURL> urlForResource(const std::string& name,
                                        const std::string& extension) override {
    NSString* path = [bundle_ pathForResource:[NSString stringWithUTF8String:name.c_str()]
                                       ofType:[NSString stringWithUTF8String:extension.c_str()]];
    if (!path) return std::nullopt;
    return FileURL::fileURLWithPath(utf8(path));
  }
  std::optional<Image> imageNamed(const std::string& name) override {
    for (const char* type : {"pdf", "png"}) {
      if (auto url = urlForResource(name, type)) return Image{name, *url};
    }
    return std::nullopt;
  }

 private:
  NSBundle* bundle_;
};

class DateClock final : public Clock {
 public:
  double secondsSince1970() override { return [[NSDate date] timeIntervalSince1970]; }
};

class NSUUIDSource final : public UUIDSource {
 public:
  std::string newUUIDString() override { return utf8([[NSUUID UUID] UUIDString]); }
};

// The line is an argument, never the format; "public" keeps os_log from
// redacting it.
class OSLog final : public Log {
 public:
  void write(std::string_view line) override {
    NSString* text = [[NSString alloc] initWithBytes:line.data()
                                              length:line.size()
                                            encoding:NSUTF8StringEncoding];
    os_log_error(OS_LOG_DEFAULT, "%{public}@", text);
    VDL_RELEASE(text);
  }
};

}  // namespace

struct ApplePlatform::Parts {
  explicit Parts(NSBundle* extension) : bundle(extension) {}
  posix::PosixFileSystem files;
  Users users;
  ExtensionBundle bundle;
  DateClock clock;
  NSUUIDSource uuids;
};

ApplePlatform::ApplePlatform(const std::string& bundlePath)
    : parts_(std::make_unique<Parts>(
          bundlePath.empty()
              ? [NSBundle mainBundle]
              : [NSBundle bundleWithPath:[NSString stringWithUTF8String:bundlePath.c_str()]])) {}

ApplePlatform::~ApplePlatform() = default;

Platform ApplePlatform::platform(FinderController& finder, MenuFont& font) {
  // Never destroyed: a completion handler may run after every extension
  // object has gone.
  static auto* workspace = new AppKitWorkspace;
  static auto* log = new OSLog;
  Parts& p = *parts_;
  return Platform{p.users, p.files, p.bundle, finder, font, *workspace, p.clock, p.uuids, *log};
}

}  // namespace vdl::apple
