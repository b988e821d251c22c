// Manifests that the tests share.
#pragma once

#include <string>

namespace vdl::testkit {

// The worked example: mov converts to mp4, gif (needing a tool) and mp3, the
// first two popular; png to jpg and webp; mov and png compress; mov crops.
extern const char* const kWorkedExample;

// A small manifest whose convert label and one target format of "mov" tell
// it apart from another; `members` are added at the top level (", ..." JSON).
std::string smallManifest(const std::string& label = "C", const std::string& format = "mp4",
                          const std::string& members = "");

}  // namespace vdl::testkit
