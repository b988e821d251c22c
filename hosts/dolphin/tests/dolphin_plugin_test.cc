// The built Dolphin plugin, found and filtered by KIO itself: a scratch Qt
// plugin folder holds only a link to it, Qt draws offscreen, and each menu is
// filled through KFileItemActions::addActionsTo, as Dolphin fills its own.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <KFileItem>
#include <KFileItemActions>
#include <KFileItemListProperties>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "testing/manifests.h"
#include "testing/process.h"
#include "testing/temp_dir.h"

namespace vdl::dolphin {
namespace {

using testkit::readFile;
using testkit::writeFile;

// A scratch AppDir with the plugin in its bundle and an AppRun that notes the
// URLs it is started with; a Qt plugin folder that links to the plugin; and
// configuration folders of its own, so that no other menu joins in.
struct World {
  World() {
    std::string bundle = tmp / "Vandrel.AppDir/usr/lib/finder-sync";
    std::string plugins = tmp / "plugins/kf5/kfileitemaction";
    std::filesystem::create_directories(bundle);
    std::filesystem::create_directories(plugins);
    const std::string module = "libvandrel-dolphin.so";
    std::filesystem::copy_file(std::string(VDL_MODULE_DIR) + "/" + module, bundle + "/" + module);
    std::filesystem::copy_file(VDL_SOURCE_DIR "/bundle/MenuIcon.svg", bundle + "/MenuIcon.svg");
    writeFile(bundle + "/fallback-menu.json", testkit::kWorkedExample);
    writeFile(tmp / "Vandrel.AppDir/AppRun",
              "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$(dirname \"$0\")/received\"\n");
    ::chmod((tmp / "Vandrel.AppDir/AppRun").c_str(), 0755);
    std::filesystem::create_symlink(bundle + "/" + module, plugins + "/" + module);
    ::setenv("QT_PLUGIN_PATH", (tmp / "plugins").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (tmp / "config-dirs").c_str(), 1);
    // Without a system cache of service types, KIO says so for every menu.
    ::setenv("QT_LOGGING_RULES", "kf.service.services.warning=false", 1);
  }

  // What AppRun was started with, once it has been (or after 10 s).
  std::string received() { return testkit::waitForLine(tmp / "Vandrel.AppDir/received"); }

  testkit::TempDir tmp;
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

std::string realHome() {
  const passwd* pw = getpwuid(getuid());
  return pw ? pw->pw_dir : "";
}

class DolphinPluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* privateHome = std::getenv("VANDREL_PRIVATE_HOME");
    ASSERT_TRUE(privateHome && realHome() == privateHome)
        << "run through scripts/in-private-home: these tests write below the user's home";
    std::filesystem::remove_all(testkit::userSharedFolder());
    std::filesystem::remove(world->tmp / "Vandrel.AppDir/received");
  }

  QUrl file(const std::string& name) {
    std::string path = world->tmp / ("files/" + name);
    writeFile(path, "x");
    return QUrl::fromLocalFile(QString::fromStdString(path));
  }
  QUrl path(const std::string& name) {
    return QUrl::fromLocalFile(QString::fromStdString(world->tmp / ("files/" + name)));
  }
  void menu(const std::string& text) {
    writeFile(testkit::userSharedFolder() + "/menu.json", text);
  }
};

TEST_F(DolphinPluginTest, MenusAreTheCoresInQtActions) {
  QUrl clip = file("clip.MOV"), folder = path("folder");
  std::filesystem::create_directories(folder.toLocalFile().toStdString());
  std::filesystem::create_symlink(folder.toLocalFile().toStdString(),
                                  path("to-folder.mov").toLocalFile().toStdString());
  std::filesystem::create_symlink(path("gone.mov").toLocalFile().toStdString(),
                                  path("broken.mov").toLocalFile().toStdString());
  std::filesystem::create_symlink(clip.toLocalFile().toStdString(),
                                  path("to-clip.mov").toLocalFile().toStdString());
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
      {"the worked example", worked, {clip}, kWorked},
      {"a link to a video", worked, {path("to-clip.mov")}, kWorked},
      {"a label's and a format's ampersands stay visible",
       testkit::smallManifest("to&do", "m&p4"),
       {file("a&b.mov")},
       "to&&do icon\n"
       "  M&&P4\n"
       "  ───\n"
       "  O\n"},
      {"folders alone, a link to one among them", worked, {folder, path("to-folder.mov")}, ""},
      {"a broken link", worked, {path("broken.mov")}, ""},
      {"a file in the trash", worked, {QUrl("trash:/clip.MOV")}, ""},
      {"a remote file beside a local one", worked, {clip, QUrl("sftp://host/clip.MOV")}, ""},
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
  QUrl first = file("first & last.mov"), second = file("second.mov"), gone = file("gone.mov");
  menu(testkit::kWorkedExample);
  Window one, two;
  ASSERT_NE(one.ask({first}), "");
  ASSERT_NE(two.ask({second, first}), "");
  Window three;
  ASSERT_NE(three.ask({gone}), "");
  std::filesystem::remove(gone.toLocalFile().toStdString());
  one.actions.reset();  // the plugin object of the first window goes

  // Choices are made one after another, in order.
  three.pickFirstFormat();
  one.pickFirstFormat();

  std::string received = world->received();
  auto requests = testkit::entries(testkit::userSharedFolder() + "/requests");
  ASSERT_EQ(requests.size(), 1u);
  std::string request = readFile(requests[0]);
  EXPECT_NE(request.find(R"("action":{"action":"convert","format":"mp4"})"), std::string::npos)
      << request;
  EXPECT_NE(request.find(R"("files":[")" + first.toLocalFile().toStdString() + R"("])"),
            std::string::npos)
      << request;
  std::string id = std::filesystem::path(requests[0]).stem();
  EXPECT_EQ(received, "vandrel://quick?id=" + id + "\n");
}

}  // namespace
}  // namespace vdl::dolphin

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Before Qt reads its plugin folders.
  vdl::dolphin::world = new vdl::dolphin::World;
  QApplication app(argc, argv);
  // Now that the platform is loaded: KIO finds the scratch folder's plugin alone.
  QCoreApplication::setLibraryPaths({QString::fromStdString(vdl::dolphin::world->tmp / "plugins")});
  return RUN_ALL_TESTS();
}
