// Double fork with a close-on-exec pipe: the pipe closes without a word when
// the exec succeeds, and carries errno when it fails. GLib's g_spawn_async
// does the same, except that when the kernel refuses a file as no program
// (ENOEXEC) it runs that file with /bin/sh: an AppRun of arbitrary bytes would
// run as a shell script, and count as started.
#include "platform/linux/detached_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace vdl::linux_platform {
namespace {

// What the child reports before it exits: the step that failed and its errno.
struct Report {
  int step = 0;
  int code = 0;
};

const char* const kSteps[] = {"", "fork: ", "/dev/null: ", ""};

// Only async-signal-safe calls from here on: the caller may have threads.
[[noreturn]] void fail(int pipe, int step) {
  Report r{step, errno};
  (void)!::write(pipe, &r, sizeof r);
  ::_exit(127);
}

[[noreturn]] void runChild(int pipe, char* const* argv, char* const* envp) {
  // Keep the report pipe clear of the standard streams about to be replaced.
  if (pipe < 3) {
    int moved = ::fcntl(pipe, F_DUPFD_CLOEXEC, 3);
    if (moved >= 0) pipe = moved;
  }
  ::setsid();
  pid_t grandchild = ::fork();
  if (grandchild < 0) fail(pipe, 1);
  if (grandchild > 0) ::_exit(0);

  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  for (int s = 1; s < NSIG; ++s) ::sigaction(s, &dfl, nullptr);

  int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null < 0 || ::dup2(null, 0) < 0 || ::dup2(null, 1) < 0) fail(pipe, 2);
    // Nothing of the caller's but the three standard streams passes the exec;
    // the report pipe is close-on-exec already.
#ifdef SYS_close_range
  if (::syscall(SYS_close_range, 3u, ~0u, 4u /* CLOSE_RANGE_CLOEXEC */) != 0)
#endif
  {
    long max = ::sysconf(_SC_OPEN_MAX);
    for (int fd = 3; fd < (max > 0 ? max : 1024); ++fd) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  ::execve(argv[0], argv, envp);
  fail(pipe, 3);
}

std::vector<char*> pointers(const std::vector<std::string>& strings) {
  std::vector<char*> p;
  p.reserve(strings.size() + 1);
  for (const auto& s : strings) p.push_back(const_cast<char*>(s.c_str()));
  p.push_back(nullptr);
  return p;
}

}  // namespace

Status startDetached(const std::vector<std::string>& argv,
                     const std::vector<std::string>& environment) {
  if (argv.empty()) return Error{"nothing to start"};
  auto args = pointers(argv);
  auto envp = pointers(environment);
  const std::string& program = argv[0];

  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    return Error{"can't start " + program + ": pipe: " + std::strerror(errno)};
  }
  pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    runChild(fds[1], args.data(), envp.data());
  }
  int forkError = errno;
  ::close(fds[1]);
  if (child < 0) {
    ::close(fds[0]);
    return Error{"can't start " + program + ": fork: " + std::strerror(forkError)};
  }
  // The intermediate child exits at once; reaping it leaves nothing behind.
  while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  Report report;
  ssize_t n;
  while ((n = ::read(fds[0], &report, sizeof report)) < 0 && errno == EINTR) {
  }
  ::close(fds[0]);
  if (n == 0) return Status::success();
  if (n != static_cast<ssize_t>(sizeof report) || report.step < 1 || report.step > 3) {
    return Error{"can't start " + program + ": it vanished while starting"};
  }
  return Error{"can't start " + program + ": " + kSteps[report.step] + std::strerror(report.code)};
}

std::vector<std::string> environmentWithout(const std::vector<std::string>& without) {
  std::vector<std::string> kept;
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
    std::string_view entry(*e);
    auto name = entry.substr(0, entry.find('='));
    bool drop = false;
    for (const auto& w : without) drop = drop || name == w;
    if (!drop) kept.emplace_back(entry);
  }
  return kept;
}

}  // namespace vdl::linux_platform
