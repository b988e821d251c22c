// Field-by-field decoding of the manifest document, with JSON paths in every
// failure so that a manifest author can find the fault.
#include "manifest/manifest_decoder.h"

#include <cmath>
#include <limits>
#include <optional>

#include "manifest/json_document.h"
#include "manifest/json_path.h"
#include "manifest/sound_manifest.h"

namespace vdl {
namespace {

using json = nlohmann::json;
using LK = MenuLabels::CodingKeys;
using MK = MenuManifest::CodingKeys;

std::string describeType(const json& v) {
  switch (v.type()) {
    case json::value_t::null:
      return "null";
    case json::value_t::boolean:
      return "a boolean";
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
    case json::value_t::number_float:
      return "a number";
    case json::value_t::string:
      return "a string";
    case json::value_t::array:
      return "an array";
    case json::value_t::object:
      return "an object";
    default:
      return "a value of another kind";
  }
}

// Reads values of the expected types, remembering the first failure.
class Reader {
 public:
  bool failed() const { return error_.has_value(); }
  DecodeError takeError() { return std::move(*error_); }

  bool fail(DecodeErrorCode code, std::string path, std::string reason) {
    if (!error_) error_ = DecodeError{code, std::move(path), std::move(reason)};
    return false;
  }
  bool wrongType(const LazyPath& path, std::string_view expected, const json& found) {
    return fail(DecodeErrorCode::wrongType, path.str(),
                "expected " + std::string(expected) + ", found " + describeType(found));
  }
  bool outOfRange(const LazyPath& path) {
    return fail(DecodeErrorCode::outOfRange, path.str(), "does not fit a signed 64-bit integer");
  }

  // A required member: missing and null both fail.
  json* required(json& object, const LazyPath& parent, std::string_view key) {
    auto it = object.find(std::string(key));
    if (it == object.end()) {
      return fail(DecodeErrorCode::missingKey, parent.member(key).str(), "required key is missing"),
             nullptr;
    }
    if (it->is_null()) {
      return fail(DecodeErrorCode::nullKey, parent.member(key).str(), "required key is null"),
             nullptr;
    }
    return &*it;
  }
  // An optional member: missing and null both mean absent.
  static json* optional(json& object, std::string_view key) {
    auto it = object.find(std::string(key));
    return it == object.end() || it->is_null() ? nullptr : &*it;
  }

  // Moves the text out of the document, which is read only once.
  bool text(json& v, const LazyPath& path, std::string& out) {
    if (!v.is_string()) return wrongType(path, "a string", v);
    out = std::move(v.get_ref<std::string&>());
    return true;
  }

  bool flag(const json& v, const LazyPath& path, bool& out) {
    if (!v.is_boolean()) return wrongType(path, "true or false", v);
    out = v.get<bool>();
    return true;
  }

  // Any number whose value is a whole number within the signed 64-bit range.
  bool integer(const json& v, const LazyPath& path, std::int64_t& out) {
    if (v.is_number_unsigned()) {
      auto u = v.get<std::uint64_t>();
      if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return outOfRange(path);
      }
      out = static_cast<std::int64_t>(u);
      return true;
    }
    if (v.is_number_integer()) {
      out = v.get<std::int64_t>();
      return true;
    }
    if (v.is_number_float()) {
      double d = v.get<double>();
      if (std::isnan(d)) return outOfRange(path);
      if (!std::isfinite(d) || std::trunc(d) != d) {
        return fail(DecodeErrorCode::notAnInteger, path.str(), "is not an integer");
      }
      // 2^63 is exact as a double; the range is [-2^63, 2^63).
      constexpr double kLimit = 9223372036854775808.0;
      if (d < -kLimit || d >= kLimit) return outOfRange(path);
      out = static_cast<std::int64_t>(d);
      return true;
    }
    return wrongType(path, "an integer", v);
  }

  template <class List>  // a vector of strings, or a target row
  bool textList(json& v, const LazyPath& path, List& out) {
    if (!v.is_array()) return wrongType(path, "an array of strings", v);
    out.clear();
    out.reserve(v.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
      std::string s;
      if (!text(v[i], path.element(i), s)) return false;
      out.emplace_back(std::move(s));
    }
    return true;
  }

 private:
  std::optional<DecodeError> error_;
};

bool decodeLabels(Reader& r, json& v, const LazyPath& path, MenuLabels& out) {
  if (!v.is_object()) return r.wrongType(path, "an object", v);
  auto requiredText = [&](LK key, std::string& field) {
    json* m = r.required(v, path, jsonKey(key));
    return m != nullptr && r.text(*m, path.member(jsonKey(key)), field);
  };
  auto optionalText = [&](LK key, std::optional<std::string>& field) {
    json* m = Reader::optional(v, jsonKey(key));
    if (m == nullptr) return true;
    field.emplace();
    return r.text(*m, path.member(jsonKey(key)), *field);
  };
  return requiredText(LK::convertTo, out.convertTo) && requiredText(LK::compress, out.compress) &&
         requiredText(LK::open, out.open) && requiredText(LK::balanced, out.balanced) &&
         requiredText(LK::smallest, out.smallest) && optionalText(LK::crop, out.crop) &&
         optionalText(LK::trim, out.trim) && optionalText(LK::adjust, out.adjust) &&
         requiredText(LK::needs, out.needs);
}

bool decodePopular(Reader& r, json& v, const LazyPath& path,
                   std::map<std::string, std::vector<std::string>>& out) {
  if (!v.is_object()) return r.wrongType(path, "an object of string arrays", v);
  for (auto& [key, list] : v.get_ref<json::object_t&>()) {
    if (!r.textList(list, path.member(key), out[key])) return false;
  }
  return true;
}

bool decodeTargets(Reader& r, json& v, const LazyPath& path,
                   std::map<std::string, std::vector<TargetRow>>& out) {
  if (!v.is_object()) return r.wrongType(path, "an object of arrays of string arrays", v);
  for (auto& [key, rows] : v.get_ref<json::object_t&>()) {
    const LazyPath rowsPath = path.member(key);
    if (!rows.is_array()) return r.wrongType(rowsPath, "an array of string arrays", rows);
    auto& decoded = out[key];
    decoded.resize(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (!r.textList(rows[i], rowsPath.element(i), decoded[i])) return false;
    }
  }
  return true;
}

// Reads `doc` once, moving its texts out.
bool decodeDocument(Reader& r, json& doc, MenuManifest& out) {
  if (!doc.is_object()) {
    return r.fail(DecodeErrorCode::notAnObject, "", "the top level is not an object");
  }
  const LazyPath root;
  auto path = [&](MK key) { return root.member(jsonKey(key)); };
  auto optionalList = [&](MK key, std::optional<std::vector<std::string>>& field) {
    json* m = Reader::optional(doc, jsonKey(key));
    if (m == nullptr) return true;
    field.emplace();
    return r.textList(*m, path(key), *field);
  };
  auto optionalFlag = [&](MK key, std::optional<bool>& field) {
    json* m = Reader::optional(doc, jsonKey(key));
    if (m == nullptr) return true;
    field.emplace();
    return r.flag(*m, path(key), *field);
  };

  json* m = r.required(doc, root, jsonKey(MK::version));
  if (m == nullptr || !r.integer(*m, path(MK::version), out.version)) return false;
  m = r.required(doc, root, jsonKey(MK::labels));
  if (m == nullptr || !decodeLabels(r, *m, path(MK::labels), out.labels)) return false;
  m = r.required(doc, root, jsonKey(MK::popular));
  if (m == nullptr || !decodePopular(r, *m, path(MK::popular), out.popular)) return false;
  m = r.required(doc, root, jsonKey(MK::targets));
  if (m == nullptr || !decodeTargets(r, *m, path(MK::targets), out.targets)) return false;
  m = r.required(doc, root, jsonKey(MK::compress));
  if (m == nullptr || !r.textList(*m, path(MK::compress), out.compress)) return false;
  return optionalList(MK::crop, out.crop) && optionalList(MK::trim, out.trim) &&
         optionalFlag(MK::enabled, out.enabled) &&
         optionalFlag(MK::compressEnabled, out.compressEnabled);
}

}  // namespace

const char* decodeErrorCodeName(DecodeErrorCode code) {
  switch (code) {
    case DecodeErrorCode::syntax:
      return "syntax";
    case DecodeErrorCode::tooDeep:
      return "tooDeep";
    case DecodeErrorCode::notAnObject:
      return "notAnObject";
    case DecodeErrorCode::missingKey:
      return "missingKey";
    case DecodeErrorCode::nullKey:
      return "nullKey";
    case DecodeErrorCode::wrongType:
      return "wrongType";
    case DecodeErrorCode::outOfRange:
      return "outOfRange";
    case DecodeErrorCode::notAnInteger:
      return "notAnInteger";
    case DecodeErrorCode::internal:
      return "internal";
  }
  return "internal";
}

Expected<MenuManifest, DecodeError> decodeManifest(std::string_view text) {
  // Most documents are sound: one pass, no document. The rest are judged below.
  if (auto sound = decodeSoundManifest(text)) return std::move(*sound);
  auto doc = parseJSONDocument(text);
  if (!doc) {
    return DecodeError{doc.error().tooDeep ? DecodeErrorCode::tooDeep : DecodeErrorCode::syntax, "",
                       doc.error().description};
  }
  Reader reader;
  MenuManifest manifest;
  try {
    if (!decodeDocument(reader, *doc, manifest)) return reader.takeError();
  } catch (const std::exception& e) {
    return DecodeError{DecodeErrorCode::internal, "", std::string("could not decode: ") + e.what()};
  }
  return manifest;
}

}  // namespace vdl
