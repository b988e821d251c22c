// A SAMPLE stand-in for the host application, installed as the AppRun of the
// sample Vandrel.AppDir. It takes the quick URL, finds the request in the
// shared folder, checks it, reports it on stderr (it is started with a null
// stdout, as a desktop launcher starts programs) and removes it, as the real
// host application would before converting anything.
//
//   AppRun vandrel://quick?id=<request id>
//
// The shared folder is the one below the user's home, unless
// $VANDREL_SHARED_FOLDER names another: the command-line host sets it when it
// runs against a home of its own (--home), which a program woken with nothing
// but the quick URL can't learn otherwise. Nothing else reads it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "dispatch/quick_url.h"
#include "extension/host_face.h"
#include "platform/linux/system_platform.h"
#include "text/unicode_text.h"

namespace {

// No request document comes near this; a larger file is not one.
constexpr std::size_t kMaxRequestBytes = 16 << 20;

int fail(const std::string& why) {
  std::cerr << "sample receiver: " << vdl::text::printable(why) << "\n";
  return 1;
}

// The request file's content. Never follows a symbolic link, never blocks on
// a FIFO or device, and never reads more than kMaxRequestBytes.
std::optional<std::string> readRequest(const std::string& path, std::string& why) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    why = std::string("can't open ") + path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  struct stat st {};
  std::string content;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    why = path + ": not a regular file";
  } else {
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && content.size() <= kMaxRequestBytes) {
      content.append(buffer, static_cast<std::size_t>(n));
    }
    if (n < 0) why = std::string("can't read ") + path + ": " + std::strerror(errno);
    if (content.size() > kMaxRequestBytes) why = path + ": larger than a request can be";
  }
  ::close(fd);
  if (!why.empty()) return std::nullopt;
  return content;
}

// The extension's own rule, from the system's user database.
vdl::FileURL sharedFolder() {
  if (const char* folder = std::getenv("VANDREL_SHARED_FOLDER"); folder && *folder) {
    return vdl::FileURL::fileURLWithPath(folder, true);
  }
  vdl::linux_platform::SystemPlatform system({});
  return vdl::sharedFolderURL(system.users(), vdl::hostBundleIdentifier());
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
  if (argc != 2) return fail("usage: AppRun vandrel://quick?id=<request id>");
  auto parsed = vdl::requestIDFromQuickURL(argv[1]);
  if (!parsed) {
    return fail(std::string("not a quick URL with a request id (a lower-case UUID): ") + argv[1]);
  }
  const std::string& id = *parsed;

  std::string path = vdl::requestFile(sharedFolder(), id).path();
  std::string why;
  auto content = readRequest(path, why);
  if (!content) return fail(why);

  nlohmann::json request = nlohmann::json::parse(*content, nullptr, false);
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
  out << "sample receiver: request " << id << ": " << vdl::text::printable(what) << ", "
      << files.size() << (files.size() == 1 ? " file" : " files") << "\n";
  for (const auto& f : files) out << "  " << vdl::text::printable(f.get<std::string>()) << "\n";
  std::cerr << out.str() << std::flush;

  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  return 0;
}
