// getpwuid_r behind the user database port.
#include "platform/posix/passwd_user_database.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace vdl::posix {

std::optional<std::string> PasswdUserDatabase::realUserHome() {
  long hint = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 4096);
  struct passwd entry {};
  struct passwd* found = nullptr;
  for (;;) {
    int rc = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found);
    if (rc == ERANGE && buffer.size() < (1u << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (rc != 0 || found == nullptr) return std::nullopt;
    break;
  }
  if (entry.pw_dir == nullptr || entry.pw_dir[0] == '\0') return std::nullopt;
  return std::string(entry.pw_dir);
}

std::string PasswdUserDatabase::homeDirectoryForCurrentUser() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return home;
  return "/";
}

}  // namespace vdl::posix
