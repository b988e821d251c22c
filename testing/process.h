// Running a real child process for a test, with an environment of its own.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vdl::testkit {

struct ProcessResult {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

// Runs `argv` to its end with this process's environment changed by
// `environment` (a value of none removes the variable), feeding `input`.
ProcessResult runProcess(const std::vector<std::string>& argv,
                         const std::map<std::string, std::optional<std::string>>& environment = {},
                         const std::string& input = "");

// A child that a test talks to line by line over its standard input and output.
class LineProcess {
 public:
  LineProcess(const std::vector<std::string>& argv,
              const std::map<std::string, std::optional<std::string>>& environment = {});
  LineProcess(const LineProcess&) = delete;
  LineProcess& operator=(const LineProcess&) = delete;
  ~LineProcess();

  // Sends one line and returns the child's next line of output, without its
  // newline; empty when the child closed its output.
  std::string ask(const std::string& line);
  // Closes the child's input and waits for its exit status.
  int finish();

 private:
  int pid_ = -1;
  int in_ = -1;
  void* out_ = nullptr;  // FILE*
};

// A child left to run on its own, sharing this process's output, for tests
// that run several at once or kill one at a chosen moment.
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();  // kills the child if it still runs

  bool started() const { return pid_ > 0; }
  void kill(int signal);
  // Waits for the end; the exit status, or 128 + the signal that ended it.
  int wait();

 private:
  int pid_ = -1;
};

// Waits up to `seconds` for `path` to exist; true when it does.
bool waitForFile(const std::string& path, double seconds = 15);

}  // namespace vdl::testkit
