// Clock, UUIDs and the system log on Linux.
#include "platform/linux/system_services.h"

#include <glib.h>
#include <syslog.h>
#include <time.h>

#include <cstdio>
#include <string>

namespace vdl::linux_platform {

double RealtimeClock::secondsSince1970() {
  struct timespec ts {};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

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
