// Each built file manager's module, loaded as its file manager loads it, fed
// file infos, its menus read back from the file manager's own item objects,
// and its items activated. One table of cases for all of them.
#include <gmodule.h>
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "hosts/file_manager/testing/fake_file_info.h"
#include "testing/manifests.h"
#include "testing/recording_app_dir.h"
#include "testing/temp_dir.h"

#ifdef VDL_HAVE_NAUTILUS
#include "hosts/nautilus/nautilus_kind.h"
#endif
#ifdef VDL_HAVE_NEMO
#include "hosts/nemo/nemo_kind.h"
#endif
#ifdef VDL_HAVE_CAJA
#include "hosts/caja/caja_kind.h"
#endif
#ifdef VDL_HAVE_THUNAR
#include "hosts/thunar/thunar_kind.h"
#endif

namespace vdl::file_manager {
namespace {

using testkit::writeFile;

// The loader of Nautilus, Nemo and Caja, in short: a type module whose load()
// runs the module's initialize.
struct TestTypeModule {
  GTypeModule parent;
  void (*initialize)(GTypeModule*);
};
struct TestTypeModuleClass {
  GTypeModuleClass parent;
};

GType testTypeModuleType() {
  static GType type = [] {
    auto classInit = [](gpointer klass, gpointer) {
      auto* module = static_cast<GTypeModuleClass*>(klass);
      module->load = [](GTypeModule* m) -> gboolean {
        reinterpret_cast<TestTypeModule*>(m)->initialize(m);
        return TRUE;
      };
      module->unload = [](GTypeModule*) {};
    };
    return g_type_register_static_simple(G_TYPE_TYPE_MODULE, "VdlTestTypeModule",
                                         sizeof(TestTypeModuleClass), classInit,
                                         sizeof(TestTypeModule), nullptr, GTypeFlags{});
  }();
  return type;
}

// The sample host with the module in its bundle, and a folder that links to
// it, as installing does. The folder also links to a second copy of the
// module, as a second install would, and to the module again under another
// name: each is loaded, and only one may register a provider.
class ModuleWorld {
 public:
  explicit ModuleWorld(const std::string& module) : app(VDL_MODULE_DIR, {module}) {
    std::filesystem::create_directories(extensions());
    std::string copy = "copy-" + module, again = "again-" + module;
    std::filesystem::copy_file(app.bundle() + "/" + module, app.bundle() + "/" + copy);
    std::filesystem::create_symlink(app.bundle() + "/" + module, extensions() + "/" + module);
    std::filesystem::create_symlink(app.bundle() + "/" + copy, extensions() + "/" + copy);
    std::filesystem::create_symlink(app.bundle() + "/" + module, extensions() + "/" + again);
  }

  std::string extensions() const { return app.tmp / "extensions"; }

  // Loads every module of the extension folder as a type module, in the
  // folder's order, as Nautilus, Nemo and Caja do, and creates the providers
  // they list.
  std::vector<GObject*> loadTypeModules(const std::string& prefix) {
    std::vector<GObject*> providers;
    GDir* dir = g_dir_open(extensions().c_str(), 0, nullptr);
    while (const char* name = dir ? g_dir_read_name(dir) : nullptr) {
      GModule* handle = g_module_open((extensions() + "/" + name).c_str(),
                                      GModuleFlags(G_MODULE_BIND_LAZY | G_MODULE_BIND_LOCAL));
      if (!handle) return fail(g_module_error());
      void (*initialize)(GTypeModule*) = nullptr;
      void (*listTypes)(const GType**, int*) = nullptr;
      void (*shutdown)() = nullptr;
      if (!g_module_symbol(handle, (prefix + "_initialize").c_str(),
                           reinterpret_cast<gpointer*>(&initialize)) ||
          !g_module_symbol(handle, (prefix + "_list_types").c_str(),
                           reinterpret_cast<gpointer*>(&listTypes)) ||
          !g_module_symbol(handle, (prefix + "_shutdown").c_str(),
                           reinterpret_cast<gpointer*>(&shutdown))) {
        return fail("an entry point is missing, or exported under a mangled name");
      }
      auto* typeModule = static_cast<TestTypeModule*>(g_object_new(testTypeModuleType(), nullptr));
      typeModule->initialize = initialize;
      g_type_module_use(G_TYPE_MODULE(typeModule));
      // Kept, as the file managers keep theirs, whether or not it registered.
      typeModules.push_back(G_OBJECT(typeModule));
      const GType* types = nullptr;
      int count = 0;
      listTypes(&types, &count);
      for (int i = 0; i < count; ++i)
        providers.push_back(G_OBJECT(g_object_new(types[i], nullptr)));
    }
    if (dir) g_dir_close(dir);
    return providers;
  }

  std::vector<GObject*> fail(const std::string& why) {
    error = why;
    return {};
  }

  testkit::RecordingAppDir app;
  std::string error;
  std::vector<GObject*> typeModules;
};

// What the table needs of each file manager: how its module is loaded, its
// file infos, its menu request, and its submenus.
#ifdef VDL_HAVE_NAUTILUS
struct Nautilus {
  using Kind = nautilus::NautilusKind;
  static constexpr const char* kModule = "libvandrel-nautilus.so";
  static std::vector<GObject*> load(ModuleWorld& w) { return w.loadTypeModules("nautilus_module"); }
  static GList* fileItems(GObject* provider, GList* files) {
    return nautilus_menu_provider_get_file_items(NAUTILUS_MENU_PROVIDER(provider), files);
  }
};
#endif

#ifdef VDL_HAVE_NEMO
struct Nemo {
  using Kind = nemo::NemoKind;
  static constexpr const char* kModule = "libvandrel-nemo.so";
  static std::vector<GObject*> load(ModuleWorld& w) { return w.loadTypeModules("nemo_module"); }
  static GList* fileItems(GObject* provider, GList* files) {
    return nemo_menu_provider_get_file_items(NEMO_MENU_PROVIDER(provider), nullptr, files);
  }
};
#endif

#ifdef VDL_HAVE_CAJA
struct Caja {
  using Kind = caja::CajaKind;
  static constexpr const char* kModule = "libvandrel-caja.so";
  static std::vector<GObject*> load(ModuleWorld& w) { return w.loadTypeModules("caja_module"); }
  static GList* fileItems(GObject* provider, GList* files) {
    return caja_menu_provider_get_file_items(CAJA_MENU_PROVIDER(provider), nullptr, files);
  }
};
#endif

#ifdef VDL_HAVE_THUNAR
struct Thunar {
  using Kind = thunar::ThunarKind;
  static constexpr const char* kModule = "libvandrel-thunar.so";
  // Thunar's own loader, from its own folder, for which this private mount
  // namespace sees the extension folder.
  static std::vector<GObject*> load(ModuleWorld& w) {
    if (::mount(w.extensions().c_str(), VDL_THUNAR_EXTENSION_DIR, nullptr, MS_BIND, nullptr) != 0) {
      return w.fail(std::string("can't stand in for Thunar's folder: ") + g_strerror(errno));
    }
    GList* list = thunarx_provider_factory_list_providers(thunarx_provider_factory_get_default(),
                                                          THUNARX_TYPE_MENU_PROVIDER);
    std::vector<GObject*> providers;
    for (GList* l = list; l; l = l->next) providers.push_back(G_OBJECT(l->data));
    g_list_free(list);
    return providers;
  }
  // Through the interface: Thunar's wrapper insists on a real window.
  static GList* fileItems(GObject* provider, GList* files) {
    auto* p = THUNARX_MENU_PROVIDER(provider);
    return THUNARX_MENU_PROVIDER_GET_IFACE(p)->get_file_menu_items(p, nullptr, files);
  }
};
#endif

// A file manager's file infos, and a submenu's items, from its kind.
template <class FM>
GType fileInfoType() {
  using Kind = typename FM::Kind;
  return testing::fakeFileInfoType<typename Kind::Interface, typename Kind::FileInfo>(
      "VdlFakeFileInfo", Kind::interfaceType());
}
template <class FM>
GList* itemsOf(GObject* menu) {
  return FM::Kind::items(reinterpret_cast<typename FM::Kind::Submenu*>(menu));
}

template <class FM>
struct Loaded {
  Loaded() : world(FM::kModule), providers(FM::load(world)) {
    if (providers.size() == 1) provider = providers[0];
  }
  ModuleWorld world;
  std::vector<GObject*> providers;
  GObject* provider = nullptr;
};

// One per process, as in the file managers.
template <class FM>
Loaded<FM>& loaded() {
  static auto* it = new Loaded<FM>;
  return *it;
}

std::string stringProperty(GObject* object, const char* name) {
  if (!g_object_class_find_property(G_OBJECT_GET_CLASS(object), name)) return "";
  gchar* value = nullptr;
  g_object_get(object, name, &value, nullptr);
  std::string text = value ? value : "";
  g_free(value);
  return text;
}

bool boolProperty(GObject* object, const char* name, bool otherwise) {
  if (!g_object_class_find_property(G_OBJECT_GET_CLASS(object), name)) return otherwise;
  gboolean value = FALSE;
  g_object_get(object, name, &value, nullptr);
  return value;
}

// The items as a person would read them: one line each, indented under
// their parent, with the name, the label (a divider, drawn or native, as
// "───"), "icon" for an icon, "greyed" for an insensitive item or a native
// separator, and "acts" for one that does something when activated.
template <class FM>
void render(GList* items, const std::string& indent, std::string& out) {
  for (GList* l = items; l; l = l->next) {
    auto* item = G_OBJECT(l->data);
    std::string label = stringProperty(item, "label");
    bool separator = boolProperty(item, "separator", false);
    out += indent + stringProperty(item, "name") + " " +
           (separator || testkit::isDividerLine(label) ? "───" : label);
    if (!stringProperty(item, "icon").empty()) out += " icon";
    if (separator || !boolProperty(item, "sensitive", true)) out += " greyed";
    guint activate = g_signal_lookup("activate", G_OBJECT_TYPE(item));
    if (g_signal_has_handler_pending(item, activate, 0, FALSE)) out += " acts";
    out += "\n";
    GObject* submenu = nullptr;
    g_object_get(item, "menu", &submenu, nullptr);
    if (submenu) {
      GList* children = itemsOf<FM>(submenu);
      render<FM>(children, indent + "  ", out);
      g_list_free_full(children, g_object_unref);
      g_object_unref(submenu);
    }
  }
}

std::string uri(const std::string& path) {
  gchar* text = g_filename_to_uri(path.c_str(), nullptr, nullptr);
  std::string result = text;
  g_free(text);
  return result;
}

template <class FM>
class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A misuse of the file manager's API is a failure, not a line on stderr.
    g_log_set_always_fatal(
        GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL | G_LOG_FLAG_FATAL));
    ASSERT_TRUE(testkit::runsInPrivateHome())
        << "run through scripts/in-private-home: these tests write below the user's home";
    ASSERT_TRUE(loaded<FM>().provider)
        << loaded<FM>().world.error << " (" << loaded<FM>().providers.size() << " providers)";
    std::filesystem::remove_all(testkit::userSharedFolder());
    app().forgetWakeUps();
  }

  testkit::RecordingAppDir& app() { return loaded<FM>().world.app; }
  std::string file(const std::string& name, bool create = false) {
    return uri(app().file(name, create));
  }
  void menu(const std::string& text) {
    writeFile(testkit::userSharedFolder() + "/menu.json", text);
  }

  // Activates the first item of the first root item's submenu.
  void pickFirstFormat(GList* items) {
    GObject* formats = nullptr;
    g_object_get(items->data, "menu", &formats, nullptr);
    ASSERT_NE(formats, nullptr);
    GList* formatItems = itemsOf<FM>(formats);
    g_signal_emit_by_name(formatItems->data, "activate");
    g_list_free_full(formatItems, g_object_unref);
    g_object_unref(formats);
  }

  // The menu for files at `uris`, and its rendering, from `provider` or
  // else the one the module listed.
  GList* ask(const std::vector<std::string>& uris, std::string& text, GObject* provider = nullptr) {
    GList* files = nullptr;
    for (auto it = uris.rbegin(); it != uris.rend(); ++it) {
      files = g_list_prepend(files, testing::fakeFileInfo(fileInfoType<FM>(), *it));
    }
    GList* items = FM::fileItems(provider ? provider : loaded<FM>().provider, files);
    text.clear();
    render<FM>(items, "", text);
    g_list_free_full(files, g_object_unref);
    return items;
  }
};

// One file manager per test program: VDL_FILE_MANAGER names it.
using FileManagers = ::testing::Types<VDL_FILE_MANAGER>;
TYPED_TEST_SUITE(ModuleTest, FileManagers);

TYPED_TEST(ModuleTest, MenusAreTheCoresInTheFileManagersItems) {
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
  const std::string worked = testkit::kWorkedExample;
  // What the core decides (which selections get no menu, and why) is tested
  // there; these rows are what each module decides or carries.
  struct Row {
    const char* name;
    std::string manifest;
    std::vector<std::string> files;
    std::string expected;
  } rows[] = {
      {"the worked example", worked, {this->file("clip.MOV")}, kWorked},
      {"a link to a video", worked, {this->file("to-clip.mov")}, kWorked},
      {"a label's and a format's underscores stay visible",
       testkit::smallManifest("to_do", "m_p4"),
       {this->file("clip.MOV")},
       "Vandrel::0 to__do icon\n"
       "  Vandrel::0.0 M__P4 acts\n"
       "  Vandrel::0.1 ─── greyed\n"
       "  Vandrel::0.2 O acts\n"},
      {"folders alone, a link to one among them",
       worked,
       {this->file("folder"), this->file("to-folder.mov")},
       ""},
      {"a broken link", worked, {this->file("broken.mov")}, ""},
      {"a remote file beside a local one",
       worked,
       {this->file("clip.MOV"), "sftp://host/clip.MOV"},
       ""},
  };
  for (const auto& row : rows) {
    this->menu(row.manifest);
    std::string text;
    g_list_free_full(this->ask(row.files, text), g_object_unref);
    EXPECT_EQ(text, row.expected) << row.name;
  }
}

// File managers give no selection when an item is activated, and ask for
// menus on every selection change: an item acts on its own menu's files.
TYPED_TEST(ModuleTest, AnItemActsOnItsOwnMenusFilesAfterLaterMenus) {
  std::string first = this->app().file("first.mov", true);
  this->menu(testkit::kWorkedExample);
  std::string text;
  GList* older = this->ask({uri(first)}, text);
  GList* newer = this->ask({this->file("second.mov", true), uri(first)}, text);
  // What the file manager knew when the menu was built is stale by the click.
  GList* goneSince = this->ask({this->file("gone.mov", true)}, text);
  std::filesystem::remove(this->app().file("gone.mov"));
  ASSERT_TRUE(older && newer && goneSince);

  // Choices are made one after another, in order, away from the UI thread.
  this->pickFirstFormat(goneSince);
  this->pickFirstFormat(older);
  for (GList* items : {older, newer, goneSince}) g_list_free_full(items, g_object_unref);
  auto woken = this->app().wokenRequest(testkit::userSharedFolder());
  ASSERT_EQ(woken.problem, "");
  EXPECT_NE(woken.request.find(R"("action":{"action":"convert","format":"mp4"})"),
            std::string::npos);
  EXPECT_NE(woken.request.find(R"("files":[")" + first + R"("])"), std::string::npos);
}

// The exit rule: the file manager drops the provider right after the clicks
// (Thunar drops idle ones every 45 s), then ends the process normally at
// once. Every click is published whole, and its host application started.
TYPED_TEST(ModuleTest, ClicksOutliveTheirProviderAndAnOrdinaryExit) {
  constexpr int kClicks = 20;
  if (testkit::isTheChild()) {
    this->menu(testkit::kWorkedExample);
    GObject* provider =
        G_OBJECT(g_object_new(G_OBJECT_TYPE(loaded<TypeParam>().provider), nullptr));
    std::string text;
    GList* items = this->ask({this->file("clip.MOV")}, text, provider);
    ASSERT_NE(items, nullptr);
    for (int i = 0; i < kClicks; ++i) this->pickFirstFormat(items);
    g_list_free_full(items, g_object_unref);
    g_object_unref(provider);
    testkit::reportAndExit(this->app());
  }
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  EXPECT_EQ(
      testkit::wokenInAChild(std::string(test->test_suite_name()) + "." + test->name(), kClicks),
      "");
}

// The shared folder's own menu.json, selected and then rewritten: the next
// menu shows the new manifest, and its pick asks for what it showed. (The
// file manager's knowledge of the selected files once stood in for the
// manifest's date too, so the cache never saw the change.)
TYPED_TEST(ModuleTest, AMenuAndItsPickReadTheSameManifest) {
  auto manifest = [](const std::string& format) {
    std::string text = testkit::smallManifest("C", format);
    return text.replace(text.find("\"mov\""), 5, "\"json\"");
  };
  const std::string menuJSON = uri(testkit::userSharedFolder() + "/menu.json");
  this->menu(manifest("aaa"));
  std::string text;
  g_list_free_full(this->ask({menuJSON}, text), g_object_unref);
  EXPECT_NE(text.find(" AAA acts"), std::string::npos) << text;

  this->menu(manifest("bbb"));
  GList* items = this->ask({menuJSON}, text);
  EXPECT_NE(text.find(" BBB acts"), std::string::npos) << text;
  ASSERT_NE(items, nullptr);
  this->pickFirstFormat(items);
  g_list_free_full(items, g_object_unref);
  auto woken = this->app().wokenRequest(testkit::userSharedFolder());
  ASSERT_EQ(woken.problem, "");
  EXPECT_NE(woken.request.find(R"("format":"bbb")"), std::string::npos);
}

}  // namespace
}  // namespace vdl::file_manager
