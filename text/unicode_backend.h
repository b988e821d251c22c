// What the text rules ask of a platform's Unicode library: one
// implementation on ICU (Linux), one on Foundation (the target platform).
// Every call takes valid UTF-8 that is not all ASCII; the portable part
// answers the rest itself.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vdl::text::backend {

// The canonically composed form (NFC).
std::string composed(std::string_view text);

// Full default case mappings, independent of any locale.
std::string lowercased(std::string_view text);
std::string uppercased(std::string_view text);

// The byte offset of the start of the character (extended grapheme cluster)
// that holds the code point starting at `offset`.
std::size_t characterStart(std::string_view text, std::size_t offset);

}  // namespace vdl::text::backend
