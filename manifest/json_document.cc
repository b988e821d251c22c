// A SAX handler that builds the document itself, refusing depth past a bound.
#include "manifest/json_document.h"

#include <limits>
#include <vector>

namespace vdl {
namespace {

using json = nlohmann::json;

class BoundedBuilder final : public nlohmann::json_sax<json> {
 public:
  explicit BoundedBuilder(std::size_t maxDepth) : maxDepth_(maxDepth) {}

  bool null() override { return put(json(nullptr)) != nullptr; }
  bool boolean(bool v) override { return put(json(v)) != nullptr; }
  bool number_integer(number_integer_t v) override { return put(json(v)) != nullptr; }
  bool number_unsigned(number_unsigned_t v) override { return put(json(v)) != nullptr; }
  bool number_float(number_float_t v, const string_t& literal) override {
    // An integer literal too large for 64 bits arrives here rounded; keep it
    // as NaN (which JSON can't otherwise hold) so that no integer reader
    // mistakes it for a value in range.
    if (literal.find_first_of(".eE") == string_t::npos) {
      v = std::numeric_limits<number_float_t>::quiet_NaN();
    }
    return put(json(v)) != nullptr;
  }
  bool string(string_t& v) override { return put(json(std::move(v))) != nullptr; }
  bool binary(binary_t&) override { return fail("binary values are not JSON"); }

  bool start_object(std::size_t) override { return open(json::object()); }
  bool key(string_t& k) override {
    key_ = std::move(k);
    return true;
  }
  bool end_object() override { return close(); }
  bool start_array(std::size_t) override { return open(json::array()); }
  bool end_array() override { return close(); }

  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
    // Drop the library's "[json.exception.parse_error.101] " tag; keep its words.
    std::string what = e.what();
    auto tag = what.find("] ");
    return fail(tag == std::string::npos ? what : what.substr(tag + 2));
  }

  json& root() { return root_; }
  const std::string& error() const { return error_; }
  bool tooDeep() const { return tooDeep_; }

 private:
  // Places a value where the parser is: the root, the end of an array, or the
  // member named by the last key.
  json* put(json&& value) {
    if (stack_.empty()) {
      root_ = std::move(value);
      return &root_;
    }
    json& parent = *stack_.back();
    if (parent.is_array()) {
      parent.get_ref<json::array_t&>().push_back(std::move(value));
      return &parent.get_ref<json::array_t&>().back();
    }
    json& slot = parent.get_ref<json::object_t&>()[key_];
    slot = std::move(value);
    return &slot;
  }

  bool open(json&& container) {
    if (stack_.size() >= maxDepth_) {
      tooDeep_ = true;
      return fail("nesting deeper than " + std::to_string(maxDepth_) + " levels");
    }
    json* placed = put(std::move(container));
    stack_.push_back(placed);
    return true;
  }

  bool close() {
    stack_.pop_back();
    return true;
  }

  bool fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
    return false;
  }

  std::size_t maxDepth_;
  json root_;
  std::vector<json*> stack_;
  std::string key_;
  std::string error_;
  bool tooDeep_ = false;
};

}  // namespace

Expected<json, JSONError> parseJSONDocument(std::string_view text, std::size_t maxDepth) {
  BoundedBuilder builder(maxDepth);
  bool ok = false;
  try {
    ok = json::sax_parse(text.begin(), text.end(), &builder, json::input_format_t::json,
                         /*strict=*/true, /*ignore_comments=*/false);
  } catch (const std::exception& e) {
    return JSONError{false, std::string("not JSON: ") + e.what()};
  }
  if (!ok) {
    std::string why = builder.error().empty() ? "not JSON" : builder.error();
    return JSONError{builder.tooDeep(), why};
  }
  return std::move(builder.root());
}

}  // namespace vdl
