// A SAX pass that fills the manifest as the text goes by, and gives up at the
// first thing that is not plainly sound: the full decoder, which builds a
// document first, then finds and names the fault.
#include "manifest/sound_manifest.h"

#include <bitset>
#include <cstdint>
#include <limits>
#include <vector>

#include <nlohmann/json.hpp>

#include "manifest/json_document.h"

namespace vdl {
namespace {

using json = nlohmann::json;
using LK = MenuLabels::CodingKeys;
using MK = MenuManifest::CodingKeys;

template <class Key, std::size_t N>
std::optional<Key> keyNamed(const std::string& name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (jsonKey(static_cast<Key>(i)) == name) return static_cast<Key>(i);
  }
  return std::nullopt;
}

class SoundBuilder final : public nlohmann::json_sax<json> {
 public:
  bool null() override { return scalar(Value::null); }
  bool boolean(bool v) override {
    flag_ = v;
    return scalar(Value::boolean);
  }
  bool number_integer(number_integer_t v) override {
    integer_ = v;
    return scalar(Value::integer);
  }
  bool number_unsigned(number_unsigned_t v) override {
    if (v > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return false;
    integer_ = static_cast<std::int64_t>(v);
    return scalar(Value::integer);
  }
  bool number_float(number_float_t, const string_t&) override { return scalar(Value::other); }
  bool string(string_t& v) override {
    text_ = &v;
    return scalar(Value::string);
  }
  bool binary(binary_t&) override { return false; }
  bool key(string_t& k) override {
    key_ = std::move(k);
    return true;
  }
  bool start_object(std::size_t) override { return open(Value::object); }
  bool start_array(std::size_t) override { return open(Value::array); }
  bool end_object() override { return close(); }
  bool end_array() override { return close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    return false;
  }

  // The manifest, once the text has ended with every required key.
  std::optional<MenuManifest> take() {
    constexpr auto kRequiredLabels =
        (1u << static_cast<int>(LK::convertTo)) | (1u << static_cast<int>(LK::compress)) |
        (1u << static_cast<int>(LK::open)) | (1u << static_cast<int>(LK::balanced)) |
        (1u << static_cast<int>(LK::smallest)) | (1u << static_cast<int>(LK::needs));
    for (MK k : {MK::version, MK::labels, MK::popular, MK::targets, MK::compress}) {
      if (!top_.test(static_cast<std::size_t>(k))) return std::nullopt;
    }
    if ((labels_.to_ulong() & kRequiredLabels) != kRequiredLabels) return std::nullopt;
    return std::move(manifest_);
  }

 private:
  enum class Value { null, boolean, integer, string, object, array, other };
  enum class Frame { top, labels, popular, targets, rows, strings, skipped };
  struct Open {
    Frame frame;
    std::vector<std::string>* strings = nullptr;
    std::vector<TargetRow>* rows = nullptr;
  };

  bool open(Value v) {
    if (stack_.size() >= kMaxJSONDepth) return false;
    if (stack_.empty()) {
      if (v != Value::object) return false;
      stack_.push_back({Frame::top});
      return true;
    }
    return place(v);
  }
  bool close() {
    stack_.pop_back();
    return true;
  }
  bool scalar(Value v) { return !stack_.empty() && place(v); }

  // Whether the key of an object is seen for the first time.
  template <std::size_t N>
  static bool first(std::bitset<N>& seen, std::size_t key) {
    if (seen.test(key)) return false;
    seen.set(key);
    return true;
  }

  // A value at the place the parser is at.
  bool place(Value v) {
    Open& at = stack_.back();
    switch (at.frame) {
      case Frame::skipped:
        if (v == Value::object || v == Value::array) stack_.push_back({Frame::skipped});
        return true;
      case Frame::top:
        return topLevel(v);
      case Frame::labels:
        return label(v);
      case Frame::popular: {
        auto [it, inserted] = manifest_.popular.try_emplace(key_);
        if (!inserted || v != Value::array) return false;
        stack_.push_back({Frame::strings, &it->second});
        return true;
      }
      case Frame::targets: {
        auto [it, inserted] = manifest_.targets.try_emplace(key_);
        if (!inserted || v != Value::array) return false;
        stack_.push_back({Frame::rows, nullptr, &it->second});
        return true;
      }
      case Frame::rows:
        if (v != Value::array) return false;
        at.rows->emplace_back();
        stack_.push_back({Frame::strings, &at.rows->back()});
        return true;
      case Frame::strings:
        if (v != Value::string) return false;
        at.strings->push_back(std::move(*text_));
        return true;
    }
    return false;
  }

  bool topLevel(Value v) {
    auto k = keyNamed<MK, 9>(key_);
    if (!k) {  // not the manifest's: passed over
      if (v == Value::object || v == Value::array) stack_.push_back({Frame::skipped});
      return true;
    }
    if (!first(top_, static_cast<std::size_t>(*k))) return false;
    auto list = [&](std::optional<std::vector<std::string>>& field) {
      if (v == Value::null) return true;
      if (v != Value::array) return false;
      stack_.push_back({Frame::strings, &field.emplace()});
      return true;
    };
    auto flag = [&](std::optional<bool>& field) {
      if (v == Value::boolean) field = flag_;
      return v == Value::boolean || v == Value::null;
    };
    switch (*k) {
      case MK::version:
        manifest_.version = integer_;
        return v == Value::integer;
      case MK::labels:
        if (v != Value::object) return false;
        stack_.push_back({Frame::labels});
        return true;
      case MK::popular:
      case MK::targets:
        if (v != Value::object) return false;
        stack_.push_back({*k == MK::popular ? Frame::popular : Frame::targets});
        return true;
      case MK::compress:
        if (v != Value::array) return false;
        stack_.push_back({Frame::strings, &manifest_.compress});
        return true;
      case MK::crop:
        return list(manifest_.crop);
      case MK::trim:
        return list(manifest_.trim);
      case MK::enabled:
        return flag(manifest_.enabled);
      case MK::compressEnabled:
        return flag(manifest_.compressEnabled);
    }
    return false;
  }

  bool label(Value v) {
    auto k = keyNamed<LK, 9>(key_);
    if (!k) {
      if (v == Value::object || v == Value::array) stack_.push_back({Frame::skipped});
      return true;
    }
    if (!first(labels_, static_cast<std::size_t>(*k))) return false;
    MenuLabels& l = manifest_.labels;
    auto optional = [&](std::optional<std::string>& field) {
      if (v == Value::string) field = std::move(*text_);
      return v == Value::string || v == Value::null;
    };
    auto required = [&](std::string& field) {
      if (v == Value::string) field = std::move(*text_);
      return v == Value::string;
    };
    switch (*k) {
      case LK::convertTo:
        return required(l.convertTo);
      case LK::compress:
        return required(l.compress);
      case LK::open:
        return required(l.open);
      case LK::balanced:
        return required(l.balanced);
      case LK::smallest:
        return required(l.smallest);
      case LK::crop:
        return optional(l.crop);
      case LK::trim:
        return optional(l.trim);
      case LK::adjust:
        return optional(l.adjust);
      case LK::needs:
        return required(l.needs);
    }
    return false;
  }

  MenuManifest manifest_;
  std::vector<Open> stack_;
  std::string key_;
  std::string* text_ = nullptr;
  std::int64_t integer_ = 0;
  bool flag_ = false;
  std::bitset<9> top_, labels_;
};

}  // namespace

std::optional<MenuManifest> decodeSoundManifest(std::string_view text) {
  try {
    SoundBuilder builder;
    if (!json::sax_parse(text.begin(), text.end(), &builder, json::input_format_t::json,
                         /*strict=*/true, /*ignore_comments=*/false)) {
      return std::nullopt;
    }
    return builder.take();
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace vdl
