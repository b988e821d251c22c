// A scratch sample host for the tests of the modules: an AppDir whose AppRun
// notes every URL it is started with, the extension's bundle three levels
// inside it, and a folder of files to select.
#pragma once

#include <string>
#include <vector>

#include "testing/temp_dir.h"

namespace vdl::testkit {

// Whether this process runs in a private home (scripts/in-private-home),
// where a test may write below the home that the user database names.
bool runsInPrivateHome();

class RecordingAppDir {
 public:
  // Copies the files `built` of the build's bundle folder `builtBundle` into
  // this bundle, beside the menu icon and the worked example as its fallback
  // manifest. Makes files/clip.MOV, files/folder, links to each
  // (to-clip.mov, to-folder.mov) and a broken link (broken.mov).
  RecordingAppDir(const std::string& builtBundle, const std::vector<std::string>& built);

  std::string bundle() const { return tmp / "Vandrel.AppDir/usr/lib/finder-sync"; }
  // files/<name>, created with some content when `create` says so.
  std::string file(const std::string& name, bool create = false) const;

  // The text of the one request below `sharedFolder`, once AppRun has been
  // woken with its quick URL (or after 10 s); else what differs, as
  // `problem` (see wokenProblem).
  struct Woken {
    std::string request;
    std::string problem;
  };
  Woken wokenRequest(const std::string& sharedFolder) const;
  // Forgets the wake-ups so far.
  void forgetWakeUps() const;

  TempDir tmp;
};

// What is wrong after `count` choices of the sample host whose AppDir is
// `appDir`, once its AppRun has been woken `count` times (or after 10 s): not
// `count` requests below `sharedFolder`, a hidden file left there, or AppRun
// not woken exactly once with each request's quick URL. Empty when all is
// well.
std::string wokenProblem(const std::string& appDir, const std::string& sharedFolder,
                         std::size_t count);

// For a test of what a process's end does: whether this process is the child
// that `wokenInAChild` starts.
bool isTheChild();
// In the child: reports `app` and ends the process normally, at once.
[[noreturn]] void reportAndExit(const RecordingAppDir& app);
// Runs the test `test` ("Suite.Name") of this program again in a child, which
// makes `count` choices and ends (see reportAndExit), and returns
// wokenProblem for the child's sample host and the user's shared folder, or
// what went wrong with the child.
std::string wokenInAChild(const std::string& test, std::size_t count);

}  // namespace vdl::testkit
