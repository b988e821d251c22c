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

std::optional<std::vector<FileURL>> FinderSyncController::selectedItemURLs() {
  NSArray* items = [[FIFinderSyncController defaultController] selectedItemURLs];
  if (!items) return std::nullopt;
  std::vector<FileURL> urls;
  urls.reserve([items count]);
  for (NSURL* item in items) {
    // Only file URLs name items of the local file system.
    if (![item isFileURL]) continue;
    const char* path = [[item path] fileSystemRepresentation];
    if (path) urls.push_back(FileURL::fileURLWithPath(path, [item hasDirectoryPath] == YES));
  }
  return urls;
}

Shell::Shell(const std::string& bundlePath)
    : system(bundlePath), platform(system.platform(finder, font)), extension(platform) {}

}  // namespace vdl::finder
