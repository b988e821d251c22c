// Stand-ins for the Linux wiring tests only: the Finder's controller, the
// workspace's macOS 11 openings and os_log, as GNUstep runs them, with what a
// test needs to steer and read them.
#pragma once

#import <FinderSync/FinderSync.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

@interface FIFinderSyncController (VDLTesting)
- (void)vdl_setSelectedItemURLs:(NSArray*)urls;
@end

namespace vdl::finder::testing {

// One call of the workspace's openings.
struct Opening {
  std::vector<std::string> urls;
  std::string application;  // empty: opened with the scheme's handler
  bool activates = true;
};

// The fake workspace records each opening, then completes it on a thread of
// its own, with an error when `fails` says so.
struct Workspace {
  std::vector<Opening> openings;
  std::function<bool(const Opening&)> fails = [](const Opening&) { return false; };
};

// The fake workspace's and the log's records, guarded for the completions'
// threads.
Workspace openings();
void steerOpenings(std::function<bool(const Opening&)> fails);
std::vector<std::string> logLines();
void clearRecords();
// The next registration of served directories throws, as a shell that can't
// be built would.
void failNextRegistration();
// Waits until `count` openings have completed, or 10 s.
bool waitForCompletions(std::size_t count);

}  // namespace vdl::finder::testing
