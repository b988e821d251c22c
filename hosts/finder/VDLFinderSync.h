// The extension's principal class, as the Finder creates it: registered under
// this plain name in the bundle's Info.plist (NSExtensionPrincipalClass).
#import <FinderSync/FinderSync.h>

#ifdef __cplusplus
namespace vdl::finder {
class Shell;
}
#endif

@interface VDLFinderSync : FIFinderSync {
 @private
#ifdef __cplusplus
  vdl::finder::Shell* _shell;
#else
  void* _shell;
#endif
}
// A new menu for kind 0 (the selected items), nil for every other kind.
- (NSMenu*)menuForMenuKind:(FIMenuKind)menuKind;
// The action of every selectable item: reads only the sender's tag.
- (IBAction)choose:(id)sender;
@end
