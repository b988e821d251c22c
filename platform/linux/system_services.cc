// UUIDs and the system log on Linux.
#include "platform/linux/system_services.h"

#include <glib.h>
#include <syslog.h>

#include <cstdio>
#include <string>

namespace vdl::linux_platform {

std::string RandomUUIDSource::newUUIDString() {
  gchar* uuid = g_uuid_string_random();
  std::string text(uuid);
  g_free(uuid);
  return text;
}

void SystemLog::write(std::string_view line) {
  std::string text(line);
  // The line is an argument, never the format.
  ::syslog(LOG_USER | LOG_ERR, "%s", text.c_str());
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
}

}  // namespace vdl::linux_platform
