// Building and serialising a request.
#include "dispatch/request_document.h"

#include <nlohmann/json.hpp>

#include "text/unicode_text.h"

namespace vdl {
namespace {

// The action object of a choice: {"action": "convert", "format": ...} and so on.
nlohmann::json actionObject(const Choice& choice) {
  using K = Choice::Kind;
  switch (choice.kind) {
    case K::convert:
      return {{"action", "convert"}, {"format", choice.format}};
    case K::compress:
      return {{"action", "compress"}, {"preset", choice.preset}};
    case K::open:
      return {{"action", "open"}};
    case K::crop:
      return {{"action", "crop"}};
    case K::trim:
      return {{"action", "trim"}};
  }
  return {{"action", "open"}};
}

}  // namespace

Expected<std::string> requestDocument(const std::string& id, double createdAt, const Choice& choice,
                                      const SelectedFiles& files) {
  nlohmann::json paths = nlohmann::json::array();
  auto& list = paths.get_ref<nlohmann::json::array_t&>();
  list.reserve(files.size());
  for (auto path : files) {
    if (!text::isValidUTF8(path)) {
      // Shown with the bad bytes replaced, so that the log line stays text.
      std::string shown =
          nlohmann::json(path).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
      return Error{"the path " + shown + " is not valid UTF-8"};
    }
    list.emplace_back(path);
  }
  // The list is moved in: an initializer list would copy every path again.
  nlohmann::json request = {{"id", id}, {"createdAt", createdAt}, {"action", actionObject(choice)}};
  request["files"] = std::move(paths);
  try {
    return request.dump();
  } catch (const nlohmann::json::exception& e) {
    return Error{std::string("the request can't be written as JSON: ") + e.what()};
  }
}

}  // namespace vdl
