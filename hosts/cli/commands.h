// vandrel-finder's commands as a table: each with its synopsis, the options
// it takes and how many operands, and what it runs. The help text and every
// check of options and operands come from the table.
#pragma once

#include <string>
#include <vector>

namespace vdl::cli {

// Runs the command line `words` (without the program name) and returns the
// exit status: 0 for results, 1 for a manifest that fails its check, 2 for
// usage errors.
int runCommandLine(const std::vector<std::string>& words);

// The help text, made from the table.
std::string usageText();

}  // namespace vdl::cli
