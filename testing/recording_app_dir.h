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
  // `problem`.
  struct Woken {
    std::string request;
    std::string problem;
  };
  Woken wokenRequest(const std::string& sharedFolder) const;
  // Forgets the wake-ups so far.
  void forgetWakeUps() const;

  TempDir tmp;
};

}  // namespace vdl::testkit
