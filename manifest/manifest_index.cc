// Building the normalised index of a manifest.
#include "manifest/manifest_index.h"

#include <algorithm>

#include "text/unicode_text.h"

namespace vdl {
namespace {

std::vector<TargetEntry> targetMap(const std::vector<TargetRow>& rows) {
  std::vector<TargetEntry> entries;
  entries.reserve(rows.size());
  for (const auto& row : rows) {
    if (row.empty()) continue;
    std::string tool = row.size() >= 2 ? row[1] : std::string();
    std::string toolKey = text::normalizedNFC(tool);
    entries.push_back({text::normalizedNFC(row[0]), row[0], std::move(tool), std::move(toolKey)});
  }
  // Sorted by key, rows of one format in their order: the first row's
  // spelling stays, and the last row's tool replaces the others'.
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TargetEntry& a, const TargetEntry& b) { return a.key < b.key; });
  std::size_t kept = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (kept > 0 && entries[kept - 1].key == entries[i].key) {
      entries[kept - 1].tool = std::move(entries[i].tool);
      entries[kept - 1].toolKey = std::move(entries[i].toolKey);
    } else if (kept++ != i) {
      entries[kept - 1] = std::move(entries[i]);
    }
  }
  entries.resize(kept);
  return entries;
}

std::unordered_set<std::string> keySet(const std::vector<std::string>& list) {
  std::unordered_set<std::string> set;
  for (const auto& e : list) set.insert(text::normalizedNFC(e));
  return set;
}

}  // namespace

const TargetEntry* findTarget(const std::vector<TargetEntry>& map, const std::string& key) {
  // Target maps are sorted by key.
  auto it = std::lower_bound(map.begin(), map.end(), key,
                             [](const TargetEntry& e, const std::string& k) { return e.key < k; });
  return it != map.end() && it->key == key ? &*it : nullptr;
}

std::string extensionKey(std::string_view extension) {
  return text::normalizedNFC(text::lowercased(extension));
}

ManifestIndex::ManifestIndex(const MenuManifest& m)
    : compress_(keySet(m.compress)),
      crop_(m.crop ? keySet(*m.crop) : std::unordered_set<std::string>{}),
      trim_(m.trim ? keySet(*m.trim) : std::unordered_set<std::string>{}),
      hasCrop_(m.crop.has_value()),
      hasTrim_(m.trim.has_value()) {
  // The maps iterate in byte order, so a later equivalent key overwrites.
  for (const auto& [key, rows] : m.targets) targets_[text::normalizedNFC(key)] = targetMap(rows);
  for (const auto& [key, list] : m.popular) popular_[text::normalizedNFC(key)] = list;
}

const std::vector<TargetEntry>* ManifestIndex::targets(const std::string& extensionKey) const {
  auto it = targets_.find(extensionKey);
  return it == targets_.end() ? nullptr : &it->second;
}

const std::vector<std::string>* ManifestIndex::popular(const std::string& extensionKey) const {
  auto it = popular_.find(extensionKey);
  return it == popular_.end() ? nullptr : &it->second;
}

bool ManifestIndex::compressLists(const std::string& k) const {
  return compress_.count(k) != 0;
}
bool ManifestIndex::cropLists(const std::string& k) const {
  return crop_.count(k) != 0;
}
bool ManifestIndex::trimLists(const std::string& k) const {
  return trim_.count(k) != 0;
}

IndexedManifest::IndexedManifest(MenuManifest decoded, FileURL from)
    : manifest(std::move(decoded)), index(manifest), source(std::move(from)) {}

}  // namespace vdl
