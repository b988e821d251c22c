// NSWorkspace's openings (macOS 10.15 and later), their errors as the core's.
#include "platform/apple/appkit_workspace.h"

#import <AppKit/AppKit.h>

#include <memory>

#include "platform/apple/objc_memory.h"

namespace vdl::apple {
namespace {

NSWorkspaceOpenConfiguration* configurationFor(const OpenConfiguration& configuration) {
  NSWorkspaceOpenConfiguration* made = [NSWorkspaceOpenConfiguration configuration];
  made.activates = configuration.activates ? YES : NO;
  return made;
}

NSURL* urlFor(const std::string& text) {
  return [NSURL URLWithString:[NSString stringWithUTF8String:text.c_str()]];
}

using Handler = void (^)(NSRunningApplication*, NSError*);

// The handler AppKit calls, on its own queue: it holds only the completion.
// On the heap; the caller releases it once AppKit has it.
Handler handlerFor(Workspace::CompletionHandler completion) {
  auto shared = std::make_shared<Workspace::CompletionHandler>(std::move(completion));
  Handler handler = ^(NSRunningApplication*, NSError* error) {
    if (!error) return (*shared)(std::nullopt);
    const char* reason = [[error localizedDescription] UTF8String];
    (*shared)(Error{reason ? reason : "unknown error"});
  };
  return VDL_BLOCK_COPY(handler);
}

}  // namespace

void AppKitWorkspace::openURLs(const std::vector<std::string>& urls, const FileURL& application,
                               const OpenConfiguration& configuration,
                               CompletionHandler completion) {
  NSMutableArray* list = [NSMutableArray arrayWithCapacity:urls.size()];
  for (const auto& text : urls) {
    NSURL* url = urlFor(text);
    if (!url) return completion(Error{"not a URL: " + text});
    [list addObject:url];
  }
  NSURL* app = [NSURL fileURLWithPath:[NSString stringWithUTF8String:application.path().c_str()]
                          isDirectory:YES];
  auto handler = handlerFor(std::move(completion));
  [[NSWorkspace sharedWorkspace] openURLs:list
                     withApplicationAtURL:app
                            configuration:configurationFor(configuration)
                        completionHandler:handler];
  VDL_BLOCK_RELEASE(handler);
}

void AppKitWorkspace::openURL(const std::string& text, const OpenConfiguration& configuration,
                              CompletionHandler completion) {
  NSURL* url = urlFor(text);
  if (!url) return completion(Error{"not a URL: " + text});
  auto handler = handlerFor(std::move(completion));
  [[NSWorkspace sharedWorkspace] openURL:url
                           configuration:configurationFor(configuration)
                       completionHandler:handler];
  VDL_BLOCK_RELEASE(handler);
}

}  // namespace vdl::apple
