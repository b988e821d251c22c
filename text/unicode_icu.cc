// The text rules' Unicode library on Linux: ICU, in its root locale.
#include <unicode/brkiter.h>
#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/normalizer2.h>
#include <unicode/utext.h>

#include <memory>

#include "text/unicode_backend.h"

namespace vdl::text::backend {
namespace {

template <class Map>
std::string caseMapped(std::string_view text, Map map) {
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

std::string composed(std::string_view text) {
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

std::string lowercased(std::string_view text) {
  return caseMapped(text, [](auto&&... args) { icu::CaseMap::utf8ToLower(args...); });
}

std::string uppercased(std::string_view text) {
  return caseMapped(text, [](auto&&... args) { icu::CaseMap::utf8ToUpper(args...); });
}

std::size_t characterStart(std::string_view text, std::size_t offset) {
  UErrorCode status = U_ZERO_ERROR;
  UText* ut = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
  std::unique_ptr<icu::BreakIterator> characters(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  std::size_t start = offset;
  if (U_SUCCESS(status)) {
    characters->setText(ut, status);
    auto at = static_cast<int32_t>(offset);
    int32_t boundary = characters->isBoundary(at) ? at : characters->preceding(at);
    if (U_SUCCESS(status) && boundary >= 0) start = static_cast<std::size_t>(boundary);
  }
  utext_close(ut);
  return start;
}

}  // namespace vdl::text::backend
