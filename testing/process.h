// Running real child processes for tests, on GLib's subprocesses.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vdl::testkit {

// Changes to this process's environment: a value of none removes the variable.
using Environment = std::map<std::string, std::optional<std::string>>;

struct ProcessResult {
  int exitStatus = -1;  // or 128 + the signal that ended it
  std::string out;
  std::string err;
};

// Runs `argv` to its end, feeding `input`, and reads its output to the end
// (which waits for whatever shares it, too).
ProcessResult runProcess(const std::vector<std::string>& argv, const Environment& environment = {},
                         const std::string& input = "");

// A child that a test talks to line by line, or leaves to run on its own
// (sharing this process's output) to kill at a chosen moment.
class ChildProcess {
 public:
  enum class Streams { shared, lines };
  explicit ChildProcess(const std::vector<std::string>& argv, Streams streams = Streams::shared,
                        const Environment& environment = {});
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();  // kills the child if it still runs

  bool started() const { return process_ != nullptr; }
  // Sends one line and returns the child's next line of output, without its
  // newline; empty when the child closed its output. Streams::lines only.
  std::string ask(const std::string& line);
  void kill(int signal);
  // Closes the child's input and waits for its end: the exit status, or 128
  // + the signal that ended it.
  int wait();

 private:
  void* process_ = nullptr;  // GSubprocess*
  void* lines_ = nullptr;    // GDataInputStream*
  bool waited_ = false;
  int status_ = -1;
};

// Waits up to `seconds` for `path` to exist; true when it does.
bool waitForFile(const std::string& path, double seconds = 15);
// Waits up to `seconds` for `path` to hold `lines` whole lines (a writer may
// have created it and not yet written), and returns what it holds then.
std::string waitForLine(const std::string& path, double seconds = 10, std::size_t lines = 1);

}  // namespace vdl::testkit
