// The principal object: the Finder's calls, handed to the extension.
#import "hosts/finder/VDLFinderSync.h"

#include "hosts/finder/finder_menu.h"
#include "hosts/finder/finder_shell.h"

@implementation VDLFinderSync

- (instancetype)init {
  self = [super init];
  if (self) {
    // Registers "/" and "/Volumes" with the Finder's controller.
    _shell = new vdl::finder::Shell();
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
  auto menu = _shell->extension.menu(static_cast<std::uint64_t>(menuKind));
  return menu ? VDLMenuFromMenu(*menu) : nil;
}

- (IBAction)choose:(id)sender {
  vdl::MenuItem item;
  item.action = vdl::MenuAction::choose;
  item.tag = [sender tag];
  _shell->extension.choose(item);
}

@end
