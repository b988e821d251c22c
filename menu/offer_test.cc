#include "menu/offer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "menu/tag_numbering.h"

namespace vdl {
namespace {

MenuManifest baseManifest() {
  MenuManifest m;
  m.version = 1;
  m.labels = {"Convert to", "Compress",   "Open",       "B",           "S",
              std::nullopt, std::nullopt, std::nullopt, "needs {tool}"};
  return m;
}

std::vector<FileURL> files(std::initializer_list<const char*> names) {
  std::vector<FileURL> urls;
  for (const char* n : names) urls.push_back(FileURL::fileURLWithPath(std::string("/sel/") + n));
  return urls;
}

Offer offerFor(const MenuManifest& m, std::initializer_list<const char*> names) {
  IndexedManifest indexed(m, FileURL::fileURLWithPath("/m.json"));
  return choices(files(names), indexed);
}

std::vector<std::string> formats(const std::vector<TargetPair>& pairs) {
  std::vector<std::string> out;
  for (const auto& p : pairs) out.push_back(p.format);
  return out;
}

using Strings = std::vector<std::string>;

TEST(Offer, ExtensionListIsLowerCasedDistinctAndAscending) {
  EXPECT_EQ(extensionList(files({"b.png", "a.PNG", "c.Jpg", "d", "e.tar.GZ"})),
            (Strings{"", "gz", "jpg", "png"}));
  EXPECT_EQ(extensionList(files({"x.\xC3\x89", "y.e\xCC\x81"})), (Strings{"\xC3\xA9"}))
      << "composed and decomposed spellings are one extension";
  EXPECT_EQ(extensionList({}), Strings{});
}

TEST(Offer, CommonTargetsAndToolTexts) {
  struct Case {
    const char* name;
    std::map<std::string, std::vector<TargetRow>> targets;
    std::initializer_list<const char*> selection;
    std::vector<TargetPair> all;
  } cases[] = {
      {"only formats every extension has",
       {{"jpg", {{"webp"}, {"png"}}}, {"png", {{"webp"}, {"gif"}}}},
       {"a.jpg", "b.png"},
       {{"webp", ""}}},
      {"empty then x", {{"a", {{"f"}}}, {"b", {{"f", "x"}}}}, {"1.a", "2.b"}, {{"f", "x"}}},
      {"x then y", {{"a", {{"f", "x"}}}, {"b", {{"f", "y"}}}}, {"1.a", "2.b"}, {{"f", "x + y"}}},
      {"x, y, x appends x again",
       {{"a", {{"f", "x"}}}, {"b", {{"f", "y"}}}, {"c", {{"f", "x"}}}},
       {"1.a", "2.b", "3.c"},
       {{"f", "x + y + x"}}},
      {"equivalent tool texts are equal",
       {{"a", {{"f", "caf\xC3\xA9"}}}, {"b", {{"f", "cafe\xCC\x81"}}}},
       {"1.a", "2.b"},
       {{"f", "caf\xC3\xA9"}}},
      {"a later row's tool replaces an earlier one",
       {{"a", {{"f", "x"}, {"f", "y"}}}},
       {"1.a"},
       {{"f", "y"}}},
      {"empty rows skipped, third string ignored",
       {{"a", {{}, {"g", "t", "ignored"}, {"f"}}}},
       {"1.a"},
       {{"f", ""}, {"g", "t"}}},
      {"ascending order is by code point",
       {{"a", {{"jpg"}, {"Mp4"}, {"jpeg"}, {"JPG"}, {"\xC3\xA9"}}}},
       {"1.a"},
       {{"JPG", ""}, {"Mp4", ""}, {"jpeg", ""}, {"jpg", ""}, {"\xC3\xA9", ""}}},
      {"an extension without targets empties everything", {{"a", {{"f"}}}}, {"1.a", "2.zzz"}, {}},
      {"a file without extension matches only the empty key",
       {{"", {{"txt"}}}},
       {"README"},
       {{"txt", ""}}},
      {"upper-case manifest keys never match", {{"MOV", {{"mp4"}}}}, {"clip.MOV"}, {}},
  };
  for (const auto& c : cases) {
    MenuManifest m = baseManifest();
    m.targets = c.targets;
    EXPECT_EQ(offerFor(m, c.selection).all, c.all) << c.name;
  }
}

TEST(Offer, PopularListOfTheFirstExtension) {
  const Strings ten = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
  struct Case {
    const char* name;
    std::map<std::string, Strings> popular;
    Strings expected;
    std::initializer_list<const char*> selection = {"clip.MOV"};
  } cases[] = {
      {"ten common formats: the first eight",
       {{"mov", ten}},
       {"a", "b", "c", "d", "e", "f", "g", "h"}},
      {"an uncommon one is skipped before counting",
       {{"mov", {"a", "zz", "c", "d", "e", "f", "g", "h", "i", "j"}}},
       {"a", "c", "d", "e", "f", "g", "h", "i"}},
      {"a duplicate is taken twice", {{"mov", {"b", "b"}}}, {"b", "b"}},
      {"only the smallest extension's list counts", {{"png", {"b"}}}, {}, {"a.png", "b.mov"}},
      {"the smallest's", {{"mov", {"b"}}, {"png", {"c"}}}, {"b"}, {"a.png", "b.mov"}},
  };
  for (const auto& c : cases) {
    MenuManifest m = baseManifest();
    for (const char* ext : {"mov", "png"}) {
      for (const auto& f : ten) m.targets[ext].push_back({f, f == "b" ? "tool" : ""});
    }
    m.popular = c.popular;
    Offer offer = offerFor(m, c.selection);
    EXPECT_EQ(formats(offer.popular), c.expected) << c.name;
    EXPECT_EQ(offer.all.size(), 10u) << c.name << ": all keeps the popular formats";
    for (const auto& p : offer.popular) {
      EXPECT_EQ(p.tool, p.format == "b" ? "tool" : "") << c.name;
    }
  }
}

// Space-separated words; none for nullptr.
std::optional<Strings> words(const char* text) {
  if (text == nullptr) return std::nullopt;
  Strings out;
  std::istringstream in(text);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

TEST(Offer, Flags) {
  struct Case {
    const char* name;
    std::optional<bool> compressEnabled;
    const char *compress, *crop, *trim;  // lists; nullptr: absent
    std::initializer_list<const char*> selection;
    const char* want;  // "C", "R", "T": compress, crop, trim set
  } cases[] = {
      {"every extension listed",
       std::nullopt,
       "mov png",
       "mov png",
       "mov",
       {"a.mov", "b.PNG"},
       "CR"},
      {"compression switched off", false, "mov", nullptr, nullptr, {"a.mov"}, ""},
      {"one extension not listed", std::nullopt, "mov", "mov", "mov", {"a.mov", "b.txt"}, ""},
      {"crop present but empty", std::nullopt, "", "", "", {"a.mov"}, ""},
      {"empty selection offers nothing", std::nullopt, "mov", "mov", "mov", {}, ""},
      {"flags need no targets", std::nullopt, "raw", "raw", nullptr, {"x.raw"}, "CR"},
  };
  for (const auto& c : cases) {
    MenuManifest m = baseManifest();
    m.compressEnabled = c.compressEnabled;
    m.compress = *words(c.compress);
    m.crop = words(c.crop);
    m.trim = words(c.trim);
    Offer o = offerFor(m, c.selection);
    std::string got =
        std::string(o.compress ? "C" : "") + (o.crop ? "R" : "") + (o.trim ? "T" : "");
    EXPECT_EQ(got, c.want) << c.name;
  }
}

TEST(Offer, DisplayListPutsPopularFirstAndDropsTheirDuplicates) {
  auto offer =
      offerOf({{"mp4", ""}, {"gif", "codecs"}}, {{"gif", "other tool"}, {"mp3", ""}, {"mp4", ""}});
  EXPECT_EQ(formats(offer.display), (Strings{"mp4", "gif", "mp3"}));
}

TEST(Offer, TagsDecodeAgainstTheOfferOfTheMoment) {
  // Display: b a c d e.
  const Offer offer = offerOf({{"b", ""}}, {{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}, {"e", ""}});
  struct Case {
    std::int64_t tag;
    std::optional<Choice> expected;
  } cases[] = {
      {1000, Choice::convert("b")}, {1001, Choice::convert("a")}, {1004, Choice::convert("e")},
      {2, Choice::open()},          {12, Choice::compress()},     {13, Choice::crop()},
      {14, Choice::trim()},
  };
  for (const auto& c : cases) EXPECT_EQ(decodeTag(c.tag, offer), c.expected) << "tag " << c.tag;
  // Past the list, between the numbered tags, below them.
  for (std::int64_t tag : std::initializer_list<std::int64_t>{1005, 999, -1}) {
    EXPECT_FALSE(decodeTag(tag, offer)) << "tag " << tag;
  }
  EXPECT_FALSE(offer.crop) << "tag 13 decodes whatever the flag says";
}

}  // namespace
}  // namespace vdl
