// vandrel-finder doctor: why the menu doesn't appear. Checks the extension
// as a whole (manifest, shared folder, host application) and, for each file
// manager installed here, its module: version, place, bundle, loading,
// settings, copies and restarts.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hosts/cli/host.h"

namespace vdl::cli {

// A note is no fault: a file manager here without the module, say.
enum class Verdict { passed, note, failed };

struct Finding {
  std::string scope;  // "extension", or a file manager's id
  std::string check;  // "manifest", "loads", ...
  Verdict verdict = Verdict::passed;
  std::string detail;  // what is wrong, or what was found
  std::string fix;     // the command or setting that mends it
};

struct DoctorReport {
  std::vector<Finding> findings;
  bool healthy() const;
};

DoctorReport diagnose(Host& host);

// One line per failed check, then notes and a summary line.
std::string doctorText(const DoctorReport& report);
nlohmann::json doctorJSON(const DoctorReport& report);

}  // namespace vdl::cli
