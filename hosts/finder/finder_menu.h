// The core's menu in AppKit's objects.
#pragma once

#import <AppKit/AppKit.h>

#include "menu/menu_model.h"

// A new menu tree for `menu`: every item with an empty key equivalent, the
// action choose: or none, the tag, the image "MenuIcon" where the core gives
// one, disabled dividers, and the submenu. No item has a target: the Finder
// sends the action to the principal object.
NSMenu* VDLMenuFromMenu(const vdl::Menu& menu);
