// Hostile selections, end to end through the extension on the real disk:
// what only a real file system produces. Each case states what the user gets.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>

#include <nlohmann/json.hpp>

#include "extension/vdl_finder_sync.h"
#include "testing/extension_world.h"
#include "testing/manifests.h"

namespace vdl {
namespace {

class HostileInputTest : public ::testing::Test, public testkit::ExtensionWorld {
 public:
  // Creates <tmp>/<name> and returns its path.
  std::string at(const std::string& name) {
    testkit::writeFile(tmp / name, "video");
    return tmp / name;
  }
};

TEST_F(HostileInputTest, SelectionsGiveTheirMenuAndRequest) {
  struct Case {
    const char* name;
    // Makes the items and returns the selection.
    std::function<std::vector<std::string>(HostileInputTest&)> arrange;
    bool menu;
    // The files of the published request; none: nothing published.
    std::optional<std::vector<std::string>> request;
    // What happens between the menu and the choice.
    std::function<void(HostileInputTest&)> meanwhile = nullptr;
  };
  auto named = [](std::string name) {
    return [name](HostileInputTest& f) { return std::vector<std::string>{f.at(name)}; };
  };
  auto asIs = [](HostileInputTest& f, std::string name) {
    return std::optional<std::vector<std::string>>{{f.tmp / name}};
  };
  const std::string longName = std::string(251, 'n') + ".mov";
  std::string wideName;
  for (int i = 0; i < 125; ++i) wideName += "\u00e9";
  wideName += "x.mov";  // 255 bytes
  const std::optional<std::vector<std::string>> nothing;

  const Case cases[] = {
      {"a name that is not UTF-8: a request can't name it, so nothing is offered",
       named("bad\xFF.mov"), false, nothing},
      {"a 255-byte name", named(longName), true, asIs(*this, longName)},
      {"a 255-byte name of two-byte characters", named(wideName), true, asIs(*this, wideName)},
      {"a name too long for the file system",
       [](HostileInputTest& f) {
         return std::vector<std::string>{f.tmp / (std::string(256, 'n') + ".mov")};
       },
       false, nothing},
      {"a path longer than the system allows",
       [](HostileInputTest& f) {
         std::string path = f.tmp.path();
         while (path.size() < 5000) path += "/folder";
         return std::vector<std::string>{path + "/clip.mov"};
       },
       false, nothing},
      {"a link to a file: the link's own path is sent",
       [](HostileInputTest& f) {
         std::filesystem::create_symlink(f.at("target.bin"), f.tmp / "link.mov");
         return std::vector<std::string>{f.tmp / "link.mov"};
       },
       true, asIs(*this, "link.mov")},
      {"a socket",
       [](HostileInputTest& f) {
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         const std::string path = f.tmp / "sock.mov";
         EXPECT_LT(path.size(), sizeof address.sun_path);
         std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
         int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
         ::close(fd);
         return std::vector<std::string>{path};
       },
       true, asIs(*this, "sock.mov")},
      {"a hidden file, which has no extension", named(".mov"), false, nothing},
      {"an upper-case extension", named("CLIP.MOV"), true, asIs(*this, "CLIP.MOV")},
      {"dot-dot in the path, kept as given",
       [](HostileInputTest& f) {
         f.at("clip.mov");
         std::filesystem::create_directory(f.tmp / "sub");
         return std::vector<std::string>{f.tmp / "sub/../clip.mov"};
       },
       true, asIs(*this, "sub/../clip.mov")},
      {"a file that vanishes before the choice", named("brief.mov"), true, nothing,
       [](HostileInputTest& f) { std::filesystem::remove(f.tmp / "brief.mov"); }},
      {"a file that becomes a folder before the choice", named("turns.mov"), true, nothing,
       [](HostileInputTest& f) {
         std::filesystem::remove(f.tmp / "turns.mov");
         std::filesystem::create_directory(f.tmp / "turns.mov");
       }},
      {"one of two files vanishes before the choice",
       [](HostileInputTest& f) {
         return std::vector<std::string>{f.at("stays.mov"), f.at("goes.mov")};
       },
       true, asIs(*this, "stays.mov"),
       [](HostileInputTest& f) { std::filesystem::remove(f.tmp / "goes.mov"); }},
  };
  writeMenu(testkit::smallManifest());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(shared + "/requests");
    t.log.lines.clear();
    t.workspace.openings.clear();
    t.finder.select(c.arrange(*this));
    VDLFinderSync extension(t.platform);
    EXPECT_EQ(extension.menu(0).has_value(), c.menu);
    if (c.meanwhile) c.meanwhile(*this);
    MenuItem item;
    item.tag = 1000;
    extension.choose(item);
    t.workspace.runCompletions();

    auto files = published();
    if (c.request) {
      ASSERT_EQ(files.size(), 1u);
      auto request = nlohmann::json::parse(testkit::readFile(files[0]));
      EXPECT_EQ(request["files"], nlohmann::json(*c.request));
      EXPECT_EQ(t.workspace.openings.size(), 1u);
    } else {
      EXPECT_TRUE(files.empty());
      EXPECT_TRUE(t.workspace.openings.empty());
    }
    EXPECT_TRUE(t.log.lines.empty());
  }
}

}  // namespace
}  // namespace vdl
