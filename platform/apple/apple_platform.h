// The one production wiring of the target platform: the POSIX file system
// and user database, the extension's own bundle, NSWorkspace, NSDate, NSUUID
// and os_log. The shell supplies what it alone knows: the Finder's selection
// and the menu font.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace vdl::apple {

class ApplePlatform {
 public:
  // `bundlePath`: the extension's bundle (the .appex); empty: the main bundle.
  explicit ApplePlatform(const std::string& bundlePath = "");
  ApplePlatform(const ApplePlatform&) = delete;
  ApplePlatform& operator=(const ApplePlatform&) = delete;
  ~ApplePlatform();

  // The platform the extension takes. It refers to this object, which must
  // outlive it. Its workspace and log live for the process: AppKit runs the
  // openings' completion handlers on a queue of its own, after this object
  // may be gone.
  Platform platform(FinderController& finder, MenuFont& font);

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace vdl::apple
