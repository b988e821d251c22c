// Manifests, and what the tests share about the menus they give.
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

// Whether `title` is a divider line: a run of at least 8 "─".
bool isDividerLine(const std::string& title);

// The shared folder below the home that the user database names, as the
// extension finds it when no one tells it of another home.
std::string userSharedFolder();

}  // namespace vdl::testkit
