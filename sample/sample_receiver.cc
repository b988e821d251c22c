// A SAMPLE stand-in for the host application, installed as the AppRun of the
// sample Vandrel.AppDir. It takes the quick URL, finds the request in the
// shared folder, checks it, prints it and removes it, as the real host
// application would before converting anything.
//
//   AppRun vandrel://quick?id=<request id>
//
// The shared folder is $VANDREL_SHARED_FOLDER when set (the command-line host
// sets it when told of another home), else the one below the user's home.
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

namespace {

constexpr std::string_view kPrefix = "vandrel://quick?id=";

int fail(const std::string& why) {
  std::cerr << "sample receiver: " << why << "\n";
  return 1;
}

bool isRequestID(const std::string& id) {
  if (id.size() != 36) return false;
  for (std::size_t i = 0; i < id.size(); ++i) {
    char c = id[i];
    bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
    if (hyphen ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::string sharedFolder() {
  if (const char* folder = std::getenv("VANDREL_SHARED_FOLDER"); folder && *folder) return folder;
  const struct passwd* entry = ::getpwuid(::getuid());
  std::string home = entry && entry->pw_dir ? entry->pw_dir : "/";
  return home + "/Library/Application Support/" VANDREL_HOST_BUNDLE_ID "/FinderSync";
}

// What the request asks for, in words, or empty when the action is malformed.
std::string describe(const nlohmann::json& action) {
  if (!action.is_object() || !action.contains("action") || !action["action"].is_string()) return {};
  std::string kind = action["action"];
  auto text = [&](const char* key) {
    return action.contains(key) && action[key].is_string() ? action[key].get<std::string>()
                                                           : std::string();
  };
  if (kind == "convert" && !text("format").empty()) return "convert to " + text("format");
  if (kind == "compress" && !text("preset").empty())
    return "compress (preset " + text("preset") + ")";
  if (kind == "open" || kind == "crop" || kind == "trim") return kind;
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::string_view(argv[1]).substr(0, kPrefix.size()) != kPrefix) {
    return fail("usage: AppRun vandrel://quick?id=<request id>");
  }
  std::string id(std::string_view(argv[1]).substr(kPrefix.size()));
  if (!isRequestID(id)) return fail("not a request id: " + id);

  std::string path = sharedFolder() + "/requests/" + id + ".json";
  std::ifstream in(path, std::ios::binary);
  if (!in) return fail("no request at " + path);
  std::stringstream content;
  content << in.rdbuf();
  in.close();

  nlohmann::json request = nlohmann::json::parse(content.str(), nullptr, false);
  if (!request.is_object() || request.size() != 4) return fail(path + ": not a request document");
  if (request.value("id", "") != id) return fail(path + ": its id is not " + id);
  if (!request["createdAt"].is_number()) return fail(path + ": createdAt is not a number");
  std::string what = describe(request["action"]);
  if (what.empty()) return fail(path + ": the action is malformed");
  const auto& files = request["files"];
  if (!files.is_array() || files.empty()) return fail(path + ": files is not a list of paths");
  for (const auto& f : files) {
    if (!f.is_string()) return fail(path + ": files is not a list of paths");
  }

  std::ostringstream out;
  out << "sample receiver: request " << id << ": " << what << ", " << files.size()
      << (files.size() == 1 ? " file" : " files") << "\n";
  for (const auto& f : files) out << "  " << f.get<std::string>() << "\n";
  std::cout << out.str() << std::flush;

  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  return 0;
}
