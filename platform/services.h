// Small services of the platform: the clock, fresh identifiers, the system log.
#pragma once

#include <string>
#include <string_view>

namespace vdl {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1970-01-01 00:00:00 UTC, with the fraction.
  virtual double secondsSince1970() = 0;
};

class UUIDSource {
 public:
  virtual ~UUIDSource() = default;
  // A new random UUID in its 36-character text form.
  virtual std::string newUUIDString() = 0;
};

class Log {
 public:
  virtual ~Log() = default;
  // Writes one line of plain text; it is never read as a format.
  virtual void write(std::string_view line) = 0;
};

}  // namespace vdl
