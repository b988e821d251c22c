// Child processes for tests, on GSubprocess.
#include "testing/process.h"

#include <gio/gio.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "testing/temp_dir.h"

namespace vdl::testkit {
namespace {

// A child that dies early must fail the test on its own output, not kill the
// test process with SIGPIPE when it is written to.
void ignoreBrokenPipes() {
  static const bool ignored = [] {
    ::signal(SIGPIPE, SIG_IGN);
    return true;
  }();
  (void)ignored;
}

GSubprocess* spawn(const std::vector<std::string>& argv, GSubprocessFlags flags,
                   const Environment& environment) {
  ignoreBrokenPipes();
  GSubprocessLauncher* launcher = g_subprocess_launcher_new(flags);
  for (const auto& [name, value] : environment) {
    if (value) {
      g_subprocess_launcher_setenv(launcher, name.c_str(), value->c_str(), TRUE);
    } else {
      g_subprocess_launcher_unsetenv(launcher, name.c_str());
    }
  }
  std::vector<const gchar*> args;
  for (const auto& a : argv) args.push_back(a.c_str());
  args.push_back(nullptr);
  GSubprocess* process = g_subprocess_launcher_spawnv(launcher, args.data(), nullptr);
  g_object_unref(launcher);
  return process;
}

int exitStatus(GSubprocess* process) {
  if (g_subprocess_get_if_exited(process)) return g_subprocess_get_exit_status(process);
  return g_subprocess_get_if_signaled(process) ? 128 + g_subprocess_get_term_sig(process) : -1;
}

std::string text(GBytes* bytes) {
  if (bytes == nullptr) return {};
  gsize size = 0;
  const auto* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
  std::string s(data != nullptr ? data : "", size);
  g_bytes_unref(bytes);
  return s;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, const Environment& environment,
                         const std::string& input) {
  ProcessResult result;
  GSubprocess* process = spawn(
      argv,
      static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDIN_PIPE | G_SUBPROCESS_FLAGS_STDOUT_PIPE |
                                    G_SUBPROCESS_FLAGS_STDERR_PIPE),
      environment);
  if (process == nullptr) return result;
  GBytes* in = g_bytes_new(input.data(), input.size());
  GBytes* out = nullptr;
  GBytes* err = nullptr;
  g_subprocess_communicate(process, in, nullptr, &out, &err, nullptr);
  g_bytes_unref(in);
  g_subprocess_wait(process, nullptr, nullptr);
  result = {exitStatus(process), text(out), text(err)};
  g_object_unref(process);
  return result;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, Streams streams,
                           const Environment& environment) {
  auto flags = streams == Streams::lines
                   ? static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDIN_PIPE |
                                                   G_SUBPROCESS_FLAGS_STDOUT_PIPE)
                   : G_SUBPROCESS_FLAGS_NONE;
  auto* process = spawn(argv, flags, environment);
  process_ = process;
  if (process != nullptr && streams == Streams::lines) {
    lines_ = g_data_input_stream_new(g_subprocess_get_stdout_pipe(process));
  }
}

ChildProcess::~ChildProcess() {
  if (process_ != nullptr && !waited_) g_subprocess_force_exit(static_cast<GSubprocess*>(process_));
  wait();
  if (lines_ != nullptr) g_object_unref(lines_);
  if (process_ != nullptr) g_object_unref(process_);
}

std::string ChildProcess::ask(const std::string& line) {
  auto* process = static_cast<GSubprocess*>(process_);
  if (lines_ == nullptr || waited_) return {};
  std::string sent = line + "\n";
  GOutputStream* in = g_subprocess_get_stdin_pipe(process);
  if (!g_output_stream_write_all(in, sent.data(), sent.size(), nullptr, nullptr, nullptr) ||
      !g_output_stream_flush(in, nullptr, nullptr)) {
    return {};
  }
  gchar* reply = g_data_input_stream_read_line(static_cast<GDataInputStream*>(lines_), nullptr,
                                               nullptr, nullptr);
  std::string out = reply != nullptr ? reply : "";
  g_free(reply);
  return out;
}

void ChildProcess::kill(int signal) {
  if (process_ != nullptr && !waited_) {
    g_subprocess_send_signal(static_cast<GSubprocess*>(process_), signal);
  }
}

int ChildProcess::wait() {
  auto* process = static_cast<GSubprocess*>(process_);
  if (process == nullptr || waited_) return status_;
  if (GOutputStream* in = g_subprocess_get_stdin_pipe(process)) {
    g_output_stream_close(in, nullptr, nullptr);
  }
  g_subprocess_wait(process, nullptr, nullptr);
  waited_ = true;
  status_ = exitStatus(process);
  return status_;
}

bool waitForFile(const std::string& path, double seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!std::filesystem::exists(path) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return std::filesystem::exists(path);
}

std::string waitForLine(const std::string& path, double seconds, std::size_t lines) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    std::string text = std::filesystem::exists(path) ? readFile(path) : "";
    bool whole = !text.empty() && text.back() == '\n';
    if ((whole && static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >= lines) ||
        std::chrono::steady_clock::now() >= deadline) {
      return text;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace vdl::testkit
