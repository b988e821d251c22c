// clock_gettime behind the clock port.
#include "platform/posix/realtime_clock.h"

#include <time.h>

namespace vdl::posix {

double RealtimeClock::secondsSince1970() {
  struct timespec ts {};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace vdl::posix
