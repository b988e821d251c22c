// The shell's wiring, run under GNUstep: the principal object as the Finder
// creates and calls it, with stand-ins for the Finder's controller and the
// workspace's openings.
#import <AppKit/AppKit.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#import "hosts/finder/VDLFinderSync.h"
#include "hosts/finder/linux_check/fakes.h"
#include "platform/apple/appkit_menu_font.h"
#include "testing/manifests.h"
#include "testing/recording_app_dir.h"
#include "testing/temp_dir.h"

namespace vdl::finder {
namespace {

namespace fake = testing;
using testkit::writeFile;

NSString* ns(const std::string& text) {
  return [NSString stringWithUTF8String:text.c_str()];
}

std::string utf8(NSString* text) {
  return text ? [text UTF8String] : "";
}

// AppKit needs its application object before any menu or font.
class AppKit : public ::testing::Environment {
 public:
  void SetUp() override { [NSApplication sharedApplication]; }
};
const auto* const kAppKit = ::testing::AddGlobalTestEnvironment(new AppKit);

// The tree as a person reads it: title (a divider as "───"), then the tag,
// the action, "image" and "disabled" where they apply.
void render(NSMenu* menu, const std::string& indent, std::string& out, bool images = true) {
  for (NSMenuItem* item in [menu itemArray]) {
    std::string title = utf8([item title]);
    out += indent + (testkit::isDividerLine(title) ? "───" : title);
    if ([item tag] != 0) out += " tag " + std::to_string([item tag]);
    // GNUstep gives an item with a submenu an action and a target of its own.
    if (![item hasSubmenu] && [item action]) {
      out += sel_isEqual([item action], @selector(choose:)) ? " choose:" : " other action";
    }
    if (images && [item image]) out += " image";
    if (![item isEnabled]) out += " disabled";
    if (![item hasSubmenu] && [item target]) out += " target";
    out += "\n";
    if ([item hasSubmenu]) render([item submenu], indent + "  ", out, images);
  }
}

class FinderShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pool = [[NSAutoreleasePool alloc] init];
    ASSERT_TRUE(testkit::runsInPrivateHome())
        << "run through scripts/in-private-home: this writes below the home";
    std::filesystem::remove_all(testkit::userSharedFolder());
    writeFile(testkit::userSharedFolder() + "/menu.json", testkit::kWorkedExample);
    writeFile(tmp / "clip.MOV", "x");
    fake::clearRecords();
    fake::steerOpenings([](const fake::Opening&) { return false; });
    select({tmp / "clip.MOV"});
    sync = [[VDLFinderSync alloc] init];
  }
  void TearDown() override {
    [sync release];
    [pool drain];
  }

  void select(const std::vector<std::string>& paths) {
    NSMutableArray* urls = [NSMutableArray array];
    for (const auto& p : paths) [urls addObject:[NSURL fileURLWithPath:ns(p)]];
    [[FIFinderSyncController defaultController] vdl_setSelectedItemURLs:urls];
  }

  NSMenuItem* item(NSMenu* menu, NSInteger tag) {
    for (NSMenuItem* i in [menu itemArray]) {
      if ([i tag] == tag) return i;
      if ([i hasSubmenu]) {
        if (NSMenuItem* found = item([i submenu], tag)) return found;
      }
    }
    return nil;
  }

  NSAutoreleasePool* pool = nil;
  testkit::TempDir tmp;
  VDLFinderSync* sync = nil;
};

TEST_F(FinderShellTest, RegistersTheServedFoldersAndBuildsTheMenuTree) {
  NSSet* served = [[FIFinderSyncController defaultController] directoryURLs];
  EXPECT_TRUE([served containsObject:[NSURL fileURLWithPath:@"/" isDirectory:YES]]);
  EXPECT_TRUE([served containsObject:[NSURL fileURLWithPath:@"/Volumes" isDirectory:YES]]);
  EXPECT_EQ([served count], 2u);

  std::string text;
  render([sync menuForMenuKind:FIMenuKindContextualMenuForItems], "", text);
  EXPECT_EQ(text, "Convert to image\n"
                  "  MP4 tag 1000 choose:\n"
                  "  GIF (needs extra codecs) tag 1001 choose:\n"
                  "  ─── disabled\n"
                  "  MP3 tag 1002 choose:\n"
                  "  ─── disabled\n"
                  "  Open in Vandrel… tag 2 choose:\n"
                  "Compress tag 12 choose: image\n"
                  "Crop tag 13 choose: image\n");
}

// The Finder copies the menu into its own process: only what an item's coding
// keeps arrives with choose:, and of that the shell reads the tag alone,
// against the selection the controller answers at the click (none, or other
// files than the menu's). AppKit's validation, which the Finder runs before
// showing the menu, must leave every item as the shell made it.
TEST_F(FinderShellTest, TheFinderCopyOfTheMenuChoosesByTagAtTheClick) {
  NSMenu* menu = [sync menuForMenuKind:FIMenuKindContextualMenuForItems];
  std::string made, validated, copied, imageless;
  render(menu, "", made);
  [menu update];
  [[[menu itemAtIndex:0] submenu] update];
  render(menu, "", validated);
  EXPECT_EQ(validated, made) << "dividers must stay disabled and choices enabled";

  NSMenu* copy =
      [NSKeyedUnarchiver unarchiveObjectWithData:[NSKeyedArchiver archivedDataWithRootObject:menu]];
  ASSERT_NE(copy, nil);
  // GNUstep's coding keeps no image; tags, actions and states it keeps.
  render(copy, "", copied, false);
  render(menu, "", imageless, false);
  EXPECT_EQ(copied, imageless);
  auto folder = testkit::userSharedFolder() + "/requests";
  [sync choose:[copy itemAtIndex:0]];  // "Convert to": tag 0
  [[FIFinderSyncController defaultController] vdl_setSelectedItemURLs:nil];
  [sync choose:item(copy, 1000)];
  EXPECT_TRUE(testkit::entries(folder).empty()) << "no tag, no selection";
  writeFile(tmp / "cover.png", "x");
  select({tmp / "cover.png"});  // the image's display list: jpg, webp
  [sync choose:item(copy, 1000)];
  auto requests = testkit::entries(folder);
  ASSERT_EQ(requests.size(), 1u);
  std::string request = testkit::readFile(requests[0]);
  EXPECT_NE(request.find(R"("format":"jpg")"), std::string::npos) << request;
  EXPECT_NE(request.find("cover.png"), std::string::npos) << request;
  ASSERT_TRUE(fake::waitForCompletions(1));
  EXPECT_TRUE(fake::logLines().empty());
}

// A shell that can't be built (here, its registration throws) is no menu and
// no choice, and nothing reaches the runtime.
TEST_F(FinderShellTest, AnObjectWithoutItsShellOffersAndDoesNothing) {
  fake::failNextRegistration();
  VDLFinderSync* broken = [[VDLFinderSync alloc] init];
  ASSERT_NE(broken, nil);
  EXPECT_EQ([broken menuForMenuKind:FIMenuKindContextualMenuForItems], nil);
  [broken choose:item([sync menuForMenuKind:FIMenuKindContextualMenuForItems], 1000)];
  EXPECT_TRUE(testkit::entries(testkit::userSharedFolder() + "/requests").empty());
  [broken release];
}

// The menu's items show the template icon, which the build renders black with
// alpha, so that AppKit can draw it in the menu's own colour.
TEST_F(FinderShellTest, TheMenuShowsTheTemplateIconBlackWithAlpha) {
  NSMenu* menu = [sync menuForMenuKind:FIMenuKindContextualMenuForItems];
  for (NSMenuItem* i in [menu itemArray]) EXPECT_EQ(utf8([[i image] name]), "MenuIconTemplate");
  NSImage* icon = [[menu itemAtIndex:0] image];
  int painted = 0, coloured = 0;
  for (NSImageRep* rep in [icon representations]) {
    if (![rep isKindOfClass:[NSBitmapImageRep class]]) continue;
    auto* bitmap = static_cast<NSBitmapImageRep*>(rep);
    for (NSInteger y = 0; y < [bitmap pixelsHigh]; ++y) {
      for (NSInteger x = 0; x < [bitmap pixelsWide]; ++x) {
        NSColor* c = [[bitmap colorAtX:x y:y] colorUsingColorSpaceName:NSDeviceRGBColorSpace];
        if ([c alphaComponent] == 0) continue;
        ++painted;
        if ([c redComponent] + [c greenComponent] + [c blueComponent] > 0.01) ++coloured;
      }
    }
  }
  EXPECT_GT(painted, 0);
  EXPECT_EQ(coloured, 0);
}

// Both dividers are as wide as the widest title, "GIF (needs extra codecs)",
// in the menu font: no narrower, and not a whole "─" wider.
TEST_F(FinderShellTest, DividersAreSizedInTheMenuFont) {
  NSMenu* formats =
      [[[sync menuForMenuKind:FIMenuKindContextualMenuForItems] itemAtIndex:0] submenu];
  std::string rule = utf8([[formats itemAtIndex:2] title]);
  EXPECT_EQ(rule, utf8([[formats itemAtIndex:4] title]));
  apple::AppKitMenuFont font;
  double widest = font.width("GIF (needs extra codecs)"), width = font.width(rule);
  EXPECT_GE(width, widest - 0.5) << rule;
  EXPECT_LT(width - std::max(1.0, font.width("─")), widest) << rule;
}

// A choice publishes, then wakes the host application in the background.
// AppKit completes on a queue of its own: the fallback to the scheme's
// handler starts there, and the second failure is logged, once. (Which
// attempt takes over when is the core's, tested there.)
TEST_F(FinderShellTest, ChoosingWakesTheHostAndFallsBackToTheHandlerFromAppKitsQueue) {
  fake::steerOpenings([](const fake::Opening&) { return true; });
  [sync choose:item([sync menuForMenuKind:FIMenuKindContextualMenuForItems], 1000)];
  auto requests = testkit::entries(testkit::userSharedFolder() + "/requests");
  ASSERT_EQ(requests.size(), 1u);
  std::string url = "vandrel://quick?id=" + std::filesystem::path(requests[0]).stem().string();
  ASSERT_TRUE(fake::waitForCompletions(2));
  // The last completion logs after it completes.
  for (int i = 0; i < 1000 && fake::logLines().empty(); ++i) usleep(10000);
  auto openings = fake::openings().openings;
  ASSERT_EQ(openings.size(), 2u);
  EXPECT_FALSE(openings[0].application.empty());
  EXPECT_TRUE(openings[1].application.empty()) << "then the scheme's handler";
  for (const auto& o : openings) {
    EXPECT_EQ(o.urls, std::vector<std::string>{url});
    EXPECT_FALSE(o.activates);
  }
  auto lines = fake::logLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("Vandrel: couldn't open the background worker: ", 0), 0u) << lines[0];
}

}  // namespace
}  // namespace vdl::finder
