// Child processes for tests, on GLib's spawning.
#include "testing/process.h"

#include <glib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace vdl::testkit {

namespace {

gchar** environmentWith(const std::map<std::string, std::optional<std::string>>& environment) {
  gchar** envp = g_get_environ();
  for (const auto& [name, value] : environment) {
    envp = value ? g_environ_setenv(envp, name.c_str(), value->c_str(), TRUE)
                 : g_environ_unsetenv(envp, name.c_str());
  }
  return envp;
}

// A child that dies early must fail the test on its own output, not kill the
// test process with SIGPIPE when it is written to.
void ignoreBrokenPipes() {
  static const bool ignored = [] {
    ::signal(SIGPIPE, SIG_IGN);
    return true;
  }();
  (void)ignored;
}

// The argument vector GLib wants, pointing into `argv`.
std::vector<gchar*> spawnArguments(const std::vector<std::string>& argv) {
  std::vector<gchar*> args;
  for (const auto& a : argv) args.push_back(const_cast<gchar*>(a.c_str()));
  args.push_back(nullptr);
  return args;
}

// Reaps `pid`: its exit status, or 128 + the signal that ended it.
int waitForExit(int pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv,
                         const std::map<std::string, std::optional<std::string>>& environment,
                         const std::string& input) {
  ignoreBrokenPipes();
  gchar** envp = environmentWith(environment);
  auto args = spawnArguments(argv);

  ProcessResult result;
  GPid pid = 0;
  gint in = -1, out = -1, err = -1;
  GError* error = nullptr;
  if (!g_spawn_async_with_pipes(nullptr, args.data(), envp, G_SPAWN_DO_NOT_REAP_CHILD, nullptr,
                                nullptr, &pid, &in, &out, &err, &error)) {
    result.err = error->message;
    g_error_free(error);
    g_strfreev(envp);
    return result;
  }
  g_strfreev(envp);
  std::thread feeder([in, &input] {
    std::size_t done = 0;
    while (done < input.size()) {
      ssize_t n = ::write(in, input.data() + done, input.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::close(in);
  });
  auto drain = [](int fd, std::string& into) {
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
      into.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
  };
  std::thread errReader([&] { drain(err, result.err); });
  drain(out, result.out);
  errReader.join();
  feeder.join();
  result.exitStatus = waitForExit(pid);
  g_spawn_close_pid(pid);
  return result;
}

LineProcess::LineProcess(const std::vector<std::string>& argv,
                         const std::map<std::string, std::optional<std::string>>& environment) {
  ignoreBrokenPipes();
  gchar** envp = environmentWith(environment);
  auto args = spawnArguments(argv);
  GPid pid = 0;
  gint out = -1;
  if (g_spawn_async_with_pipes(nullptr, args.data(), envp, G_SPAWN_DO_NOT_REAP_CHILD, nullptr,
                               nullptr, &pid, &in_, &out, nullptr, nullptr)) {
    pid_ = pid;
    out_ = ::fdopen(out, "r");
  }
  g_strfreev(envp);
}

LineProcess::~LineProcess() {
  finish();
}

std::string LineProcess::ask(const std::string& line) {
  if (in_ < 0 || out_ == nullptr) return {};
  std::string sent = line + "\n";
  if (::write(in_, sent.data(), sent.size()) != static_cast<ssize_t>(sent.size())) return {};
  std::string reply;
  for (int c; (c = std::fgetc(static_cast<FILE*>(out_))) != EOF && c != '\n';) {
    reply += static_cast<char>(c);
  }
  return reply;
}

int LineProcess::finish() {
  if (in_ >= 0) ::close(in_);
  in_ = -1;
  if (out_ != nullptr) std::fclose(static_cast<FILE*>(out_));
  out_ = nullptr;
  if (pid_ < 0) return -1;
  int status = waitForExit(pid_);
  pid_ = -1;
  return status;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
  auto args = spawnArguments(argv);
  GPid pid = 0;
  if (g_spawn_async(nullptr, args.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr,
                    &pid, nullptr)) {
    pid_ = pid;
  }
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    kill(SIGKILL);
    wait();
  }
}

void ChildProcess::kill(int signal) {
  if (pid_ > 0) ::kill(pid_, signal);
}

int ChildProcess::wait() {
  if (pid_ <= 0) return -1;
  int status = waitForExit(pid_);
  pid_ = -1;
  return status;
}

bool waitForFile(const std::string& path, double seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (std::filesystem::exists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return std::filesystem::exists(path);
}

}  // namespace vdl::testkit
