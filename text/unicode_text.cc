// ICU behind the text rules, with an ASCII fast path: most extensions and
// formats are ASCII, and for them ICU is never called.
#include "text/unicode_text.h"

#include <unicode/brkiter.h>
#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace vdl::text {
namespace {

bool isASCII(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string asciiMapped(std::string_view text, char from, char to, int shift) {
  std::string out(text);
  for (char& c : out) {
    if (c >= from && c <= to) c = static_cast<char>(c + shift);
  }
  return out;
}

std::string asciiLower(std::string_view text) {
  return asciiMapped(text, 'A', 'Z', 'a' - 'A');
}
std::string asciiUpper(std::string_view text) {
  return asciiMapped(text, 'a', 'z', 'A' - 'a');
}

template <class Map>
std::string icuCaseMapped(std::string_view text, Map map) {
  std::string out;
  icu::StringByteSink<std::string> sink(&out);
  UErrorCode status = U_ZERO_ERROR;
  // "" is ICU's root locale: the mapping never depends on the user's language.
  map("", uint32_t{0}, icu::StringPiece(text.data(), static_cast<int32_t>(text.size())), sink,
      nullptr, status);
  if (U_FAILURE(status)) return std::string(text);
  return out;
}

}  // namespace

bool isValidUTF8(std::string_view text) {
  if (isASCII(text)) return true;
  const auto* s = reinterpret_cast<const uint8_t*>(text.data());
  auto length = static_cast<int32_t>(text.size());
  if (static_cast<std::size_t>(length) != text.size()) return false;
  int32_t i = 0;
  while (i < length) {
    UChar32 c = 0;
    U8_NEXT(s, i, length, c);
    if (c < 0) return false;
  }
  return true;
}

std::string normalizedNFC(std::string_view text) {
  if (isASCII(text) || !isValidUTF8(text)) return std::string(text);
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) return std::string(text);
  icu::StringPiece piece(text.data(), static_cast<int32_t>(text.size()));
  if (nfc->isNormalizedUTF8(piece, status) && U_SUCCESS(status)) return std::string(text);
  status = U_ZERO_ERROR;
  std::string out;
  icu::StringByteSink<std::string> sink(&out);
  nfc->normalizeUTF8(0, piece, sink, nullptr, status);
  if (U_FAILURE(status)) return std::string(text);
  return out;
}

bool canonicallyEqual(std::string_view a, std::string_view b) {
  if (isASCII(a) && isASCII(b)) return a == b;
  return normalizedNFC(a) == normalizedNFC(b);
}

bool canonicallyLess(std::string_view a, std::string_view b) {
  // UTF-8 byte order is code-point order, so comparing the composed forms'
  // bytes compares their code points.
  if (isASCII(a) && isASCII(b)) return a < b;
  return normalizedNFC(a) < normalizedNFC(b);
}

std::string lowercased(std::string_view text) {
  if (isASCII(text) || !isValidUTF8(text)) return asciiLower(text);
  return icuCaseMapped(text, [](auto&&... args) { icu::CaseMap::utf8ToLower(args...); });
}

std::string uppercased(std::string_view text) {
  if (isASCII(text) || !isValidUTF8(text)) return asciiUpper(text);
  return icuCaseMapped(text, [](auto&&... args) { icu::CaseMap::utf8ToUpper(args...); });
}

namespace {

// "\\xHH" for a byte, "\\uHHHH" for a code point.
void appendHex(std::string& out, char kind, unsigned value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "\\%c%0*x", kind, kind == 'x' ? 2 : 4, value);
  out += buffer;
}

bool needsEscape(UChar32 c) {
  return u_iscntrl(c) || c == 0x2028 || c == 0x2029 ||
         u_hasBinaryProperty(c, UCHAR_BIDI_CONTROL) != 0;
}

}  // namespace

std::string printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const auto* s = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c = 0;
    U8_NEXT(s, i, length, c);
    if (c < 0) {
      for (int32_t b = start; b < i; ++b) appendHex(out, 'x', s[b]);
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x80 && needsEscape(c)) {
      appendHex(out, 'x', static_cast<unsigned>(c));
    } else if (needsEscape(c)) {
      appendHex(out, 'u', static_cast<unsigned>(c));
    } else {
      out.append(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
    }
  }
  return out;
}

std::string truncated(std::string_view text, std::size_t maxBytes) {
  static constexpr std::string_view kEllipsis = "\u2026";
  if (text.size() <= maxBytes) return std::string(text);
  if (maxBytes < kEllipsis.size()) return {};
  const std::size_t room = maxBytes - kEllipsis.size();
  // Only the bytes that can stay, and a little more to see the boundary.
  std::string_view head = text.substr(0, std::min(text.size(), room + 64));
  std::size_t cut = 0;
  UErrorCode status = U_ZERO_ERROR;
  UText* ut = utext_openUTF8(nullptr, head.data(), static_cast<int64_t>(head.size()), &status);
  std::unique_ptr<icu::BreakIterator> characters(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  if (U_SUCCESS(status)) {
    characters->setText(ut, status);
    // From the last code point that starts within the room, back to the
    // start of its character.
    std::size_t last = room;
    while (last > 0 && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80) --last;
    auto at = static_cast<int32_t>(last);
    int32_t boundary = characters->isBoundary(at) ? at : characters->preceding(at);
    if (U_SUCCESS(status) && boundary > 0) cut = static_cast<std::size_t>(boundary);
  } else {
    // Without ICU's rules, at least never split a UTF-8 sequence.
    cut = room;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  }
  utext_close(ut);
  std::string out(text.substr(0, cut));
  out += kEllipsis;
  return out;
}

}  // namespace vdl::text
