// Any bytes at all, decoded as a manifest: the decoder must answer with a
// manifest or a reason, never crash, hang or accept what is not JSON.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <nlohmann/json.hpp>

#include "manifest/manifest_decoder.h"
#include "manifest/manifest_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto decoded = vdl::decodeManifest(text);
  if (!decoded) {
    if (decoded.error().description().empty()) std::abort();  // a failure always says why
    return 0;
  }
  // What decodes is JSON by the library's own reading, too.
  if (!nlohmann::json::accept(text)) std::abort();
  // And it can be indexed for menus.
  vdl::IndexedManifest indexed(std::move(*decoded), vdl::FileURL::fileURLWithPath("/fuzz.json"));
  (void)indexed;
  return 0;
}
