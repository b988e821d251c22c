// ICU behind the text rules, with an ASCII fast path: most extensions and
// formats are ASCII, and for them ICU is never called.
#include "text/unicode_text.h"

#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/normalizer2.h>
#include <unicode/utf8.h>

#include <algorithm>

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

}  // namespace vdl::text
