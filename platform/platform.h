// Everything the extension needs of the world around it, in one place. The
// core takes a Platform and calls nothing else.
#pragma once

#include "platform/bundle.h"
#include "platform/file_system.h"
#include "platform/finder_controller.h"
#include "platform/menu_font.h"
#include "platform/services.h"
#include "platform/user_database.h"
#include "platform/workspace.h"

namespace vdl {

struct Platform {
  UserDatabase& users;
  FileSystem& files;
  Bundle& bundle;
  FinderController& finder;
  MenuFont& menuFont;
  Workspace& workspace;
  Clock& clock;
  UUIDSource& uuids;
  Log& log;
};

}  // namespace vdl
