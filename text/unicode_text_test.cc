#include "text/unicode_text.h"

#include <gtest/gtest.h>

#ifdef VDL_TEXT_ICU
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#endif

namespace vdl::text {
namespace {

const std::string kComposedE = "\xC3\xA9";          // é
const std::string kDecomposedE = "e\xCC\x81";       // e + combining acute
const std::string kInvalid = "ab\xFF\xFE";          // not UTF-8
const std::string kLoneSurrogate = "\xED\xA0\x80";  // UTF-8 form of U+D800

TEST(UnicodeText, CanonicallyEquivalentTextsAreEqual) {
  struct Case {
    const char* name;
    std::string a, b;
    bool equal;
  } cases[] = {
      {"ascii case differs", "MP4", "mp4", false},
      {"composed vs decomposed", "caf" + kComposedE, "caf" + kDecomposedE, true},
      {"kelvin sign is K", "\xE2\x84\xAA", "K", true},
      {"invalid equals itself", kInvalid, kInvalid, true},
      {"invalid differs from its replacement", kInvalid, "ab\xEF\xBF\xBD\xEF\xBF\xBD", false},
      {"a lone surrogate is left alone", kLoneSurrogate, "\xEF\xBF\xBD", false},
      {"a NUL is kept", std::string("a\0b", 3), "ab", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(normalizedNFC(c.a) == normalizedNFC(c.b), c.equal) << c.name;
}

TEST(UnicodeText, AscendingOrderIsCodePointOrderOfComposedForms) {
  struct Case {
    const char* name;
    std::string a, b;
  } less[] = {
      {"upper before lower", "JPG", "jpeg"},
      {"jpeg before jpg", "jpeg", "jpg"},
      {"prefix first", "mp", "mp4"},
      {"empty first", "", "a"},
      // Decomposed é starts with "e", but its composed form U+00E9 sorts after "f".
      {"composed form decides", "f", kDecomposedE},
      {"astral after BMP", "\xEF\xBF\xBD", "\xF0\x9F\x98\x80"},
  };
  for (const auto& c : less) {
    EXPECT_TRUE(canonicallyLess(c.a, c.b)) << c.name;
    EXPECT_FALSE(canonicallyLess(c.b, c.a)) << c.name;
  }
  EXPECT_FALSE(canonicallyLess(kComposedE, kDecomposedE));
  EXPECT_FALSE(canonicallyLess(kDecomposedE, kComposedE));
}

TEST(UnicodeText, CaseMappingIsFullAndLocaleIndependent) {
  struct Case {
    const char* name;
    std::string in, lower, upper;
    bool changesLength = false;
  } cases[] = {
      {"ascii", "Mp4", "mp4", "MP4"},
      {"sharp s upper-cases to SS",
       "stra\xC3\x9F"
       "e",
       "stra\xC3\x9F"
       "e",
       "STRASSE", true},
      {"dotted capital I lower-cases to i + dot", "\xC4\xB0", "i\xCC\x87", "\xC4\xB0", true},
      {"dotless i stays Turkish-free", "i", "i", "I"},
      {"greek final sigma", "\xCE\xA3\xCE\x91", "\xCF\x83\xCE\xB1", "\xCE\xA3\xCE\x91"},
      {"invalid: ascii letters only", "A\xFFz", "a\xFFz", "A\xFFZ"},
  };
  for (const auto& c : cases) {
#ifdef VDL_TEXT_GNUSTEP
    // GNUstep's Foundation maps case one UTF-16 unit at a time; Apple's, like
    // ICU, applies Unicode's full mappings, which may change the length.
    if (c.changesLength) continue;
#endif
    EXPECT_EQ(lowercased(c.in), c.lower) << c.name;
    EXPECT_EQ(uppercased(c.in), c.upper) << c.name;
  }
}

TEST(UnicodeText, ValidityCheckRejectsSurrogatesAndOverlongForms) {
  EXPECT_TRUE(isValidUTF8(""));
  EXPECT_TRUE(isValidUTF8(kComposedE));
  EXPECT_TRUE(isValidUTF8("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(isValidUTF8(kInvalid));
  EXPECT_FALSE(isValidUTF8(kLoneSurrogate));
  EXPECT_FALSE(isValidUTF8("\xC0\xAF"));  // overlong "/"
  EXPECT_FALSE(isValidUTF8("\xE2\x94"));  // truncated
}

TEST(UnicodeText, PrintableTextIsOneReadableLine) {
  struct Case {
    const char* name;
    std::string in, out;
  } cases[] = {
      {"plain text and accents stay", "caf" + kComposedE + " %s", "caf" + kComposedE + " %s"},
      {"a forged second line", "a\nVandrel: forged", "a\\nVandrel: forged"},
      {"carriage return, tab, escape", "a\rb\tc\x1b[31m", "a\\rb\\tc\\x1b[31m"},
      {"backslash stays readable back", "back\\slash", "back\\\\slash"},
      {"bytes that are not UTF-8", kInvalid, "ab\\xff\\xfe"},
      {"NUL and DEL", std::string("a\0b\x7f", 4), "a\\x00b\\x7f"},
      {"C1 next line, line separator, bidi override", "\u0085\u2028\u202e",
       "\\u0085\\u2028\\u202e"},
  };
  for (const auto& c : cases) EXPECT_EQ(printable(c.in), c.out) << c.name;
}

TEST(UnicodeText, TruncationKeepsWholeCharactersAndMarksTheCut) {
  const std::string ellipsis = "\u2026";
  EXPECT_EQ(truncated("short", 5), "short");
  EXPECT_EQ(truncated("abcdefgh", 6), "abc" + ellipsis);
  // "e" + combining acute is one character: never cut between the two.
  EXPECT_EQ(truncated("ab" + kDecomposedE + "xyz", 6), "ab" + ellipsis);
  EXPECT_EQ(truncated(kComposedE + kComposedE + kComposedE, 5), kComposedE + ellipsis);
#ifndef VDL_TEXT_GNUSTEP
  // An emoji sequence joined by ZWJ, and a flag's two regional indicators,
  // are one character each. (GNUstep's Foundation groups combining marks
  // only; Apple's, like ICU, groups extended grapheme clusters.)
  const std::string technologist = "\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB";
  EXPECT_EQ(truncated("a" + technologist + "bcdefgh", 12), "a" + ellipsis);
  EXPECT_EQ(truncated("a\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA"
                      "bcdefgh",
                      9),
            "a" + ellipsis);
#endif
  std::string huge(1 << 20, 'x');
  EXPECT_EQ(truncated(huge, 100).size(), 100u);
}

#ifdef VDL_TEXT_ICU
// The log's own table of the code points it escapes is ICU's control
// characters and bidirectional controls, every one of them.
TEST(UnicodeText, TheLogsEscapesAreICUsControlCharacters) {
  for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c == '\\') continue;
    std::string one;
    icu::UnicodeString(c).toUTF8String(one);
    bool icu = u_iscntrl(c) || u_hasBinaryProperty(c, UCHAR_BIDI_CONTROL);
    ASSERT_EQ(printable(one) != one, icu) << "U+" << std::hex << c;
  }
}
#endif

}  // namespace
}  // namespace vdl::text
