// One extension's world below a temporary folder: a home, the bundle inside
// a sample AppDir, a folder of selectable files, and the test platform wired
// to them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "menu/menu_model.h"
#include "testing/temp_dir.h"
#include "testing/test_platform.h"

namespace vdl::testkit {

class ExtensionWorld {
 public:
  ExtensionWorld();

  // Creates files/<name> and returns its path.
  std::string file(const std::string& name);
  void writeMenu(const std::string& text) { writeFile(menuPath, text); }
  void writeFallback(const std::string& text) { writeFile(bundle + "/fallback-menu.json", text); }
  // The published requests' paths (hidden files left out), and every entry.
  std::vector<std::string> published() const { return testkit::entries(requests); }
  std::size_t entries() const { return testkit::entries(requests, true).size(); }
  // The one published request's text; empty unless there is exactly one.
  std::string onlyRequest() const;

  static MenuItem item(std::int64_t tag);

  TempDir tmp;
  std::string bundle, shared, requests, menuPath;
  TestPlatform t;
};

}  // namespace vdl::testkit
