#include "manifest/manifest_decoder.h"

#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

namespace vdl {
namespace {

const std::string kLabels =
    R"("labels": {"convertTo": "Convert to", "compress": "Compress", "open": "Open",
                  "balanced": "Balanced", "smallest": "Smallest", "needs": "needs {tool}"})";

// A minimal valid document with `extra` members appended at the top level.
std::string document(const std::string& extra = "") {
  std::string doc =
      R"({"version": 1, )" + kLabels + R"(, "popular": {}, "targets": {}, "compress": [])";
  if (!extra.empty()) doc += ", " + extra;
  return doc + "}";
}

// The minimal document with the value at the JSON pointer `at` replaced by
// the JSON text `value` (which may be no valid JSON), or removed for "".
std::string documentWith(const std::string& at, const std::string& value) {
  auto doc = nlohmann::json::parse(document());
  nlohmann::json::json_pointer pointer(at);
  if (value.empty()) {
    doc[pointer.parent_pointer()].erase(pointer.back());
    return doc.dump();
  }
  doc[pointer] = "@value@";
  std::string text = doc.dump();
  return text.replace(text.find("\"@value@\""), 9, value);
}

TEST(ManifestDecoder, DocumentsThatFailNameTheirCodeAndKey) {
  using C = DecodeErrorCode;
  struct Case {
    const char* name;
    std::string text;
    C code;
    std::string path;
  } cases[] = {
      {"not JSON", "hello", C::syntax, ""},
      {"trailing garbage", document() + " x", C::syntax, ""},
      {"top level array", "[]", C::notAnObject, ""},
      {"missing version", documentWith("/version", ""), C::missingKey, "version"},
      {"null version", documentWith("/version", "null"), C::nullKey, "version"},
      {"string version", documentWith("/version", "\"1\""), C::wrongType, "version"},
      {"fractional version", documentWith("/version", "1.5"), C::notAnInteger, "version"},
      {"version past int64", documentWith("/version", "9223372036854775808"), C::outOfRange,
       "version"},
      {"version 1e400 overflows", documentWith("/version", "1e400"), C::syntax, ""},
      {"labels lacks balanced", documentWith("/labels/balanced", ""), C::missingKey,
       "labels.balanced"},
      {"labels needs is null", documentWith("/labels/needs", "null"), C::nullKey, "labels.needs"},
      {"missing compress, even with compression off",
       R"({"version": 1, )" + kLabels +
           R"(, "popular": {}, "targets": {}, "compressEnabled": false})",
       C::missingKey, "compress"},
      {"compress holds a number", documentWith("/compress", "[\"mov\", 3]"), C::wrongType,
       "compress[1]"},
      {"target row holds a number", documentWith("/targets", R"({"mov": [["mp4"], [1]]})"),
       C::wrongType, "targets.mov[1][0]"},
      {"target key needing quotes", documentWith("/targets", R"({"tar.gz": [[null]]})"),
       C::wrongType, "targets[\"tar.gz\"][0][0]"},
      {"Targets is not targets",
       R"({"version": 1, )" + kLabels + R"(, "popular": {}, "Targets": {}, "compress": []})",
       C::missingKey, "targets"},
      {"bytes that are not UTF-8", documentWith("/compress", "[\"\xFF\"]"), C::syntax, ""},
      {"deep nesting", std::string(100000, '[') + std::string(100000, ']'), C::tooDeep, ""},
      {"nesting past the bound where no one reads",
       document(R"("x": )" + std::string(70, '[') + std::string(70, ']')), C::tooDeep, ""},
      {"two byte-order marks", "\xEF\xBB\xBF\xEF\xBB\xBF" + document(), C::syntax, ""},
  };
  for (const auto& c : cases) {
    auto result = decodeManifest(c.text);
    if (result.ok()) {
      ADD_FAILURE() << c.name << ": decoded";
      continue;
    }
    EXPECT_EQ(result.error().code, c.code)
        << c.name << ": " << decodeErrorCodeName(result.error().code) << ", "
        << result.error().description();
    EXPECT_EQ(result.error().path, c.path) << c.name << ": " << result.error().description();
  }
}

TEST(ManifestDecoder, FirstFailingFieldInDeclaredOrderWins) {
  // Both "version" and "compress" are wrong; version is read first.
  auto r = decodeManifest(R"({"version": "x", "compress": 1})");
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().path, "version");
  // A syntax fault anywhere beats a field fault.
  r = decodeManifest(R"({"version": "x", "compress": [1,]})");
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().path, "");
}

TEST(ManifestDecoder, DocumentsThatDecode) {
  struct Case {
    const char* name;
    std::string text;
    void (*check)(const MenuManifest&);
  } cases[] = {
      {"only required keys", document(),
       [](const MenuManifest& m) {
         EXPECT_FALSE(m.crop || m.trim || m.enabled || m.compressEnabled);
         EXPECT_FALSE(m.labels.crop || m.labels.trim || m.labels.adjust);
         EXPECT_EQ(m.labels.needs, "needs {tool}");
       }},
      {"null optionals are absent", document(R"("crop": null, "enabled": null)"),
       [](const MenuManifest& m) { EXPECT_FALSE(m.crop || m.enabled); }},
      {"version written with a zero fraction", documentWith("/version", "2.0"),
       [](const MenuManifest& m) { EXPECT_EQ(m.version, 2); }},
      {"largest version", documentWith("/version", "9223372036854775807"),
       [](const MenuManifest& m) { EXPECT_EQ(m.version, INT64_MAX); }},
      {"smallest version", documentWith("/version", "-9223372036854775808"),
       [](const MenuManifest& m) { EXPECT_EQ(m.version, INT64_MIN); }},
      {"rows: empty, one, three strings",
       documentWith("/targets", R"({"mov": [[], ["mp4"], ["gif", "codecs", "ignored"]]})"),
       [](const MenuManifest& m) {
         ASSERT_EQ(m.targets.at("mov").size(), 3u);
         EXPECT_TRUE(m.targets.at("mov")[0].empty());
         EXPECT_EQ(m.targets.at("mov")[2][1], "codecs");
       }},
      {"extra members anywhere are ignored", document(R"("Targets": 5, "x": {"deep": [1, null]})"),
       [](const MenuManifest&) {}},
      {"all optionals present",
       document(R"("crop": ["mov"], "trim": [], "enabled": false, "compressEnabled": true)"),
       [](const MenuManifest& m) {
         EXPECT_EQ(*m.crop, std::vector<std::string>{"mov"});
         EXPECT_TRUE(m.trim->empty());
         EXPECT_EQ(m.enabled, false);
         EXPECT_EQ(m.compressEnabled, true);
       }},
      {"byte-order mark is skipped", "\xEF\xBB\xBF" + document(), [](const MenuManifest&) {}},
      {"nesting within the bound where no one reads",
       document(R"("x": )" + std::string(50, '[') + std::string(50, ']')),
       [](const MenuManifest&) {}},
      {"duplicate member keeps the last value", document(R"("version": 7)"),
       [](const MenuManifest& m) { EXPECT_EQ(m.version, 7); }},
  };
  for (const auto& c : cases) {
    auto result = decodeManifest(c.text);
    ASSERT_TRUE(result.ok()) << c.name << ": " << result.error().description();
    c.check(*result);
  }
}

}  // namespace
}  // namespace vdl
