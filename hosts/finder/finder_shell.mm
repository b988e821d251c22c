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

std::optional<std::vector<SelectedItem>> FinderSyncController::selectedItemURLs() {
  NSArray* urls = [[FIFinderSyncController defaultController] selectedItemURLs];
  if (!urls) return std::nullopt;
  std::vector<SelectedItem> items;
  items.reserve([urls count]);
  for (NSURL* url in urls) {
    // Every item goes to the core, which decides what one that isn't a local
    // file means for the rest.
    SelectedItem item;
    const char* path = [url isFileURL] ? [[url path] fileSystemRepresentation] : nullptr;
    if (path) item.url = FileURL::fileURLWithPath(path, [url hasDirectoryPath] == YES);
    if (NSString* host = [url host]) item.host = [host UTF8String] ?: "";
    items.push_back(std::move(item));
  }
  return items;
}

Shell::Shell(const std::string& bundlePath)
    : system(bundlePath), platform(system.platform(finder, font)), extension(platform) {}

}  // namespace vdl::finder
