// The built Dolphin plugin, found and filtered by KIO itself: a scratch Qt
// plugin folder holds only a link to it, Qt draws offscreen, and each menu is
// filled through KFileItemActions::addActionsTo, as Dolphin fills its own.
#include <gtest/gtest.h>
#include <KFileItem>
#include <KFileItemActions>
#include <KFileItemListProperties>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "testing/manifests.h"
#include "testing/recording_app_dir.h"
#include "testing/temp_dir.h"

namespace vdl::dolphin {
namespace {

// The sample host with the plugin in its bundle; a Qt plugin folder that
// links to the plugin; and configuration folders of its own, so that no other
// menu joins in.
struct World {
  World() {
    const std::string module = VDL_DOLPHIN_MODULE, plugins = app.tmp / "plugins";
    const std::string folder = plugins + "/" VDL_KIO_PLUGIN_FOLDER;
    std::filesystem::create_directories(folder);
    std::filesystem::create_symlink(app.bundle() + "/" + module, folder + "/" + module);
    ::setenv("QT_PLUGIN_PATH", plugins.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("XDG_CONFIG_HOME", (app.tmp / "config").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (app.tmp / "config-dirs").c_str(), 1);
    // Without a system cache of service types, KIO says so for every menu.
    ::setenv("QT_LOGGING_RULES", "kf.service.services.warning=false", 1);
  }

  testkit::RecordingAppDir app{VDL_MODULE_DIR, {VDL_DOLPHIN_MODULE}};
};

World* world = nullptr;

// One line per action, indented under its parent: its text as Qt holds it, a
// separator as "───", "icon" and "greyed".
void render(const QList<QAction*>& actions, const std::string& indent, std::string& out) {
  for (QAction* action : actions) {
    out += indent + (action->isSeparator() ? "───" : action->text().toStdString());
    if (!action->icon().isNull()) out += " icon";
    if (!action->isEnabled()) out += " greyed";
    out += "\n";
    if (action->menu()) render(action->menu()->actions(), indent + "  ", out);
  }
}

// A file manager window: its own actions object, and so its own plugin
// object, as each of Dolphin's windows has.
struct Window {
  QWidget widget;
  std::unique_ptr<KFileItemActions> actions = std::make_unique<KFileItemActions>();
  QMenu menu;

  Window() { actions->setParentWidget(&widget); }

  // The menu for `urls`, as text.
  std::string ask(const std::vector<QUrl>& urls) {
    KFileItemList items;
    for (const auto& url : urls) items.append(KFileItem(url));
    menu.clear();
    actions->setItemListProperties(KFileItemListProperties(items));
    actions->addActionsTo(&menu, KFileItemActions::MenuActionSource::Plugins);
    std::string text;
    render(menu.actions(), "", text);
    return text;
  }

  void pickFirstFormat() {
    ASSERT_FALSE(menu.actions().isEmpty());
    ASSERT_NE(menu.actions().first()->menu(), nullptr);
    menu.actions().first()->menu()->actions().first()->trigger();
  }
};

class DolphinPluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testkit::runsInPrivateHome())
        << "run through scripts/in-private-home: these tests write below the user's home";
    std::filesystem::remove_all(testkit::userSharedFolder());
    world->app.forgetWakeUps();
  }

  QUrl file(const std::string& name, bool create = false) {
    return QUrl::fromLocalFile(QString::fromStdString(world->app.file(name, create)));
  }
  void menu(const std::string& text) {
    testkit::writeFile(testkit::userSharedFolder() + "/menu.json", text);
  }
};

TEST_F(DolphinPluginTest, MenusAreTheCoresInQtActions) {
  const std::string kWorked =
      "Convert to icon\n"
      "  MP4\n"
      "  GIF (needs extra codecs)\n"
      "  ───\n"
      "  MP3\n"
      "  ───\n"
      "  Open in Vandrel…\n"
      "Compress icon\n"
      "Crop icon\n";
  const std::string worked = testkit::kWorkedExample;
  struct Row {
    const char* name;
    std::string manifest;
    std::vector<QUrl> files;
    std::string expected;
  } rows[] = {
      {"the worked example", worked, {file("clip.MOV")}, kWorked},
      {"a link to a video", worked, {file("to-clip.mov")}, kWorked},
      {"a label's and a format's ampersands stay visible",
       testkit::smallManifest("to&do", "m&p4"),
       {file("a&b.mov", true)},
       "to&&do icon\n"
       "  M&&P4\n"
       "  ───\n"
       "  O\n"},
      {"folders alone, a link to one among them",
       worked,
       {file("folder"), file("to-folder.mov")},
       ""},
      {"a broken link", worked, {file("broken.mov")}, ""},
      {"a remote file beside a local one", worked, {file("clip.MOV"), QUrl("sftp://h/c.MOV")}, ""},
  };
  Window window;
  for (const auto& row : rows) {
    menu(row.manifest);
    EXPECT_EQ(window.ask(row.files), row.expected) << row.name;
  }
}

// Each window has a plugin object of its own, and menus are asked for at
// every selection change: an action acts on its own menu's files, whatever
// came later and whichever plugin object has gone.
TEST_F(DolphinPluginTest, AnActionActsOnItsOwnMenusFilesAfterLaterMenusAndWindows) {
  QUrl first = file("first & last.mov", true), gone = file("gone.mov", true);
  menu(testkit::kWorkedExample);
  Window one, two;
  ASSERT_NE(one.ask({first}), "");
  ASSERT_NE(two.ask({file("second.mov", true), first}), "");
  Window three;
  ASSERT_NE(three.ask({gone}), "");
  std::filesystem::remove(gone.toLocalFile().toStdString());
  one.actions.reset();  // the plugin object of the first window goes

  // Choices are made one after another, in order.
  three.pickFirstFormat();
  one.pickFirstFormat();
  auto woken = world->app.wokenRequest(testkit::userSharedFolder());
  ASSERT_EQ(woken.problem, "");
  EXPECT_NE(woken.request.find(R"("action":{"action":"convert","format":"mp4"})"),
            std::string::npos);
  EXPECT_NE(woken.request.find(R"("files":[")" + first.toLocalFile().toStdString() + R"("])"),
            std::string::npos);
}

// The exit rule: the window goes right after the clicks, then the process
// ends normally at once. Every click is published whole, and its host
// application started.
TEST_F(DolphinPluginTest, ClicksOutliveTheirWindowAndAnOrdinaryExit) {
  constexpr int kClicks = 20;
  if (testkit::isTheChild()) {
    menu(testkit::kWorkedExample);
    auto window = std::make_unique<Window>();
    ASSERT_NE(window->ask({file("clip.MOV")}), "");
    for (int i = 0; i < kClicks; ++i) window->pickFirstFormat();
    window.reset();
    testkit::reportAndExit(world->app);
  }
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  EXPECT_EQ(
      testkit::wokenInAChild(std::string(test->test_suite_name()) + "." + test->name(), kClicks),
      "");
}

}  // namespace
}  // namespace vdl::dolphin

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Before Qt reads its plugin folders.
  vdl::dolphin::world = new vdl::dolphin::World;
  QApplication app(argc, argv);
  // Now that the platform is loaded: KIO finds the scratch folder's plugin alone.
  QCoreApplication::setLibraryPaths(
      {QString::fromStdString(vdl::dolphin::world->app.tmp / "plugins")});
  return RUN_ALL_TESTS();
}
