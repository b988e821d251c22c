// A generated manifest and selection, through the whole road of a menu:
// decode, offer, menu, and back from each tag of the menu to its choice and
// request document. Strings come from a small alphabet chosen to collide
// under case mapping and canonical equivalence, and from raw fuzz bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "dispatch/request_document.h"
#include "manifest/manifest_decoder.h"
#include "manifest/manifest_index.h"
#include "menu/menu_builder.h"
#include "menu/offer.h"
#include "menu/tag_numbering.h"
#include "text/unicode_text.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

const char* const kWords[] = {
    "mov",        "MOV",    "mp4", "gif",    "png",    "jpg",     "webp",   "caf\u00e9",
    "cafe\u0301", "\u00df", "SS",  "ss",     "\u0130", "i\u0307", "\u01c5", "",
    ".",          "x.y",    " ",   "\u212b", "\u00c5", "A\u030a", "{tool}", "needs {tool}",
    "\U0001F3AC",
};

std::string word(FuzzedDataProvider& in) {
  if (in.ConsumeIntegralInRange<std::size_t>(0, 7) == 0) return in.ConsumeRandomLengthString(12);
  return kWords[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kWords) - 1)];
}

nlohmann::json words(FuzzedDataProvider& in, std::size_t most) {
  nlohmann::json list = nlohmann::json::array();
  for (std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, most); n > 0; --n) {
    list.push_back(word(in));
  }
  return list;
}

nlohmann::json manifest(FuzzedDataProvider& in) {
  nlohmann::json labels = {{"convertTo", word(in)}, {"compress", word(in)}, {"open", word(in)},
                           {"balanced", word(in)},  {"smallest", word(in)}, {"needs", word(in)}};
  for (const char* optional : {"crop", "trim", "adjust"}) {
    if (in.ConsumeBool()) labels[optional] = word(in);
  }
  nlohmann::json popular = nlohmann::json::object(), targets = nlohmann::json::object();
  for (std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, 6); n > 0; --n) {
    popular[word(in)] = words(in, 12);
  }
  for (std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, 8); n > 0; --n) {
    nlohmann::json rows = nlohmann::json::array();
    for (std::size_t r = in.ConsumeIntegralInRange<std::size_t>(0, 6); r > 0; --r)
      rows.push_back(words(in, 3));
    targets[word(in)] = rows;
  }
  nlohmann::json doc = {{"version", in.ConsumeIntegral<std::int64_t>()},
                        {"labels", labels},
                        {"popular", popular},
                        {"targets", targets},
                        {"compress", words(in, 4)}};
  if (in.ConsumeBool()) doc["crop"] = words(in, 4);
  if (in.ConsumeBool()) doc["trim"] = words(in, 4);
  if (in.ConsumeBool()) doc["compressEnabled"] = in.ConsumeBool();
  return doc;
}

// Widths that may be zero, so that the divider's guard is reached.
class ByteFont final : public vdl::MenuFont {
 public:
  double scale = 1.0;
  double width(std::string_view text) override { return scale * static_cast<double>(text.size()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  // Raw bytes may not be UTF-8; the writer replaces them, as a careless
  // producer of the manifest might.
  std::string text = manifest(in).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  auto decoded = vdl::decodeManifest(text);
  check(decoded.ok());  // every generated document is a manifest
  vdl::IndexedManifest indexed(std::move(*decoded), vdl::FileURL::fileURLWithPath("/m.json"));

  std::vector<vdl::FileURL> selection;
  for (std::size_t n = in.ConsumeIntegralInRange<std::size_t>(1, 5); n > 0; --n) {
    selection.push_back(vdl::FileURL::fileURLWithPath("/in/name." + word(in)));
  }

  bool allUTF8 = true;
  for (const auto& url : selection) allUTF8 = allUTF8 && vdl::text::isValidUTF8(url.path());

  vdl::Offer offer = vdl::choices(selection, indexed);
  check(offer.popular.size() <= vdl::kMaxPopular);
  for (std::size_t i = 1; i < offer.all.size(); ++i) {
    // Ascending, and each format once under canonical equivalence.
    check(vdl::text::canonicallyLess(offer.all[i - 1].format, offer.all[i].format));
  }

  ByteFont font;
  font.scale = in.ConsumeBool() ? 0.0 : in.ConsumeFloatingPointInRange(0.0, 20.0);
  vdl::Menu menu = vdl::buildMenu(indexed.manifest.labels, offer, std::nullopt, font);

  // Every item the user can pick decodes to a choice that can be requested.
  std::vector<const vdl::MenuItem*> pickable;
  for (const auto& item : menu.items) {
    if (item.action == vdl::MenuAction::choose) pickable.push_back(&item);
    if (item.submenu) {
      for (const auto& sub : item.submenu->items) {
        if (sub.action == vdl::MenuAction::choose) pickable.push_back(&sub);
      }
    }
  }
  const auto& display = offer.display;
  for (const auto* item : pickable) {
    auto choice = vdl::decodeTag(item->tag, offer);
    check(choice.has_value());
    if (choice->kind == vdl::Choice::Kind::convert) {
      auto index = static_cast<std::size_t>(item->tag - vdl::formatTag(0));
      check(index < display.size());
      check(item->title == vdl::entryTitle(display[index], indexed.manifest.labels.needs));
    }
    // A request is written exactly when every path can be written as it is.
    auto request = vdl::requestDocument("id", 1.5, *choice, selection);
    check(request.ok() == allUTF8);
    if (request) check(nlohmann::json::parse(*request)["files"].size() == selection.size());
  }
  // Tags that no menu shows decode to nothing or to a choice, never worse.
  (void)vdl::decodeTag(in.ConsumeIntegral<std::int64_t>(), offer);
  return 0;
}
