// Building the normalised index of a manifest.
#include "manifest/manifest_index.h"

#include <algorithm>

#include "text/unicode_text.h"

namespace vdl {

std::string extensionKey(std::string_view extension) {
  return text::normalizedNFC(text::lowercased(extension));
}

std::string_view ManifestIndex::composed(std::string_view text) const {
  if (text::isComposed(text)) return text;
  return composed_.emplace_back(text::normalizedNFC(text));
}

std::unordered_set<std::string_view> ManifestIndex::keySet(
    const std::vector<std::string>& list) const {
  std::unordered_set<std::string_view> set;
  for (const auto& e : list) set.insert(composed(e));
  return set;
}

std::vector<TargetEntry> ManifestIndex::targetMap(const std::vector<TargetRow>& rows) const {
  std::vector<TargetEntry> entries;
  entries.reserve(rows.size());
  for (const auto& row : rows) {
    if (row.empty()) continue;
    const std::string_view tool = row.size() >= 2 ? std::string_view(row[1]) : std::string_view();
    entries.push_back({composed(row[0]), row[0], tool, row.size() >= 2 ? composed(row[1]) : tool});
  }
  // Sorted by key, rows of one format in their order: the first row's
  // spelling stays, and the last row's tool replaces the others'.
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TargetEntry& a, const TargetEntry& b) { return a.key < b.key; });
  auto kept = entries.begin();
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    if (kept != entries.begin() && (kept - 1)->key == it->key) {
      (kept - 1)->tool = it->tool;
      (kept - 1)->toolKey = it->toolKey;
    } else {
      *kept++ = *it;
    }
  }
  entries.erase(kept, entries.end());
  return entries;
}

ManifestIndex::ManifestIndex(const MenuManifest& m)
    : hasCrop_(m.crop.has_value()), hasTrim_(m.trim.has_value()) {
  compress_ = keySet(m.compress);
  if (m.crop) crop_ = keySet(*m.crop);
  if (m.trim) trim_ = keySet(*m.trim);
  // The maps iterate in byte order, so a later equivalent key overwrites.
  rows_.reserve(m.targets.size());
  for (const auto& [key, rows] : m.targets) rows_[composed(key)] = &rows;
  popular_.reserve(m.popular.size());
  for (const auto& [key, list] : m.popular) popular_[composed(key)] = &list;
}

std::optional<TargetMap> ManifestIndex::targets(std::string_view extensionKey) const {
  auto rows = rows_.find(extensionKey);
  if (rows == rows_.end()) return std::nullopt;
  std::lock_guard lock(sorting_);
  auto [it, fresh] = sorted_.try_emplace(rows->first);
  if (fresh) it->second = targetMap(*rows->second);
  return TargetMap(it->second);
}

const std::vector<std::string>* ManifestIndex::popular(std::string_view extensionKey) const {
  auto it = popular_.find(extensionKey);
  return it == popular_.end() ? nullptr : it->second;
}

bool ManifestIndex::compressLists(std::string_view k) const {
  return compress_.count(k) != 0;
}
bool ManifestIndex::cropLists(std::string_view k) const {
  return crop_.count(k) != 0;
}
bool ManifestIndex::trimLists(std::string_view k) const {
  return trim_.count(k) != 0;
}

IndexedManifest::IndexedManifest(MenuManifest decoded, FileURL from)
    : manifest(std::move(decoded)), index(manifest), source(std::move(from)) {}

}  // namespace vdl
