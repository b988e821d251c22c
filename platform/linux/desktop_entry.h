// Registering a program as this user's handler of a URL scheme, the way the
// desktop finds handlers: a desktop entry in the user's data folder, made
// the default for x-scheme-handler/<scheme>.
#pragma once

#include <string>

#include "platform/expected.h"

namespace vdl::linux_platform {

struct SchemeHandler {
  std::string id;  // the entry's file name, "name.desktop"
  std::string name;
  std::string comment;
  std::string program;  // an absolute path; the URL is its one argument
  std::string scheme;
};

// Writes the entry, its Exec line quoted as the desktop entry rules say, and
// makes it the scheme's default handler. Returns the entry's path. Fails with
// ErrorKind::invalidArgument, writing nothing, for a program path that no Exec
// line can carry (a line break); and without leaving the entry behind when
// GIO won't launch it (it can't run a path that holds "%").
Expected<std::string> registerSchemeHandler(const SchemeHandler& handler);

}  // namespace vdl::linux_platform
