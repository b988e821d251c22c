// Running a real child process for a test, with an environment of its own.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vdl::testing {

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

// Waits up to `seconds` for `path` to exist; true when it does.
bool waitForFile(const std::string& path, double seconds = 15);

}  // namespace vdl::testing
