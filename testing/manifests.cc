#include "testing/manifests.h"

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

}  // namespace vdl::testkit
