// A manifest indexed once, when it is decoded, under normalised keys, so that
// a menu request costs one lookup per distinct extension however large the
// manifest is.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "manifest/menu_manifest.h"
#include "platform/file_url.h"

namespace vdl {

// The key under which a file's extension is looked up: lower-cased, then
// composed (NFC). A manifest's keys are looked up composed, as written.
std::string extensionKey(std::string_view extension);

// One format of an extension's target map.
struct TargetEntry {
  std::string key;      // the format's composed (NFC) form: what equality and order use
  std::string format;   // the format as the manifest spells it
  std::string tool;     // empty when no extra tool is needed
  std::string toolKey;  // the tool's composed (NFC) form: what tool equality uses
};

// The entry of a target map with the composed format `key`, or null.
const TargetEntry* findTarget(const std::vector<TargetEntry>& map, const std::string& key);

class ManifestIndex {
 public:
  // Keys that are canonically equivalent but spelled differently merge; the
  // one that sorts last by its bytes wins.
  explicit ManifestIndex(const MenuManifest& manifest);

  // The target map of an extension given by its NFC form: each format once
  // (a later row's tool replaces an earlier one), in ascending order. Null
  // when the manifest has no such key.
  const std::vector<TargetEntry>* targets(const std::string& extensionKey) const;
  // The popular list of an extension, as written. Null when absent.
  const std::vector<std::string>* popular(const std::string& extensionKey) const;

  bool compressLists(const std::string& extensionKey) const;
  bool hasCropList() const { return hasCrop_; }
  bool cropLists(const std::string& extensionKey) const;
  bool hasTrimList() const { return hasTrim_; }
  bool trimLists(const std::string& extensionKey) const;

 private:
  std::unordered_map<std::string, std::vector<TargetEntry>> targets_;
  std::unordered_map<std::string, std::vector<std::string>> popular_;
  std::unordered_set<std::string> compress_, crop_, trim_;
  bool hasCrop_ = false;
  bool hasTrim_ = false;
};

// A decoded manifest with its index, shared immutably between the cache and
// its callers so that a cache hit copies nothing.
struct IndexedManifest {
  explicit IndexedManifest(MenuManifest decoded, FileURL from);
  IndexedManifest(const IndexedManifest&) = delete;
  IndexedManifest& operator=(const IndexedManifest&) = delete;

  const MenuManifest manifest;
  const ManifestIndex index;
  // The file it was read from.
  const FileURL source;
};

using ManifestSnapshot = std::shared_ptr<const IndexedManifest>;

}  // namespace vdl
