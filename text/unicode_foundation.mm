// The text rules' Unicode library on the target platform: Foundation's
// non-localised mappings, so that the extension carries no library that the
// user's system lacks.
#import <Foundation/Foundation.h>

#include "platform/apple/objc_memory.h"
#include "text/unicode_backend.h"

namespace vdl::text::backend {
namespace {

// A new string of valid UTF-8 `text`, to release.
NSString* newString(std::string_view text) {
  return [[NSString alloc] initWithBytes:text.data()
                                  length:text.size()
                                encoding:NSUTF8StringEncoding];
}

std::size_t utf8Length(NSString* string) {
  return [string lengthOfBytesUsingEncoding:NSUTF8StringEncoding];
}

// `made` from `text` as UTF-8, or `text` itself when Foundation gives none.
template <class Make>
std::string mapped(std::string_view text, Make make) {
  std::string out(text);
  @autoreleasepool {
    NSString* string = newString(text);
    if (string) {
      NSData* bytes = [make(string) dataUsingEncoding:NSUTF8StringEncoding];
      if (bytes) out.assign(static_cast<const char*>([bytes bytes]), [bytes length]);
    }
    VDL_RELEASE(string);
  }
  return out;
}

}  // namespace

std::string composed(std::string_view text) {
  return mapped(text, [](NSString* s) { return [s precomposedStringWithCanonicalMapping]; });
}

std::string lowercased(std::string_view text) {
  return mapped(text, [](NSString* s) { return [s lowercaseString]; });
}

std::string uppercased(std::string_view text) {
  return mapped(text, [](NSString* s) { return [s uppercaseString]; });
}

std::size_t characterStart(std::string_view text, std::size_t offset) {
  std::size_t start = offset;
  @autoreleasepool {
    NSString* string = newString(text);
    NSString* before = newString(text.substr(0, offset));
    if (string && before && [before length] < [string length]) {
      // From UTF-8 bytes to UTF-16 units and back, around the composed
      // character sequence that holds the code point.
      NSRange character = [string rangeOfComposedCharacterSequenceAtIndex:[before length]];
      start = utf8Length([string substringToIndex:character.location]);
    }
    VDL_RELEASE(before);
    VDL_RELEASE(string);
  }
  return start;
}

}  // namespace vdl::text::backend
