// The shell's parts, and the Finder's controller in the core's terms.
#include "hosts/finder/finder_shell.h"

#import <FinderSync/FinderSync.h>

namespace vdl::finder {

void FinderSyncController::setDirectoryURLs(const std::set<FileURL>& urls) {
  NSMutableSet* set = [NSMutableSet setWithCapacity:urls.size()];
  for (const auto& url : urls) {
    [set addObject:[NSURL fileURLWithPath:[NSString stringWithUTF8String:url.path().c_str()]
                              isDirectory:url.hasDirectoryPath() ? YES : NO]];
  }
  [[FIFinderSyncController defaultController] setDirectoryURLs:set];
}

SelectedItems FinderSyncController::selectedItemURLs() {
  NSArray* urls = [[FIFinderSyncController defaultController] selectedItemURLs];
  if (!urls) return nullptr;
  auto items = std::make_shared<SelectedItemList>();
  for (NSURL* url in urls) {
    // Every item goes to the core, which decides what one that isn't a local
    // file means for the rest.
    const char* host = [[url host] UTF8String];
    const char* path = [url isFileURL] && namesThisMachine(host ? host : "")
                           ? [[url path] fileSystemRepresentation]
                           : nullptr;
    if (path) {
      items->addFile(path);
    } else {
      items->addOther();
    }
  }
  return items;
}

Shell::Shell(const std::string& bundlePath)
    : system(bundlePath), platform(system.platform(finder, font)), extension(platform) {}

}  // namespace vdl::finder
