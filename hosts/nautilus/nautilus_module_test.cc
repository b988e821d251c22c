// The built module, loaded as Nautilus loads it, fed file infos, its menus
// read back from Nautilus's own item objects, and its items activated.
#include <gmodule.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "hosts/nautilus/testing/fake_file_info.h"
#include "testing/manifests.h"
#include "testing/temp_dir.h"

namespace vdl::nautilus {
namespace {

using testkit::readFile;
using testkit::visibleEntries;
using testkit::writeFile;

// Nautilus's loader, in short: a type module whose load() runs the module's
// initialize, then one provider object per listed type.
struct TestTypeModule {
  GTypeModule parent;
};
struct TestTypeModuleClass {
  GTypeModuleClass parent;
};

void (*initializeModule)(GTypeModule*) = nullptr;

gboolean loadModule(GTypeModule* module) {
  initializeModule(module);
  return TRUE;
}
void unloadModule(GTypeModule*) {}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wcast-function-type"
#pragma GCC diagnostic ignored "-Wunused-function"
G_DEFINE_TYPE(TestTypeModule, test_type_module, G_TYPE_TYPE_MODULE)
#pragma GCC diagnostic pop

void test_type_module_class_init(TestTypeModuleClass* klass) {
  auto* module = reinterpret_cast<GTypeModuleClass*>(klass);
  module->load = &loadModule;
  module->unload = &unloadModule;
}
void test_type_module_init(TestTypeModule*) {}

std::string realHome() {
  const passwd* pw = getpwuid(getuid());
  return pw ? pw->pw_dir : "";
}

// A sample AppDir below a temporary folder, holding a copy of the module in
// its bundle and an AppRun that notes the URLs it is started with; an
// extension folder that links to the module, as installing does; and the
// provider that Nautilus would create from it. One per process, as in
// Nautilus.
class LoadedModule {
 public:
  LoadedModule() {
    // A misuse of Nautilus's API is a failure, not a line on stderr.
    g_log_set_always_fatal(GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_FLAG_FATAL));
    std::string bundle = tmp / "Vandrel.AppDir/usr/lib/finder-sync";
    std::filesystem::create_directories(bundle);
    std::filesystem::create_directories(tmp / "extensions");
    std::filesystem::copy_file(VDL_NAUTILUS_MODULE, bundle + "/libvandrel-nautilus.so");
    std::filesystem::copy_file(VDL_SOURCE_DIR "/bundle/MenuIcon.svg", bundle + "/MenuIcon.svg");
    writeFile(bundle + "/fallback-menu.json", testkit::kWorkedExample);
    writeFile(tmp / "Vandrel.AppDir/AppRun",
              "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$(dirname \"$0\")/received\"\n");
    ::chmod((tmp / "Vandrel.AppDir/AppRun").c_str(), 0755);
    std::filesystem::create_symlink(bundle + "/libvandrel-nautilus.so",
                                    tmp / "extensions/libvandrel-nautilus.so");

    module = g_module_open((tmp / "extensions/libvandrel-nautilus.so").c_str(),
                           GModuleFlags(G_MODULE_BIND_LAZY | G_MODULE_BIND_LOCAL));
    if (!module) return;
    void (*listTypes)(const GType**, int*) = nullptr;
    void (*shutdown)() = nullptr;
    entryPoints =
        g_module_symbol(module, "nautilus_module_initialize",
                        reinterpret_cast<gpointer*>(&initializeModule)) &&
        g_module_symbol(module, "nautilus_module_list_types",
                        reinterpret_cast<gpointer*>(&listTypes)) &&
        g_module_symbol(module, "nautilus_module_shutdown", reinterpret_cast<gpointer*>(&shutdown));
    if (!entryPoints) return;
    auto* typeModule = G_TYPE_MODULE(g_object_new(test_type_module_get_type(), nullptr));
    g_type_module_use(typeModule);
    const GType* types = nullptr;
    int count = 0;
    listTypes(&types, &count);
    if (count == 1) provider = NAUTILUS_MENU_PROVIDER(g_object_new(types[0], nullptr));
  }

  std::string sharedFolder() const {
    return realHome() + "/Library/Application Support/com.vandrel.Vandrel/FinderSync";
  }
  std::string file(const std::string& name) {
    writeFile(tmp / ("files/" + name), "x");
    return tmp / ("files/" + name);
  }
  // The URLs that AppRun was started with so far, once `count` have come.
  std::vector<std::string> received(std::size_t count) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::vector<std::string> lines;
    while (std::chrono::steady_clock::now() < deadline) {
      g_main_context_iteration(nullptr, FALSE);
      lines.clear();
      std::string text = std::filesystem::exists(tmp / "Vandrel.AppDir/received")
                             ? readFile(tmp / "Vandrel.AppDir/received")
                             : "";
      for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos;
           at = end + 1) {
        lines.push_back(text.substr(at, end - at));
      }
      if (lines.size() >= count) break;
      g_usleep(10000);
    }
    return lines;
  }

  testkit::TempDir tmp;
  GModule* module = nullptr;
  bool entryPoints = false;
  NautilusMenuProvider* provider = nullptr;
};

LoadedModule& loaded() {
  static LoadedModule* it = new LoadedModule;  // lives as long as the process, as in Nautilus
  return *it;
}

std::string stringProperty(GObject* object, const char* name) {
  gchar* value = nullptr;
  g_object_get(object, name, &value, nullptr);
  std::string text = value ? value : "";
  g_free(value);
  return text;
}

bool isRule(const std::string& label) {
  if (label.size() < 8 * 3 || label.size() % 3 != 0) return false;
  for (std::size_t i = 0; i < label.size(); i += 3) {
    if (label.compare(i, 3, "─") != 0) return false;
  }
  return true;
}

// The items as a person would read them: one line each, indented under
// their parent, with the name, the label (a divider as "───"), "icon" for an
// icon, "greyed" for an insensitive item and "acts" for one that does
// something when activated.
void render(GList* items, const std::string& indent, std::string& out) {
  guint activate = g_signal_lookup("activate", NAUTILUS_TYPE_MENU_ITEM);
  for (GList* l = items; l; l = l->next) {
    auto* item = G_OBJECT(l->data);
    std::string label = stringProperty(item, "label");
    gboolean sensitive = TRUE;
    NautilusMenu* submenu = nullptr;
    g_object_get(item, "sensitive", &sensitive, "menu", &submenu, nullptr);
    out += indent + stringProperty(item, "name") + " " + (isRule(label) ? "───" : label);
    if (!stringProperty(item, "icon").empty()) out += " icon";
    if (!sensitive) out += " greyed";
    if (g_signal_has_handler_pending(item, activate, 0, FALSE)) out += " acts";
    out += "\n";
    if (submenu) {
      GList* children = nautilus_menu_get_items(submenu);
      render(children, indent + "  ", out);
      nautilus_menu_item_list_free(children);
      g_object_unref(submenu);
    }
  }
}

struct Asked {
  GList* items = nullptr;
  std::string text;
};

Asked ask(const std::vector<std::string>& uris) {
  GList* files = nullptr;
  for (auto it = uris.rbegin(); it != uris.rend(); ++it) {
    files = g_list_prepend(files, testing::fakeFileInfo(*it));
  }
  Asked asked;
  asked.items = nautilus_menu_provider_get_file_items(loaded().provider, files);
  render(asked.items, "", asked.text);
  nautilus_file_info_list_free(files);
  return asked;
}

std::string uri(const std::string& path) {
  GFile* file = g_file_new_for_path(path.c_str());
  char* text = g_file_get_uri(file);
  std::string result = text;
  g_free(text);
  g_object_unref(file);
  return result;
}

class NautilusModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* privateHome = std::getenv("VANDREL_PRIVATE_HOME");
    ASSERT_TRUE(privateHome && realHome() == privateHome)
        << "run through scripts/in-private-home: these tests write below the user's home";
    ASSERT_TRUE(loaded().module) << g_module_error();
    ASSERT_TRUE(loaded().entryPoints) << "an entry point is missing, or exported mangled";
    ASSERT_TRUE(loaded().provider);
    std::filesystem::remove_all(loaded().sharedFolder());
  }
  void menu(const std::string& text) { writeFile(loaded().sharedFolder() + "/menu.json", text); }
};

TEST_F(NautilusModuleTest, MenusAreTheCoresInNautilussItems) {
  auto& m = loaded();
  std::string clip = m.file("clip.MOV"), still = m.file("still.png"), odd = m.file("odd.xyz");
  std::filesystem::create_directories(m.tmp / "files/folder");
  std::filesystem::create_directory_symlink(m.tmp / "files/folder", m.tmp / "files/to-folder.mov");
  std::filesystem::create_symlink(m.tmp / "files/gone.mov", m.tmp / "files/broken.mov");
  std::filesystem::create_symlink(clip, m.tmp / "files/to-clip.mov");
  const std::string kWorked =
      "Vandrel::0 Convert to icon\n"
      "  Vandrel::0.0 MP4 acts\n"
      "  Vandrel::0.1 GIF (needs extra codecs) acts\n"
      "  Vandrel::0.2 ─── greyed\n"
      "  Vandrel::0.3 MP3 acts\n"
      "  Vandrel::0.4 ─── greyed\n"
      "  Vandrel::0.5 Open in Vandrel… acts\n"
      "Vandrel::1 Compress icon acts\n"
      "Vandrel::2 Crop icon acts\n";
  struct Row {
    const char* name;
    std::string manifest;
    std::vector<std::string> files;
    std::string expected;
  } rows[] = {
      {"the worked example", testkit::kWorkedExample, {uri(clip)}, kWorked},
      {"the same menu once more, with the same names",
       testkit::kWorkedExample,
       {uri(clip)},
       kWorked},
      {"a label's and a format's underscores stay visible",
       testkit::smallManifest("to_do", "m_p4"),
       {uri(clip)},
       "Vandrel::0 to__do icon\n"
       "  Vandrel::0.0 M__P4 acts\n"
       "  Vandrel::0.1 ─── greyed\n"
       "  Vandrel::0.2 O acts\n"},
      {"folders alone, a link to one among them",
       testkit::kWorkedExample,
       {uri(m.tmp / "files/folder"), uri(m.tmp / "files/to-folder.mov")},
       ""},
      {"a broken link", testkit::kWorkedExample, {uri(m.tmp / "files/broken.mov")}, ""},
      {"a link to a video", testkit::kWorkedExample, {uri(m.tmp / "files/to-clip.mov")}, kWorked},
      {"nothing selected", testkit::kWorkedExample, {}, ""},
      {"no conversion fits", testkit::kWorkedExample, {uri(odd)}, ""},
      {"a file in the trash", testkit::kWorkedExample, {"trash:///clip.MOV"}, ""},
      {"a remote file beside a local one",
       testkit::kWorkedExample,
       {uri(clip), "sftp://host/clip.MOV"},
       ""},
      {"the host's switch is off",
       testkit::smallManifest("C", "mp4", R"(, "enabled": false)"),
       {uri(clip)},
       ""},
      {"two kinds of file",
       testkit::kWorkedExample,
       {uri(clip), uri(still)},
       "Vandrel::0 Compress icon acts\n"},
  };
  for (const auto& row : rows) {
    menu(row.manifest);
    Asked asked = ask(row.files);
    EXPECT_EQ(asked.text, row.expected) << row.name;
    g_list_free_full(asked.items, g_object_unref);
  }
  NautilusFileInfo* folder = testing::fakeFileInfo(uri(m.tmp / "files"));
  EXPECT_EQ(nautilus_menu_provider_get_background_items(m.provider, folder), nullptr);
  g_object_unref(folder);
}

// Nautilus gives no selection when an item is activated, and asks for menus
// on every selection change: an item acts on the files of its own menu.
TEST_F(NautilusModuleTest, AnItemActsOnItsOwnMenusFilesAfterLaterMenus) {
  auto& m = loaded();
  std::string first = m.file("first.mov"), second = m.file("second.mov");
  menu(testkit::kWorkedExample);
  Asked older = ask({uri(first)});
  Asked newer = ask({uri(second), uri(first)});
  ASSERT_NE(older.items, nullptr);
  ASSERT_NE(newer.items, nullptr);

  GList* formats = nullptr;
  g_object_get(older.items->data, "menu", &formats, nullptr);
  ASSERT_NE(formats, nullptr);
  GList* formatItems = nautilus_menu_get_items(reinterpret_cast<NautilusMenu*>(formats));
  nautilus_menu_item_activate(NAUTILUS_MENU_ITEM(formatItems->data));  // MP4
  nautilus_menu_item_list_free(formatItems);
  g_object_unref(formats);
  nautilus_menu_item_list_free(older.items);
  nautilus_menu_item_list_free(newer.items);

  auto requests = visibleEntries(loaded().sharedFolder() + "/requests");
  ASSERT_EQ(requests.size(), 1u);
  std::string request = readFile(requests[0]);
  EXPECT_NE(request.find(R"("format":"mp4")"), std::string::npos) << request;
  EXPECT_NE(request.find("first.mov"), std::string::npos) << request;
  EXPECT_EQ(request.find("second.mov"), std::string::npos) << request;
  std::string id = std::filesystem::path(requests[0]).stem();
  EXPECT_EQ(m.received(1), std::vector<std::string>{"vandrel://quick?id=" + id});
}

}  // namespace
}  // namespace vdl::nautilus
