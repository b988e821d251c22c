// Building the NSMenu tree.
#include "hosts/finder/finder_menu.h"

#include "platform/apple/objc_memory.h"

namespace {

NSString* text(const std::string& utf8) {
  // A title is valid UTF-8 (the core makes it so); nil would end the menu.
  NSString* made = [NSString stringWithUTF8String:utf8.c_str()];
  return made ? made : @"";
}

NSImage* imageFor(const vdl::Image& image) {
  // The template first: AppKit draws an image whose name ends in "Template"
  // in the menu's own colour, so it stays visible in dark menus.
  NSImage* named = [NSImage imageNamed:text(image.name + "Template")];
  if (!named) named = [NSImage imageNamed:text(image.name)];
  if (named) return named;
  // Not found by name (outside the main bundle): the resource's own file.
  return VDL_AUTORELEASE([[NSImage alloc] initWithContentsOfFile:text(image.url.path())]);
}

NSMenuItem* itemFor(const vdl::MenuItem& item) {
  SEL action = item.action == vdl::MenuAction::choose ? @selector(choose:) : nullptr;
  NSMenuItem* made = [[NSMenuItem alloc] initWithTitle:text(item.title)
                                                action:action
                                         keyEquivalent:@""];
  [made setTag:static_cast<NSInteger>(item.tag)];
  if (item.image) [made setImage:imageFor(*item.image)];
  if (!item.enabled) [made setEnabled:NO];
  if (item.submenu) {
    NSMenu* submenu = VDLMenuFromMenu(*item.submenu);
    [made setSubmenu:submenu];
  }
  return made;
}

}  // namespace

NSMenu* VDLMenuFromMenu(const vdl::Menu& menu) {
  NSMenu* made = [[NSMenu alloc] initWithTitle:text(menu.title)];
  // The Finder shows the items as given; AppKit must not enable a divider.
  [made setAutoenablesItems:NO];
  for (const auto& item : menu.items) {
    NSMenuItem* child = itemFor(item);
    [made addItem:child];
    VDL_RELEASE(child);
  }
  return VDL_AUTORELEASE(made);
}
