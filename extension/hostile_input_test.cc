// Hostile input, end to end through the extension on the real disk: manifests
// that a careless or hostile writer could leave, and selections that only a
// real file system produces. Each case states what the user gets.
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

#include "extension/shared_folder.h"
#include "extension/vdl_finder_sync.h"
#include "testing/test_platform.h"

namespace vdl {
namespace {

std::string manifest(const std::string& version = "1", const std::string& format = "\"mp4\"",
                     const std::string& extra = "") {
  return R"({"version": )" + version +
         R"(, "labels": {"convertTo": "C", "compress": "Z", "open": "O", "balanced": "B",
             "smallest": "S", "needs": "N"}, "popular": {}, "targets": {"mov": [[)" +
         format + R"(]]}, "compress": [])" + extra + "}";
}

std::string padded(std::size_t bytes) {
  return manifest("1", "\"mp4\"", ", \"padding\": \"" + std::string(bytes, ' ') + "\"");
}

std::string nested(std::size_t depth) {
  return manifest("1", "\"mp4\"", ", \"x\": " + std::string(depth, '[') + std::string(depth, ']'));
}

class HostileInputTest : public ::testing::Test {
 public:
  HostileInputTest() : t(tmp / "Vandrel.AppDir/usr/lib/finder-sync") {
    t.users.home = tmp / "home";
    shared = tmp / "home/Library/Application Support/" + std::string(hostBundleIdentifier()) +
             "/FinderSync";
    menuPath = shared + "/menu.json";
    std::filesystem::create_directories(shared);
    testkit::writeFile(tmp / "Vandrel.AppDir/usr/lib/finder-sync/fallback-menu.json",
                       manifest("1", "\"gif\""));
  }

  // The first format of the menu's convert list, or none when there is no menu.
  std::optional<std::string> firstFormat(VDLFinderSync& extension) {
    auto menu = extension.menu(0);
    if (!menu) return std::nullopt;
    if (menu->items.empty() || !menu->items[0].submenu) return "(no convert list)";
    return menu->items[0].submenu->items.at(0).title;
  }

  std::vector<std::string> published() { return testkit::visibleEntries(shared + "/requests"); }

  std::string file(const std::string& name) {
    testkit::writeFile(tmp / name, "video");
    return tmp / name;
  }

  testkit::TempDir tmp;
  testkit::TestPlatform t;
  std::string shared, menuPath;
};

TEST_F(HostileInputTest, ManifestsGiveTheirMenuOrNone) {
  const std::optional<std::string> none;
  struct Case {
    const char* name;
    std::function<void(HostileInputTest&)> arrange;
    std::optional<std::string> firstFormat;  // none: no menu
  };
  auto text = [](std::string content) {
    return [content](HostileInputTest& f) { testkit::writeFile(f.menuPath, content); };
  };
  const Case cases[] = {
      {"a sound manifest", text(manifest()), "MP4"},
      // Structure.
      {"100,000 nested arrays", text(std::string(100000, '[') + std::string(100000, ']')), none},
      {"nesting past the bound in a member no one reads", text(nested(70)), none},
      {"nesting within the bound in a member no one reads", text(nested(50)), "MP4"},
      {"a 100 MB document", text(padded(100u << 20)), none},
      {"a document just within the size bound", text(padded(15u << 20)), "MP4"},
      {"a truncated document", text(manifest().substr(0, 60)), none},
      {"an empty file", text(""), none},
      {"only white space", text(" \n\t "), none},
      {"a later duplicate key wins",
       text(manifest("1", "\"mp4\"", R"(, "targets": {"mov": [["webm"]]})")), "WEBM"},
      // Numbers.
      {"NaN", text(manifest("NaN")), none},
      {"Infinity", text(manifest("Infinity")), none},
      {"-Infinity", text(manifest("-Infinity")), none},
      {"1e400", text(manifest("1e400")), none},
      {"-0", text(manifest("-0")), "MP4"},
      {"-0.0", text(manifest("-0.0")), "MP4"},
      {"1.0", text(manifest("1.0")), "MP4"},
      {"a hexadecimal number", text(manifest("0x1")), none},
      // Text.
      {"a byte-order mark", text("\xEF\xBB\xBF" + manifest()), "MP4"},
      {"two byte-order marks", text("\xEF\xBB\xBF\xEF\xBB\xBF" + manifest()), none},
      {"UTF-16 with its mark", text(std::string("\xFF\xFE{\0}\0", 6)), none},
      {"a lone high surrogate", text(manifest("1", R"("\ud800")")), none},
      {"a lone low surrogate", text(manifest("1", R"("\udc00")")), none},
      {"a surrogate pair in the wrong order", text(manifest("1", R"("\udc00\ud800")")), none},
      {"an escaped surrogate pair", text(manifest("1", R"("\ud83c\udfac")")), "\U0001F3AC"},
      {"an escaped NUL", text(manifest("1", R"("mp\u00004")")),
       std::string("MP\0"
                   "4",
                   4)},
      {"a raw control character",
       text(manifest("1",
                     "\"mp\x01"
                     "4\"")),
       none},
      {"bytes that are not UTF-8", text(manifest("1", "\"\xC3\x28\"")), none},
      {"an overlong encoding", text(manifest("1", "\"\xC0\xAF\"")), none},
      {"an encoded surrogate", text(manifest("1", "\"\xED\xA0\x80\"")), none},
      // What lies at the name menu.json.
      {"a directory", [](HostileInputTest& f) { std::filesystem::create_directory(f.menuPath); },
       none},
      {"a FIFO, which must not block",
       [](HostileInputTest& f) { ASSERT_EQ(::mkfifo(f.menuPath.c_str(), 0600), 0); }, none},
      {"a link to an endless device",
       [](HostileInputTest& f) { std::filesystem::create_symlink("/dev/zero", f.menuPath); }, none},
      {"a symbolic-link loop, which has no date: the fallback serves",
       [](HostileInputTest& f) { std::filesystem::create_symlink(f.menuPath, f.menuPath); }, "GIF"},
      {"a dangling symbolic link: the fallback serves",
       [](HostileInputTest& f) { std::filesystem::create_symlink(f.tmp / "gone", f.menuPath); },
       "GIF"},
  };
  const std::string clip = file("clip.mov");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(menuPath);
    c.arrange(*this);
    t.finder.select({clip});
    VDLFinderSync extension(t.platform);
    EXPECT_EQ(firstFormat(extension), c.firstFormat);
    EXPECT_TRUE(t.log.lines.empty()) << t.log.lines[0];
  }
}

TEST_F(HostileInputTest, SelectionsGiveTheirMenuAndRequest) {
  struct Case {
    const char* name;
    // Makes the items and returns the selection.
    std::function<std::vector<std::string>(HostileInputTest&)> arrange;
    bool menu;
    // The files of the published request; none: nothing published.
    std::optional<std::vector<std::string>> request;
    bool logsWriteFailure = false;
    // What happens between the menu and the choice.
    std::function<void(HostileInputTest&)> meanwhile = nullptr;
  };
  auto named = [](std::string name) {
    return [name](HostileInputTest& f) { return std::vector<std::string>{f.file(name)}; };
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
      {"a newline in the name", named("line\nbreak.mov"), true, asIs(*this, "line\nbreak.mov")},
      {"quotes and backslashes", named("say \"hi\" \\ back.mov"), true,
       asIs(*this, "say \"hi\" \\ back.mov")},
      {"control characters", named("tab\tbell\x07.mov"), true, asIs(*this, "tab\tbell\x07.mov")},
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
      {"a dangling symbolic link",
       [](HostileInputTest& f) {
         std::filesystem::create_symlink(f.tmp / "gone.mov", f.tmp / "dangling.mov");
         return std::vector<std::string>{f.tmp / "dangling.mov"};
       },
       false, nothing},
      {"a symbolic-link loop",
       [](HostileInputTest& f) {
         std::filesystem::create_symlink(f.tmp / "loop.mov", f.tmp / "loop.mov");
         return std::vector<std::string>{f.tmp / "loop.mov"};
       },
       false, nothing},
      {"a link to a file: the link's own path is sent",
       [](HostileInputTest& f) {
         std::filesystem::create_symlink(f.file("target.bin"), f.tmp / "link.mov");
         return std::vector<std::string>{f.tmp / "link.mov"};
       },
       true, asIs(*this, "link.mov")},
      {"a link to a folder",
       [](HostileInputTest& f) {
         std::filesystem::create_directory(f.tmp / "folder");
         std::filesystem::create_symlink(f.tmp / "folder", f.tmp / "folder-link.mov");
         return std::vector<std::string>{f.tmp / "folder-link.mov"};
       },
       false, nothing},
      {"a folder named like a video",
       [](HostileInputTest& f) {
         std::filesystem::create_directory(f.tmp / "folder.mov");
         return std::vector<std::string>{f.tmp / "folder.mov"};
       },
       false, nothing},
      {"a FIFO, which is never opened",
       [](HostileInputTest& f) {
         EXPECT_EQ(::mkfifo((f.tmp / "pipe.mov").c_str(), 0600), 0);
         return std::vector<std::string>{f.tmp / "pipe.mov"};
       },
       true, asIs(*this, "pipe.mov")},
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
         f.file("clip.mov");
         std::filesystem::create_directory(f.tmp / "sub");
         return std::vector<std::string>{f.tmp / "sub/../clip.mov"};
       },
       true, asIs(*this, "sub/../clip.mov")},
      {"the same file twice",
       [](HostileInputTest& f) {
         auto p = f.file("twice.mov");
         return std::vector<std::string>{p, p};
       },
       true, std::vector<std::string>{tmp / "twice.mov", tmp / "twice.mov"}},
      {"a file that vanishes before the choice", named("brief.mov"), true, nothing, false,
       [](HostileInputTest& f) { std::filesystem::remove(f.tmp / "brief.mov"); }},
      {"a file that becomes a folder before the choice", named("turns.mov"), true, nothing, false,
       [](HostileInputTest& f) {
         std::filesystem::remove(f.tmp / "turns.mov");
         std::filesystem::create_directory(f.tmp / "turns.mov");
       }},
      {"one of two files vanishes before the choice",
       [](HostileInputTest& f) {
         return std::vector<std::string>{f.file("stays.mov"), f.file("goes.mov")};
       },
       true, asIs(*this, "stays.mov"), false,
       [](HostileInputTest& f) { std::filesystem::remove(f.tmp / "goes.mov"); }},
  };
  testkit::writeFile(menuPath, manifest());
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
    EXPECT_EQ(t.log.lines.size(), c.logsWriteFailure ? 1u : 0u);
  }
}

}  // namespace
}  // namespace vdl
