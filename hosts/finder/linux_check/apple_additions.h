// Stand-in for the Linux check only, included before every shell source:
// what macOS 11's Foundation and AppKit declare and GNUstep's don't.
#pragma once

#ifdef __OBJC__
#import <AppKit/AppKit.h>

@interface NSWorkspaceOpenConfiguration : NSObject <NSCopying> {
 @private
  BOOL _activates;  // where GNUstep's fragile ABI wants it
}
+ (instancetype)configuration;
// Whether the opened application comes to the front (default YES).
@property BOOL activates;
@end

@interface NSWorkspace (VDLMacOS11Opening)
- (void)openURLs:(NSArray*)urls
    withApplicationAtURL:(NSURL*)applicationURL
           configuration:(NSWorkspaceOpenConfiguration*)configuration
       completionHandler:(void (^)(NSRunningApplication* app, NSError* error))completionHandler;
- (void)openURL:(NSURL*)url
        configuration:(NSWorkspaceOpenConfiguration*)configuration
    completionHandler:(void (^)(NSRunningApplication* app, NSError* error))completionHandler;
@end

@interface NSURL (VDLMacOS11Paths)
@property(readonly) BOOL hasDirectoryPath;
@end

@interface NSFileManager (VDLMacOS11Home)
@property(readonly, copy) NSURL* homeDirectoryForCurrentUser;
@end
#endif
