// The system's real-time clock.
#pragma once

#include "platform/services.h"

namespace vdl::posix {

class RealtimeClock final : public Clock {
 public:
  double secondsSince1970() override;
};

}  // namespace vdl::posix
