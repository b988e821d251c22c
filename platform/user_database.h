// Where the user's home is: the user database first, the platform's idea of
// the home directory second.
#pragma once

#include <optional>
#include <string>

namespace vdl {

class UserDatabase {
 public:
  virtual ~UserDatabase() = default;
  // The home directory field of the real user's entry; none when there is no
  // entry or the field is empty.
  virtual std::optional<std::string> realUserHome() = 0;
  // The platform's home directory of the current user.
  virtual std::string homeDirectoryForCurrentUser() = 0;
};

}  // namespace vdl
