// The stand-ins' behaviour under GNUstep.
#import "fakes.h"

#include <Block.h>
#include <objc/runtime.h>
#include <os/log.h>

#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace vdl::finder::testing {
namespace {

std::mutex mutex;
std::condition_variable changed;
Workspace state;
std::vector<std::string> lines;
std::size_t completed = 0;
bool registrationFails = false;

std::string utf8(NSString* text) {
  const char* bytes = [text UTF8String];
  return bytes ? bytes : "";
}

// GNUstep's NSURL can't hold "scheme://host?query" (the quick URL's shape);
// AppKit's can. The fake records the text the shell meant.
std::string textOf(NSURL* url) {
  std::string text = utf8([url absoluteString]);
  auto at = text.find("/?");
  if (at != std::string::npos && text.compare(0, 10, "vandrel://") == 0) text.erase(at, 1);
  return text;
}

void open(Opening opening, void (^completion)(NSRunningApplication*, NSError*)) {
  bool fail;
  {
    std::lock_guard<std::mutex> lock(mutex);
    state.openings.push_back(opening);
    fail = state.fails(opening);
  }
  // AppKit completes on a queue of its own: so does this, on another thread.
  auto handler = Block_copy(completion);
  std::thread([handler, fail] {
    @autoreleasepool {
      NSError* error = fail ? [NSError errorWithDomain:@"VDLFake" code:1 userInfo:nil] : nil;
      handler(nil, error);
      Block_release(handler);
    }
    std::lock_guard<std::mutex> lock(mutex);
    ++completed;
    changed.notify_all();
  }).detach();
}

}  // namespace

Workspace openings() {
  std::lock_guard<std::mutex> lock(mutex);
  return state;
}

void steerOpenings(std::function<bool(const Opening&)> fails) {
  std::lock_guard<std::mutex> lock(mutex);
  state.fails = std::move(fails);
}

std::vector<std::string> logLines() {
  std::lock_guard<std::mutex> lock(mutex);
  return lines;
}

void clearRecords() {
  std::lock_guard<std::mutex> lock(mutex);
  state.openings.clear();
  lines.clear();
  completed = 0;
}

void failNextRegistration() {
  registrationFails = true;
}

bool waitForCompletions(std::size_t count) {
  std::unique_lock<std::mutex> lock(mutex);
  return changed.wait_for(lock, std::chrono::seconds(10), [&] { return completed >= count; });
}

}  // namespace vdl::finder::testing

namespace t = vdl::finder::testing;

extern "C" void vdl_os_log_error(os_log_t, const char* format, ...) {
  // os_log's "%{public}@" is NSString's "%@".
  NSString* plain =
      [[NSString stringWithUTF8String:format] stringByReplacingOccurrencesOfString:@"{public}"
                                                                        withString:@""];
  va_list arguments;
  va_start(arguments, format);
  NSString* line = [[NSString alloc] initWithFormat:plain arguments:arguments];
  va_end(arguments);
  std::lock_guard<std::mutex> lock(t::mutex);
  t::lines.push_back(t::utf8(line));
  [line release];
}

@implementation FIFinderSync
- (void)beginRequestWithExtensionContext:(NSExtensionContext*)context {
}
@end

static FIFinderSyncController* defaultController;
static NSSet* directories;
static NSArray* selection;

@implementation FIFinderSyncController
+ (FIFinderSyncController*)defaultController {
  if (!defaultController) defaultController = [[FIFinderSyncController alloc] init];
  return defaultController;
}
+ (BOOL)isExtensionEnabled {
  return YES;
}
+ (void)showExtensionManagementInterface {
}
- (NSSet*)directoryURLs {
  return directories;
}
- (void)setDirectoryURLs:(NSSet*)urls {
  if (t::registrationFails) {
    t::registrationFails = false;
    throw std::runtime_error("the Finder's controller is gone");
  }
  [directories release];
  directories = [urls copy];
}
- (NSArray*)selectedItemURLs {
  return selection;
}
- (NSURL*)targetedURL {
  return nil;
}
- (void)vdl_setSelectedItemURLs:(NSArray*)urls {
  [selection release];
  selection = [urls copy];
}
@end

@implementation NSWorkspaceOpenConfiguration
+ (instancetype)configuration {
  NSWorkspaceOpenConfiguration* made = [[self alloc] init];
  made->_activates = YES;
  return [made autorelease];
}
- (BOOL)activates {
  return _activates;
}
- (void)setActivates:(BOOL)activates {
  _activates = activates;
}
- (id)copyWithZone:(NSZone*)zone {
  NSWorkspaceOpenConfiguration* copy = [[NSWorkspaceOpenConfiguration allocWithZone:zone] init];
  copy->_activates = _activates;
  return copy;
}
@end

@implementation NSWorkspace (VDLMacOS11Opening)
- (void)openURLs:(NSArray*)urls
    withApplicationAtURL:(NSURL*)applicationURL
           configuration:(NSWorkspaceOpenConfiguration*)configuration
       completionHandler:(void (^)(NSRunningApplication* app, NSError* error))completionHandler {
  t::Opening opening;
  for (NSURL* url in urls) opening.urls.push_back(t::textOf(url));
  opening.application = t::utf8([applicationURL path]);
  opening.activates = [configuration activates];
  t::open(opening, completionHandler);
}
- (void)openURL:(NSURL*)url
        configuration:(NSWorkspaceOpenConfiguration*)configuration
    completionHandler:(void (^)(NSRunningApplication* app, NSError* error))completionHandler {
  t::Opening opening;
  opening.urls.push_back(t::textOf(url));
  opening.activates = [configuration activates];
  t::open(opening, completionHandler);
}
@end

// GNUstep's NSURL gives nil for "scheme://host?query", the quick URL's
// shape, where AppKit's makes the URL. This stand-in makes it too, as
// "scheme://host/?query", which the fake workspace records as meant.
@implementation NSURL (VDLQuickURLs)
+ (void)load {
  method_exchangeImplementations(class_getClassMethod(self, @selector(URLWithString:)),
                                 class_getClassMethod(self, @selector(vdl_URLWithString:)));
}
+ (instancetype)vdl_URLWithString:(NSString*)text {
  id url = [self vdl_URLWithString:text];  // GNUstep's own, after the exchange
  NSRange query = [text rangeOfString:@"?"];
  if (url || query.location == NSNotFound || ![text hasPrefix:@"vandrel://"]) return url;
  NSString* withPath = [NSString stringWithFormat:@"%@/%@", [text substringToIndex:query.location],
                                                  [text substringFromIndex:query.location]];
  return [self vdl_URLWithString:withPath];
}
@end

@implementation NSURL (VDLMacOS11Paths)
- (BOOL)hasDirectoryPath {
  return [[self absoluteString] hasSuffix:@"/"];
}
@end

@implementation NSFileManager (VDLMacOS11Home)
- (NSURL*)homeDirectoryForCurrentUser {
  return [NSURL fileURLWithPath:NSHomeDirectory() isDirectory:YES];
}
@end
