#include "testing/extension_world.h"

#include <filesystem>

#include "extension/shared_folder.h"

namespace vdl::testkit {

ExtensionWorld::ExtensionWorld()
    : bundle(tmp / "Vandrel.AppDir/usr/lib/finder-sync"),
      shared(tmp / "home/Library/Application Support/" + std::string(hostBundleIdentifier()) +
             "/FinderSync"),
      requests(shared + "/requests"),
      menuPath(shared + "/menu.json"),
      t(bundle) {
  t.users.home = tmp / "home";
  std::filesystem::create_directories(bundle);
}

std::string ExtensionWorld::file(const std::string& name) {
  writeFile(tmp / "files/" + name, "content");
  return tmp / "files/" + name;
}

std::string ExtensionWorld::onlyRequest() const {
  auto files = published();
  return files.size() == 1 ? readFile(files[0]) : std::string();
}

MenuItem ExtensionWorld::item(std::int64_t tag) {
  MenuItem i;
  i.tag = tag;
  return i;
}

}  // namespace vdl::testkit
