// What VDLFinderSync owns: the extension over the target platform, with the
// Finder's controller as its selection and AppKit's menu font.
#pragma once

#include <memory>
#include <string>

#include "extension/host_face.h"
#include "platform/apple/appkit_menu_font.h"
#include "platform/apple/apple_platform.h"

namespace vdl::finder {

// The Finder's side of the contract, through [FIFinderSyncController
// defaultController].
class FinderSyncController final : public FinderController {
 public:
  void setDirectoryURLs(const std::set<FileURL>& urls) override;
  SelectedItems selectedItemURLs() override;
};

class Shell {
 public:
  // `bundlePath`: the .appex; empty: the main bundle, as in the Finder.
  explicit Shell(const std::string& bundlePath = "");

  FinderSyncController finder;
  apple::AppKitMenuFont font;
  apple::ApplePlatform system;
  Platform platform;
  VDLFinderSync extension;
};

// A new shell over the main bundle, or null when it can't be built. Written
// in C++ alone, so that what its construction throws stops here, before any
// Objective-C frame: some runtimes' personality can't catch C++ exceptions.
std::unique_ptr<Shell> makeShell() noexcept;

}  // namespace vdl::finder
