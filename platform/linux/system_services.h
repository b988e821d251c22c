// Identifiers and the system log of a Linux desktop.
#pragma once

#include "platform/services.h"

namespace vdl::linux_platform {

class RandomUUIDSource final : public UUIDSource {
 public:
  std::string newUUIDString() override;
};

// Each line goes to the system log (syslog, read by journald) and to stderr.
class SystemLog final : public Log {
 public:
  void write(std::string_view line) override;
};

}  // namespace vdl::linux_platform
