#include "menu/menu_builder.h"

#include <gtest/gtest.h>

#include <cmath>

#include "testing/test_platform.h"

namespace vdl {
namespace {

MenuLabels labels() {
  return {"Convert to", "Compress",   "Open in Vandrel", "B",           "S",
          std::nullopt, std::nullopt, std::nullopt,      "needs {tool}"};
}

// One line per item: title, tag, and markers for action, image and state; a
// divider as "-", its line checked elsewhere.
std::vector<std::string> lines(const Menu& menu) {
  std::vector<std::string> out;
  for (const auto& item : menu.items) {
    bool quiet = !item.enabled && item.action == MenuAction::none && item.tag == 0;
    if (item.kind == MenuItemKind::divider) {
      out.push_back(quiet && item.title.find("\u2500") == 0 ? "-" : "a divider that acts");
      continue;
    }
    std::string line = item.title + " #" + std::to_string(item.tag);
    if (item.action == MenuAction::choose) line += " choose:";
    if (item.image) line += " icon";
    if (!item.enabled) line += " disabled";
    if (!item.keyEquivalent.empty()) line += " key!";
    out.push_back(line);
  }
  return out;
}

std::string dividerOf(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += "\u2500";
  return s;
}

using Lines = std::vector<std::string>;

TEST(MenuBuilder, EntryTitles) {
  struct Case {
    TargetPair pair;
    std::string needs;
    std::string title;
  } cases[] = {
      {{"png", ""}, "needs {tool}", "PNG"},
      {{"png", "x"}, "needs {tool}", "PNG (needs x)"},
      {{"png", "x"}, "{tool} and {tool}", "PNG (x and x)"},
      {{"png", "{tool}"}, "{tool}!", "PNG ({tool}!)"},
      {{"stra\xC3\x9F"
        "e",
        ""},
       "",
       "STRASSE"},
  };
  for (const auto& c : cases) EXPECT_EQ(entryTitle(c.pair, c.needs), c.title) << c.title;

  // A manifest of some kilobytes once made titles of megabytes: a needs label
  // of many "{tool}" times a long tool. Now every title stops at the bound.
  std::string manyTools;
  for (int i = 0; i < 5000; ++i) manyTools += "{tool}";
  const std::string longTool(5000, 't'), longFormat(100000, 'f');
  const std::string ellipsis = "\u2026";
  struct Bound {
    const char* name;
    TargetPair pair;
    std::string needs;
    std::string prefix;
  } bounds[] = {
      {"needs times tool", {"png", longTool}, manyTools, "PNG (ttt"},
      {"a long format", {longFormat, ""}, "", "FFF"},
      {"a long accented format", {std::string(3000, 'a') + "\u00e9", "x"}, "{tool}", "AAA"},
  };
  for (const auto& b : bounds) {
    auto title = entryTitle(b.pair, b.needs);
    EXPECT_LE(title.size(), kMaxTitleBytes) << b.name;
    EXPECT_GE(title.size(), kMaxTitleBytes - 8) << b.name;
    EXPECT_EQ(title.rfind(b.prefix, 0), 0u) << b.name;
    EXPECT_EQ(title.substr(title.size() - ellipsis.size()), ellipsis) << b.name;
  }
}

TEST(MenuBuilder, DividerLength) {
  struct Case {
    const char* name;
    std::vector<double> widths;
    double unit;
    std::size_t length;
  } cases[] = {
      {"narrow titles give the minimum", {3, 5}, 1, 8},
      {"wide titles give the maximum", {500}, 1, 60},
      {"8.01 rounds up to 9", {8.01}, 1, 9},
      {"the widest counts", {10, 30, 20}, 2, 15},
      {"a unit below one counts as one", {20}, 0.1, 20},
      {"an empty list is sized against 100", {}, 5, 20},
      {"a NaN width falls to the minimum", {std::nan("")}, 1, 8},
      {"an infinite width holds at the maximum", {HUGE_VAL}, 1, 60},
  };
  for (const auto& c : cases) EXPECT_EQ(dividerLength(c.widths, c.unit), c.length) << c.name;
}

TEST(MenuBuilder, Layouts) {
  struct Case {
    const char* name;
    Offer offer;
    Lines root;
    Lines submenu;
  } cases[] = {
      {"compress alone", offerOf({}, {}, true), {"Compress #12 choose: icon"}, {}},
      {"all flags: compress, trim, crop",
       offerOf({}, {{"a", ""}}, true, true, true),
       {"Convert to #0 icon", "Compress #12 choose: icon", "Trim #14 choose: icon",
        "Crop #13 choose: icon"},
       {"A #1000 choose:", "-", "Open in Vandrel #2 choose:"}},
      {"no popular: one divider",
       offerOf({}, {{"a", ""}, {"b", ""}}),
       {"Convert to #0 icon"},
       {"A #1000 choose:", "B #1001 choose:", "-", "Open in Vandrel #2 choose:"}},
      {"every format popular: no divider between formats",
       offerOf({{"b", ""}, {"a", ""}}, {{"a", ""}, {"b", ""}}),
       {"Convert to #0 icon"},
       {"B #1000 choose:", "A #1001 choose:", "-", "Open in Vandrel #2 choose:"}},
      {"two popular, three further",
       offerOf({{"e", ""}, {"d", ""}}, {{"a", ""}, {"b", ""}, {"c", ""}, {"d", "t"}, {"e", ""}}),
       {"Convert to #0 icon"},
       {"E #1000 choose:", "D #1001 choose:", "-", "A #1002 choose:", "B #1003 choose:",
        "C #1004 choose:", "-", "Open in Vandrel #2 choose:"}},
  };
  for (auto& c : cases) {
    testkit::FakeMenuFont font;
    Image icon{"MenuIcon", FileURL::fileURLWithPath("/b/MenuIcon.png")};
    Menu menu = buildMenu(labels(), c.offer, icon, font);
    EXPECT_EQ(lines(menu), c.root) << c.name;
    Lines sub;
    if (!menu.items.empty() && menu.items[0].submenu) {
      sub = lines(*menu.items[0].submenu);
    }
    EXPECT_EQ(sub, c.submenu) << c.name;
  }
}

TEST(MenuBuilder, LabelsAndIcon) {
  Offer offer = offerOf({}, {}, false, true, true);
  MenuLabels l = labels();
  testkit::FakeMenuFont font;
  EXPECT_EQ(lines(buildMenu(l, offer, std::nullopt, font)),
            (Lines{"Trim #14 choose:", "Crop #13 choose:"}))
      << "no icon: items without image, titles fall back";
  l.crop = "";
  l.trim = "Cut";
  EXPECT_EQ(lines(buildMenu(l, offer, std::nullopt, font)),
            (Lines{"Cut #14 choose:", " #13 choose:"}))
      << "present labels are used even when empty";
}

TEST(MenuBuilder, DividersAreSizedAgainstTheOpenLabelInTheMenuFont) {
  Offer offer = offerOf({}, {{"a", ""}});
  MenuLabels l = labels();
  l.open = std::string(40, 'o');
  testkit::FakeMenuFont font;
  font.unit = 3;
  font.dividerWidth = 4;
  Menu menu = buildMenu(l, offer, std::nullopt, font);
  // 40 cells of 3 over a line character of 4: 30.
  EXPECT_EQ(menu.items[0].submenu->items[1].title, dividerOf(30));
}

}  // namespace
}  // namespace vdl
