// [NSFont menuFontOfSize:0.0] and sizeWithAttributes:.
#include "platform/apple/appkit_menu_font.h"

#import <AppKit/AppKit.h>

#include "platform/apple/objc_memory.h"

namespace vdl::apple {

double AppKitMenuFont::width(std::string_view text) {
  NSString* string = [[NSString alloc] initWithBytes:text.data()
                                              length:text.size()
                                            encoding:NSUTF8StringEncoding];
  NSDictionary* attributes = @{NSFontAttributeName : [NSFont menuFontOfSize:0.0]};
  double width = string ? [string sizeWithAttributes:attributes].width : 0.0;
  VDL_RELEASE(string);
  return width;
}

}  // namespace vdl::apple
