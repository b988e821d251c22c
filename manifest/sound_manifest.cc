// One pass over a parsed document straight into the manifest, giving up at the
// first thing that is not plainly sound: the full decoder then finds and
// names the fault.
#include "manifest/sound_manifest.h"

#include <bitset>
#include <cstdint>
#include <tuple>

#include <simdjson.h>

namespace vdl {
namespace {

namespace dom = simdjson::dom;
using LK = MenuLabels::CodingKeys;
using MK = MenuManifest::CodingKeys;

// The parser picks its implementation for this processor on first use and
// keeps it in function-local statics, which the process destroys at exit in
// the reverse order of their first use. Picking it as the library loads keeps
// it alive past the exit handler that finishes the last clicks, which may
// still decode a manifest.
[[maybe_unused]] const bool kImplementationPicked = simdjson::validate_utf8("", 0);

// Deeper documents go to the full decoder, which has its own bound; a
// manifest nests four levels.
constexpr std::size_t kSoundDepth = 32;

template <class Key, std::size_t N>
std::optional<Key> keyNamed(std::string_view name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (jsonKey(static_cast<Key>(i)) == name) return static_cast<Key>(i);
  }
  return std::nullopt;
}

// Whether the key of an object is seen for the first time.
template <std::size_t N, class Key>
bool first(std::bitset<N>& seen, Key key) {
  const auto i = static_cast<std::size_t>(key);
  if (seen.test(i)) return false;
  seen.set(i);
  return true;
}

bool isNull(dom::element e) {
  return e.type() == dom::element_type::NULL_VALUE;
}

template <class List>  // a vector of strings, or a target row
bool strings(dom::element e, List& out) {
  dom::array list;
  if (e.get_array().get(list)) return false;
  out.reserve(list.size());
  for (dom::element item : list) {
    std::string_view text;
    if (item.get_string().get(text)) return false;
    out.emplace_back(text);
  }
  return true;
}

// An object of string lists (popular) or of lists of string lists (targets).
template <class Value, class Fill>
bool members(dom::element e, std::map<std::string, Value>& out, Fill fill) {
  dom::object object;
  if (e.get_object().get(object)) return false;
  for (auto [key, value] : object) {
    // Writers list keys in order, so the end is nearly always the place.
    const std::size_t before = out.size();
    auto it = out.emplace_hint(out.end(), std::piecewise_construct, std::forward_as_tuple(key),
                               std::forward_as_tuple());
    if (out.size() == before || !fill(value, it->second)) return false;  // a duplicate key
  }
  return true;
}

bool rows(dom::element e, std::vector<TargetRow>& out) {
  dom::array list;
  if (e.get_array().get(list)) return false;
  out.reserve(list.size());
  for (dom::element row : list) {
    if (!strings(row, out.emplace_back())) return false;
  }
  return true;
}

bool labels(dom::element e, MenuLabels& l) {
  dom::object object;
  if (e.get_object().get(object)) return false;
  std::bitset<9> seen;
  for (dom::key_value_pair pair : object) {
    const dom::element value = pair.value;
    const auto k = keyNamed<LK, 9>(pair.key);
    if (!k) continue;  // not the manifest's: passed over
    if (!first(seen, *k)) return false;
    std::string_view text;
    const bool isString = !value.get_string().get(text);
    auto optional = [&](std::optional<std::string>& field) {
      if (isString) field.emplace(text);
      return isString || isNull(value);
    };
    auto required = [&](std::string& field) {
      field = text;
      return isString;
    };
    bool ok = false;
    switch (*k) {
      case LK::convertTo:
        ok = required(l.convertTo);
        break;
      case LK::compress:
        ok = required(l.compress);
        break;
      case LK::open:
        ok = required(l.open);
        break;
      case LK::balanced:
        ok = required(l.balanced);
        break;
      case LK::smallest:
        ok = required(l.smallest);
        break;
      case LK::crop:
        ok = optional(l.crop);
        break;
      case LK::trim:
        ok = optional(l.trim);
        break;
      case LK::adjust:
        ok = optional(l.adjust);
        break;
      case LK::needs:
        ok = required(l.needs);
        break;
    }
    if (!ok) return false;
  }
  for (LK k : {LK::convertTo, LK::compress, LK::open, LK::balanced, LK::smallest, LK::needs}) {
    if (!seen.test(static_cast<std::size_t>(k))) return false;
  }
  return true;
}

bool member(MK k, dom::element value, MenuManifest& m) {
  auto list = [&](std::optional<std::vector<std::string>>& field) {
    return isNull(value) || strings(value, field.emplace());
  };
  auto flag = [&](std::optional<bool>& field) {
    bool v = false;
    if (value.get_bool().get(v)) return isNull(value);
    field = v;
    return true;
  };
  switch (k) {
    case MK::version:
      return value.type() == dom::element_type::INT64 && !value.get_int64().get(m.version);
    case MK::labels:
      return labels(value, m.labels);
    case MK::popular:
      return members(value, m.popular, strings<std::vector<std::string>>);
    case MK::targets:
      return members(value, m.targets, rows);
    case MK::compress:
      return strings(value, m.compress);
    case MK::crop:
      return list(m.crop);
    case MK::trim:
      return list(m.trim);
    case MK::enabled:
      return flag(m.enabled);
    case MK::compressEnabled:
      return flag(m.compressEnabled);
  }
  return false;
}

}  // namespace

std::optional<MenuManifest> decodeSoundManifest(std::string_view text) {
  dom::parser parser;
  dom::element root;
  dom::object top;
  if (parser.allocate(text.size(), kSoundDepth) ||
      parser.parse(text.data(), text.size()).get(root) || root.get_object().get(top)) {
    return std::nullopt;
  }
  MenuManifest m;
  std::bitset<9> seen;
  for (auto [name, value] : top) {
    const auto k = keyNamed<MK, 9>(name);
    if (!k) continue;  // not the manifest's: passed over
    if (!first(seen, *k) || !member(*k, value, m)) return std::nullopt;
  }
  for (MK k : {MK::version, MK::labels, MK::popular, MK::targets, MK::compress}) {
    if (!seen.test(static_cast<std::size_t>(k))) return std::nullopt;
  }
  return m;
}

}  // namespace vdl
