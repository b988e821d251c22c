// The JSON-lines session.
#include "hosts/cli/session.h"

#include "hosts/cli/menu_render.h"

namespace vdl::cli {
namespace {

nlohmann::json error(const std::string& why) {
  return {{"error", why}};
}

}  // namespace

std::string dumpLine(const nlohmann::json& value) {
  return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

nlohmann::json sessionReply(Host& host, const std::string& line) {
  auto command = nlohmann::json::parse(line, nullptr, /*allow_exceptions=*/false);
  if (command.is_discarded()) return error("not a JSON line");
  if (!command.is_object() || command.size() != 1) {
    return error("expected an object with one of \"select\", \"menu\", \"choose\"");
  }
  // Bind to the object's own element: items() yields proxies that die with
  // the full expression.
  const auto entry = command.begin();
  const std::string& name = entry.key();
  const nlohmann::json& value = entry.value();
  if (name == "select") {
    if (value.is_null()) {
      (void)host.select(std::nullopt);
      return {{"ok", true}};
    }
    if (!value.is_array()) return error("\"select\" takes an array of paths, or null");
    std::vector<std::string> paths;
    for (const auto& p : value) {
      if (!p.is_string()) return error("\"select\" takes an array of paths, or null");
      paths.push_back(p.get<std::string>());
    }
    if (auto s = host.select(paths); !s) return error(s.error().description);
    return {{"ok", true}};
  }
  if (name == "menu") {
    if (!value.is_number_unsigned()) return error("\"menu\" takes a menu kind: 0, 1, 2, ...");
    return {{"menu", menuJSON(host.menu(value.get<std::uint64_t>()))}};
  }
  if (name == "choose") {
    if (!value.is_number_integer()) return error("\"choose\" takes an integer tag");
    return outcomeJSON(host.choose(value.get<std::int64_t>()));
  }
  return error("unknown command \"" + name + "\"");
}

void runSession(Host& host, std::istream& in, std::ostream& out) {
  std::string line;
  while (std::getline(in, line)) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    nlohmann::json reply;
    try {
      reply = sessionReply(host, line);
    } catch (const std::exception& e) {
      reply = error(e.what());
    }
    out << dumpLine(reply) << "\n" << std::flush;
  }
}

}  // namespace vdl::cli
