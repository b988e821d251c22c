// A SAMPLE stand-in for the host application on the target platform, for
// trying the extension out: it creates the shared folder (the sandboxed
// extension can't create the folders above it), embeds the extension, offers
// to switch it on, and logs the request id of every quick URL it is opened
// with.
#import <AppKit/AppKit.h>
#import <FinderSync/FinderSync.h>

#include <string>

#include "extension/shared_folder.h"
#include "platform/posix/passwd_user_database.h"

@interface VDLSampleHost : NSObject <NSApplicationDelegate>
@end

@implementation VDLSampleHost

- (void)applicationDidFinishLaunching:(NSNotification*)notification {
  // The folder the extension uses: below the real home, as the user database
  // gives it, which a sandboxed host's NSHomeDirectory() (its container) is not.
  vdl::posix::PasswdUserDatabase users;
  std::string requests = vdl::sharedFolderURL(users, vdl::hostBundleIdentifier())
                             .appendingPathComponent("requests")
                             .path();
  [[NSFileManager defaultManager]
            createDirectoryAtPath:[NSString stringWithUTF8String:requests.c_str()]
      withIntermediateDirectories:YES
                       attributes:nil
                            error:nullptr];
  if (![FIFinderSyncController isExtensionEnabled]) [self offerToSwitchTheExtensionOn];
}

// The system's extension settings, where the user switches it on.
- (void)offerToSwitchTheExtensionOn {
  NSAlert* alert = [[NSAlert alloc] init];
  [alert setMessageText:@"Vandrel's Finder extension is off"];
  [alert setInformativeText:@"Switch it on in the Finder extensions of System Settings to convert "
                            @"files from the Finder's context menu."];
  [alert addButtonWithTitle:@"Open Settings"];
  [alert addButtonWithTitle:@"Not Now"];
  [NSApp activateIgnoringOtherApps:YES];
  if ([alert runModal] == NSAlertFirstButtonReturn) {
    [FIFinderSyncController showExtensionManagementInterface];
  }
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
