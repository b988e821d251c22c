// Stand-in for the Linux check only: the part of the FinderSync framework
// that the shell uses, declared as Apple's public documentation gives it
// (macOS 10.10 and later). On the target platform the real framework is used.
#import <AppKit/AppKit.h>

typedef NS_ENUM(NSUInteger, FIMenuKind) {
  FIMenuKindContextualMenuForItems = 0,
  FIMenuKindContextualMenuForContainer = 1,
  FIMenuKindContextualMenuForSidebar = 2,
  FIMenuKindToolbarItemMenu = 3,
};

@interface FIFinderSyncController : NSExtensionContext
+ (FIFinderSyncController*)defaultController;
// Whether the user has switched the extension on (macOS 10.14 and later).
+ (BOOL)isExtensionEnabled;
// Opens the system's settings for the Finder's extensions (macOS 10.14).
+ (void)showExtensionManagementInterface;
// The directories below which the Finder asks the extension for menus.
@property(copy) NSSet* directoryURLs;
// The items selected in the Finder at the moment of the call, or nil.
- (NSArray*)selectedItemURLs;
- (NSURL*)targetedURL;
@end

@protocol FIFinderSyncProtocol <NSObject>
@optional
- (NSMenu*)menuForMenuKind:(FIMenuKind)menuKind;
@end

@interface FIFinderSync : NSObject <FIFinderSyncProtocol, NSExtensionRequestHandling>
@end
