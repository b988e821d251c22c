// The text rules, with an ASCII fast path: most extensions and formats are
// ASCII, and for them the Unicode library is never called. UTF-8 is decoded
// here; composition, case mapping and character boundaries come from the
// platform's library (text/unicode_backend.h).
#include "text/unicode_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "text/unicode_backend.h"

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

// The code point that starts at `i`, with `i` moved past it; -1, with `i`
// one byte on, where no well-formed sequence starts (Unicode's table 3-7:
// no overlong forms, no surrogates, nothing above U+10FFFF).
std::int32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  std::size_t length = 0;
  std::int32_t c = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  if (length == 0 || s.size() - i < length) {
    ++i;
    return -1;
  }
  for (std::size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) {
      ++i;
      return -1;
    }
    c = (c << 6) | (b & 0x3F);
  }
  i += length;
  return c;
}

// What a log line shows escaped: the control and format characters and the
// line and paragraph separators (general categories Cc, Cf, Zl and Zp, which
// hold the bidirectional controls), as of Unicode 15.
constexpr std::pair<std::int32_t, std::int32_t> kEscaped[] = {
    {0x0000, 0x001F},   {0x007F, 0x009F},   {0x00AD, 0x00AD},   {0x0600, 0x0605},
    {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},
    {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F},   {0x2028, 0x202E},
    {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},
    {0x110BD, 0x110BD}, {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3},
    {0x1D173, 0x1D17A}, {0xE0001, 0xE0001}, {0xE0020, 0xE007F},
};

// "\\xHH" for a byte, "\\uHHHH" for a code point.
void appendHex(std::string& out, char kind, unsigned value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "\\%c%0*x", kind, kind == 'x' ? 2 : 4, value);
  out += buffer;
}

bool isEscapedInLogs(std::int32_t c) {
  return std::any_of(std::begin(kEscaped), std::end(kEscaped),
                     [c](const auto& range) { return c >= range.first && c <= range.second; });
}

}  // namespace

bool isValidUTF8(std::string_view text) {
  if (isASCII(text)) return true;
  for (std::size_t i = 0; i < text.size();) {
    if (nextCodePoint(text, i) < 0) return false;
  }
  return true;
}

std::string normalizedNFC(std::string_view text) {
  if (isASCII(text) || !isValidUTF8(text)) return std::string(text);
  return backend::composed(text);
}

bool isComposed(std::string_view text) {
  return isASCII(text) || !isValidUTF8(text) || backend::composed(text) == text;
}

bool canonicallyLess(std::string_view a, std::string_view b) {
  // UTF-8 byte order is code-point order, so comparing the composed forms'
  // bytes compares their code points.
  if (isASCII(a) && isASCII(b)) return a < b;
  return normalizedNFC(a) < normalizedNFC(b);
}

std::string lowercased(std::string_view text) {
  if (isASCII(text) || !isValidUTF8(text)) return asciiMapped(text, 'A', 'Z', 'a' - 'A');
  return backend::lowercased(text);
}

std::string uppercased(std::string_view text) {
  if (isASCII(text) || !isValidUTF8(text)) return asciiMapped(text, 'a', 'z', 'A' - 'a');
  return backend::uppercased(text);
}

std::string printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const std::int32_t c = nextCodePoint(text, i);
    if (c < 0) {
      appendHex(out, 'x', static_cast<unsigned char>(text[start]));
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (isEscapedInLogs(c)) {
      appendHex(out, c < 0x80 ? 'x' : 'u', static_cast<unsigned>(c));
    } else {
      out.append(text.substr(start, i - start));
    }
  }
  return out;
}

std::string truncated(std::string_view text, std::size_t maxBytes) {
  static constexpr std::string_view kEllipsis = "\u2026";
  if (text.size() <= maxBytes) return std::string(text);
  if (maxBytes < kEllipsis.size()) return {};
  const std::size_t room = maxBytes - kEllipsis.size();
  auto startsCodePoint = [&](std::size_t at) {
    return at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
  };
  // The last code point that starts within the room...
  std::size_t cut = room;
  while (cut > 0 && !startsCodePoint(cut)) --cut;
  // ...and, in valid text, the start of its character: only the bytes that
  // can stay, and a little more to see the boundary, ending on a code point.
  std::size_t end = std::min(text.size(), room + 64);
  while (end > 0 && !startsCodePoint(end)) --end;
  std::string_view head = text.substr(0, end);
  if (cut > 0 && !isASCII(head) && isValidUTF8(head)) cut = backend::characterStart(head, cut);
  std::string out(text.substr(0, cut));
  out += kEllipsis;
  return out;
}

}  // namespace vdl::text
