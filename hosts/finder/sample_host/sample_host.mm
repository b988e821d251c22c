// A SAMPLE stand-in for the host application on the target platform, for
// trying the extension out: it creates the shared folder (the sandboxed
// extension can't create the folders above it), embeds the extension, and
// logs the request id of every quick URL it is opened with.
#import <AppKit/AppKit.h>

#include <string>

#include "extension/shared_folder.h"

@interface VDLSampleHost : NSObject <NSApplicationDelegate>
@end

@implementation VDLSampleHost

- (void)applicationDidFinishLaunching:(NSNotification*)notification {
  NSString* folder = [NSString
      stringWithFormat:@"%@/Library/Application Support/%s/FinderSync/requests", NSHomeDirectory(),
                       std::string(vdl::hostBundleIdentifier()).c_str()];
  [[NSFileManager defaultManager] createDirectoryAtPath:folder
                            withIntermediateDirectories:YES
                                             attributes:nil
                                                  error:nullptr];
}

- (void)application:(NSApplication*)application openURLs:(NSArray*)urls {
  for (NSURL* url in urls) NSLog(@"Vandrel sample host: woken for %@", [url absoluteString]);
}

@end

int main(int, char**) {
  @autoreleasepool {
    NSApplication* application = [NSApplication sharedApplication];
    VDLSampleHost* host = [[VDLSampleHost alloc] init];
    [application setDelegate:host];
    [application run];
  }
  return 0;
}
