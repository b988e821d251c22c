// Computing the offer from a selection and an indexed manifest.
#include "menu/offer.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <unordered_set>

#include "text/unicode_text.h"

namespace vdl {
namespace {

// A format of the offer being computed, its tool combined over the
// extensions seen so far.
struct Common {
  std::string_view key;  // composed
  std::string_view format;
  std::string tool;
  std::string toolKey;  // composed
};

// Adds `other`'s tool text to the one combined so far: kept when empty or
// equal to all of it, else appended after " + ". The composed form travels
// along, so that equality costs a length check in most cases and the whole
// combination stays linear however many extensions take part. (" + " starts
// with a character that composes with nothing, so the composed form of a
// combination is the combination of the composed forms.)
void combineTool(Common& entry, const TargetEntry& other) {
  if (entry.tool.empty()) {
    entry.tool = other.tool;
    entry.toolKey = other.toolKey;
  } else if (!other.tool.empty() && entry.toolKey != other.toolKey) {
    entry.tool.append(" + ").append(other.tool);
    entry.toolKey.append(" + ").append(other.toolKey);
  }
}

// Keeps the entries of `common` whose key `other` has too, combining tools.
// Both are sorted by key, so this is one merge pass.
void intersect(std::vector<Common>& common, TargetMap other) {
  std::size_t kept = 0;
  auto o = other.begin();
  for (auto& entry : common) {
    while (o != other.end() && o->key < entry.key) ++o;
    if (o == other.end()) break;
    if (o->key != entry.key) continue;
    combineTool(entry, *o);
    if (&common[kept] != &entry) common[kept] = std::move(entry);
    ++kept;
  }
  common.resize(kept);
}

// The popular pairs, then those of `all` whose format is no popular one's.
void fillDisplayList(Offer& offer) {
  std::unordered_set<std::string> popularKeys;
  for (const auto& p : offer.popular) popularKeys.insert(text::normalizedNFC(p.format));
  offer.display = offer.popular;
  for (const auto& pair : offer.all) {
    if (!popularKeys.count(text::normalizedNFC(pair.format))) offer.display.push_back(pair);
  }
}

}  // namespace

std::vector<std::string> extensionList(const SelectedFiles& selection) {
  // Most selections repeat a handful of extensions: normalise each raw
  // spelling once.
  std::unordered_set<std::string_view> raw;
  for (auto path : selection) raw.insert(pathExtension(path));
  std::vector<std::string> keys;
  keys.reserve(raw.size());
  for (auto extension : raw) keys.push_back(extensionKey(extension));
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

Offer choices(const SelectedFiles& selection, const IndexedManifest& manifest) {
  Offer offer;
  const auto extensions = extensionList(selection);
  if (extensions.empty()) return offer;
  const ManifestIndex& index = manifest.index;

  std::vector<Common> common;
  if (const auto first = index.targets(extensions.front())) {
    common.reserve(first->size());
    for (const auto& e : *first) {
      common.push_back({e.key, e.format, std::string(e.tool), std::string(e.toolKey)});
    }
  }
  for (std::size_t i = 1; i < extensions.size() && !common.empty(); ++i) {
    const auto map = index.targets(extensions[i]);
    if (!map) {
      common.clear();
    } else {
      intersect(common, *map);
    }
  }

  if (const auto* popular = index.popular(extensions.front())) {
    for (const auto& format : *popular) {
      if (offer.popular.size() == kMaxPopular) break;
      if (const auto* entry =
              findTarget(std::span<const Common>(common), text::normalizedNFC(format))) {
        offer.popular.push_back({format, entry->tool});
      }
    }
  }
  offer.all.reserve(common.size());
  for (auto& entry : common)
    offer.all.push_back({std::string(entry.format), std::move(entry.tool)});

  auto every = [&](auto&& lists) {
    return std::all_of(extensions.begin(), extensions.end(), lists);
  };
  const auto& m = manifest.manifest;
  offer.compress = m.compressEnabled.value_or(true) &&
                   every([&](const std::string& e) { return index.compressLists(e); });
  offer.crop =
      index.hasCropList() && every([&](const std::string& e) { return index.cropLists(e); });
  offer.trim =
      index.hasTrimList() && every([&](const std::string& e) { return index.trimLists(e); });
  fillDisplayList(offer);
  return offer;
}

Offer offerOf(std::vector<TargetPair> popular, std::vector<TargetPair> all, bool compress,
              bool crop, bool trim) {
  Offer offer{std::move(popular), std::move(all), compress, crop, trim, {}};
  fillDisplayList(offer);
  return offer;
}

}  // namespace vdl
