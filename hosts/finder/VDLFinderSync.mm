// The principal object: the Finder's calls, handed to the extension.
#import "hosts/finder/VDLFinderSync.h"

#include "hosts/finder/finder_menu.h"
#include "hosts/finder/finder_shell.h"

@implementation VDLFinderSync

- (instancetype)init {
  self = [super init];
  if (self) {
    // Registers "/" and "/Volumes" with the Finder's controller. Without
    // its shell the object offers no menu and acts on no choice.
    _shell = vdl::finder::makeShell().release();
  }
  return self;
}

- (void)dealloc {
  delete _shell;
#if !__has_feature(objc_arc)
  [super dealloc];
#endif
}

- (NSMenu*)menuForMenuKind:(FIMenuKind)menuKind {
  if (!_shell) return nil;
  auto menu = _shell->extension.menu(static_cast<std::uint64_t>(menuKind));
  return menu ? VDLMenuFromMenu(*menu) : nil;
}

- (IBAction)choose:(id)sender {
  if (!_shell) return;
  vdl::MenuItem item;
  item.action = vdl::MenuAction::choose;
  item.tag = [sender tag];
  _shell->extension.choose(item);
}

@end
