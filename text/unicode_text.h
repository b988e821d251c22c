// Unicode text rules shared by the whole extension: canonical equivalence,
// code-point order of composed forms, and locale-independent case mapping.
//
// Text that is not valid UTF-8 (a Linux file name may be anything) is never
// rejected: it is left as it is by normalisation, compared byte by byte, and
// case-mapped in its ASCII letters only.
#pragma once

#include <string>
#include <string_view>

namespace vdl::text {

bool isValidUTF8(std::string_view text);

// The canonically composed form (NFC).
std::string normalizedNFC(std::string_view text);
// Whether normalizedNFC(text) is `text` itself: at once for ASCII.
bool isComposed(std::string_view text);

// Ascending order: the code points of the NFC forms, one by one, a prefix first.
bool canonicallyLess(std::string_view a, std::string_view b);

// Full default case mappings of the root locale ("ß" upper-cases to "SS").
std::string lowercased(std::string_view text);
std::string uppercased(std::string_view text);

// `text` as one line of printable text that a person can still read back:
// a backslash becomes "\\", a line feed, carriage return or tab "\n", "\r",
// "\t", any other control character or byte that is not UTF-8 "\xHH", and
// line separators and bidirectional controls "\uHHHH".
std::string printable(std::string_view text);

// `text` when it has at most `maxBytes` bytes; else its longest prefix that
// ends on a character (grapheme) boundary and leaves room for "…", then "…".
std::string truncated(std::string_view text, std::size_t maxBytes);

}  // namespace vdl::text
