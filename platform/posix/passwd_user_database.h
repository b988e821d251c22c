// The user database of a POSIX system.
#pragma once

#include "platform/user_database.h"

namespace vdl::posix {

class PasswdUserDatabase final : public UserDatabase {
 public:
  // getpwuid_r for the real user id.
  std::optional<std::string> realUserHome() override;
  // $HOME when it is an absolute path, else "/".
  std::string homeDirectoryForCurrentUser() override;
};

}  // namespace vdl::posix
