// Warnings for manifests that decode but can't work as meant.
#include "hosts/cli/manifest_check.h"

#include <unordered_set>

#include "manifest/json_path.h"
#include "text/unicode_text.h"

namespace vdl::cli {
namespace {

// Why an extension key or list entry can never match a file, or empty.
std::string neverMatches(const std::string& key) {
  if (!key.empty() && key.front() == '.') {
    return "starts with a dot, so it never matches: extensions are looked up without one";
  }
  if (text::lowercased(key) != key) {
    return "has upper-case letters, so it never matches: extensions are lower-cased first";
  }
  return {};
}

void checkKey(const std::string& path, const std::string& key, std::vector<Warning>& out) {
  if (auto why = neverMatches(key); !why.empty()) out.push_back({path, why});
}

void checkList(const std::string& path, const std::vector<std::string>& list,
               std::vector<Warning>& out) {
  for (std::size_t i = 0; i < list.size(); ++i) checkKey(elementPath(path, i), list[i], out);
}

}  // namespace

std::vector<Warning> manifestWarnings(const MenuManifest& m) {
  std::vector<Warning> out;
  if (m.labels.needs.find("{tool}") == std::string::npos) {
    out.push_back({"labels.needs", "has no \"{tool}\", so no tool name is ever shown"});
  }
  for (const auto& [key, rows] : m.targets) {
    std::string path = memberPath("targets", key);
    checkKey(path, key, out);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].empty()) {
        out.push_back({elementPath(path, i), "is an empty row and is ignored"});
      } else if (text::canonicallyEqual(rows[i][0], key)) {
        // Compared as the offer compares formats: a menu entry that
        // converts the file into what it already is.
        out.push_back({elementPath(path, i),
                       "converts a ." + key + " file into itself: \"" + rows[i][0] + "\""});
      }
    }
  }
  for (const auto& [key, formats] : m.popular) {
    std::string path = memberPath("popular", key);
    checkKey(path, key, out);
    // The formats of the key's rows, composed, looked up once per popular
    // format: linear however long both lists are.
    std::unordered_set<std::string> offered;
    if (auto rows = m.targets.find(key); rows != m.targets.end()) {
      for (const auto& r : rows->second) {
        if (!r.empty()) offered.insert(text::normalizedNFC(r[0]));
      }
    }
    for (std::size_t i = 0; i < formats.size(); ++i) {
      if (!offered.count(text::normalizedNFC(formats[i]))) {
        out.push_back({elementPath(path, i), "\"" + formats[i] + "\" is not among " +
                                                 memberPath("targets", key) +
                                                 ", so it is never shown"});
      }
    }
  }
  checkList("compress", m.compress, out);
  if (m.crop) checkList("crop", *m.crop, out);
  if (m.trim) checkList("trim", *m.trim, out);
  return out;
}

CheckReport checkManifest(const std::string& file, const std::string& content) {
  CheckReport report;
  report.file = file;
  auto decoded = decodeManifest(content);
  if (!decoded) {
    report.error = decoded.error();
    return report;
  }
  report.warnings = manifestWarnings(*decoded);
  report.manifest = std::move(*decoded);
  return report;
}

std::string reportText(const CheckReport& r) {
  std::string out;
  if (r.error) {
    return r.file +
           ": invalid manifest: " + (r.error->path.empty() ? "" : "at " + r.error->path + ": ") +
           r.error->reason + "\n";
  }
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
  nlohmann::json j = {{"file", r.file}, {"valid", !r.error}};
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
