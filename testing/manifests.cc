#include "testing/manifests.h"

#include "extension/shared_folder.h"
#include "platform/linux/system_platform.h"

namespace vdl::testkit {

const char* const kWorkedExample = R"json({
  "version": 1,
  "labels": {
    "convertTo": "Convert to", "compress": "Compress", "open": "Open in Vandrel…",
    "balanced": "Balanced (recommended)", "smallest": "Smallest file", "needs": "needs {tool}"
  },
  "popular": { "mov": ["mp4", "gif"] },
  "targets": {
    "mov": [["mp4"], ["gif", "extra codecs"], ["mp3"]],
    "png": [["jpg"], ["webp"]]
  },
  "compress": ["mov", "png"],
  "crop": ["mov"]
})json";

std::string smallManifest(const std::string& label, const std::string& format,
                          const std::string& members) {
  return R"({"version": 1, "labels": {"convertTo": ")" + label +
         R"(", "compress": "Z", "open": "O", "balanced": "B", "smallest": "S", "needs": "N"},
             "popular": {}, "targets": {"mov": [[")" +
         format + R"("]]}, "compress": [])" + members + "}";
}

bool isDividerLine(const std::string& title) {
  static const std::string rule = "\u2500";
  if (title.size() < 8 * rule.size() || title.size() % rule.size() != 0) return false;
  for (std::size_t i = 0; i < title.size(); i += rule.size()) {
    if (title.compare(i, rule.size(), rule) != 0) return false;
  }
  return true;
}

std::string userSharedFolder() {
  linux_platform::SystemPlatform system({});
  return sharedFolderURL(system.users(), hostBundleIdentifier()).path();
}

}  // namespace vdl::testkit
