// Warnings for manifests that decode but can't work as meant.
#include "manifest/manifest_check.h"

#include "manifest/json_path.h"
#include "manifest/manifest_index.h"
#include "manifest/manifest_loader.h"
#include "text/unicode_text.h"

namespace vdl {
namespace {

// Why a manifest key can never be a file's: the key that a file with that
// extension is looked up by differs from the one the key is indexed by.
void checkKey(const std::string& path, const std::string& key, std::vector<ManifestWarning>& out) {
  std::string name = "file." + key;
  std::string looksUp = extensionKey(pathExtension(name));
  if (looksUp != text::normalizedNFC(key)) {
    out.push_back(
        {path, "never matches a file: \"" + name + "\" is looked up as \"" + looksUp +
                   "\" (an extension is what follows the last dot of the name, lower-cased)"});
  }
}

void checkList(const std::string& path, const std::vector<std::string>& list,
               std::vector<ManifestWarning>& out) {
  for (std::size_t i = 0; i < list.size(); ++i) checkKey(elementPath(path, i), list[i], out);
}

std::vector<ManifestWarning> warningsOf(const MenuManifest& m) {
  std::vector<ManifestWarning> out;
  ManifestIndex index(m);
  if (m.labels.needs.find("{tool}") == std::string::npos) {
    out.push_back({"labels.needs", "has no \"{tool}\", so no tool name is ever shown"});
  }
  for (const auto& [key, rows] : m.targets) {
    std::string path = memberPath("targets", key);
    checkKey(path, key, out);
    std::string source = text::normalizedNFC(key);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].empty()) {
        out.push_back({elementPath(path, i), "is an empty row and is ignored"});
      } else if (text::normalizedNFC(rows[i][0]) == source) {
        // Compared as the offer compares formats: a menu entry that
        // converts the file into what it already is.
        out.push_back({elementPath(path, i), "converts a ." + key + " file into itself: \"" +
                                                 std::string(rows[i][0]) + "\""});
      }
    }
  }
  for (const auto& [key, formats] : m.popular) {
    std::string path = memberPath("popular", key);
    checkKey(path, key, out);
    const auto offered = index.targets(text::normalizedNFC(key));
    for (std::size_t i = 0; i < formats.size(); ++i) {
      std::string format = text::normalizedNFC(formats[i]);
      bool found = offered && findTarget(*offered, format);
      if (!found) {
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

}  // namespace

CheckReport checkManifest(const std::string& file, const std::string& content) {
  CheckReport report;
  report.file = file;
  auto decoded = decodeManifest(content);
  if (!decoded) {
    report.error = decoded.error();
    return report;
  }
  report.warnings = warningsOf(*decoded);
  report.manifest = std::move(*decoded);
  return report;
}

CheckReport checkManifestFile(FileSystem& files, const std::string& file) {
  auto content = readManifestFile(files, file);
  if (!content) {
    CheckReport report;
    report.file = file;
    report.unreadable = content.error().description;
    return report;
  }
  return checkManifest(file, *content);
}

}  // namespace vdl
