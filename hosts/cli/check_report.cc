// The manifest checker's report, rendered.
#include "hosts/cli/check_report.h"

namespace vdl::cli {

std::string whyItFails(const CheckReport& r) {
  if (r.unreadable) return "unreadable: " + *r.unreadable;
  if (r.error) return (r.error->path.empty() ? "" : "at " + r.error->path + ": ") + r.error->reason;
  return {};
}

std::string reportText(const CheckReport& r) {
  std::string out;
  if (r.unreadable) return r.file + ": " + whyItFails(r) + "\n";
  if (r.error) return r.file + ": invalid manifest: " + whyItFails(r) + "\n";
  const MenuManifest& m = *r.manifest;
  std::size_t formats = 0;
  for (const auto& [key, rows] : m.targets) formats += rows.size();
  auto optionalCount = [](const auto& list) {
    return list ? std::to_string(list->size()) : std::string("absent");
  };
  auto flag = [](const std::optional<bool>& f) {
    return f ? (*f ? std::string("true") : std::string("false")) : std::string("absent (true)");
  };
  out += r.file + ": valid manifest, version " + std::to_string(m.version) + "\n";
  out += "  targets: " + std::to_string(m.targets.size()) + " source extensions, " +
         std::to_string(formats) + " rows\n";
  out += "  popular: " + std::to_string(m.popular.size()) + " lists\n";
  out += "  compress: " + std::to_string(m.compress.size()) + ", crop: " + optionalCount(m.crop) +
         ", trim: " + optionalCount(m.trim) + "\n";
  out += "  enabled: " + flag(m.enabled) + ", compressEnabled: " + flag(m.compressEnabled) + "\n";
  for (const auto& w : r.warnings) out += "warning: " + w.path + ": " + w.message + "\n";
  return out;
}

nlohmann::json reportJSON(const CheckReport& r) {
  nlohmann::json j = {{"file", r.file}, {"valid", r.loads()}};
  if (r.unreadable) {
    j["error"] = {{"code", "unreadable"}, {"path", ""}, {"reason", *r.unreadable}};
    return j;
  }
  if (r.error) {
    j["error"] = {{"code", decodeErrorCodeName(r.error->code)},
                  {"path", r.error->path},
                  {"reason", r.error->reason}};
    return j;
  }
  const MenuManifest& m = *r.manifest;
  j["version"] = m.version;
  j["sourceExtensions"] = m.targets.size();
  j["popularLists"] = m.popular.size();
  nlohmann::json warnings = nlohmann::json::array();
  for (const auto& w : r.warnings) warnings.push_back({{"path", w.path}, {"message", w.message}});
  j["warnings"] = warnings;
  return j;
}

}  // namespace vdl::cli
