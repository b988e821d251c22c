// Driving the extension object from the command line.
#include "hosts/cli/host.h"

#include <glib.h>

#include <cstdlib>
#include <filesystem>

namespace vdl::cli {

Expected<FileURL> selectionURL(const std::string& argument) {
  if (argument.empty()) return Error{"an empty PATH"};
  if (argument.rfind("file:", 0) == 0) {
    GError* error = nullptr;
    gchar* host = nullptr;
    gchar* path = g_filename_from_uri(argument.c_str(), &host, &error);
    if (path == nullptr) {
      std::string why = error->message;
      g_error_free(error);
      return Error{"not a local file URL: " + argument + " (" + why + ")"};
    }
    bool local = host == nullptr || namesThisMachine(host);
    FileURL url = FileURL::fileURLWithPath(path);
    g_free(host);
    g_free(path);
    if (!local) return Error{"not a local file URL: " + argument + " (names another host)"};
    return url;
  }
  auto absolute = absolutePath(argument);
  if (!absolute) return absolute.error();
  return FileURL::fileURLWithPath(*absolute);
}

Expected<std::string> absolutePath(const std::string& path) {
  if (path.empty()) return Error{"an empty path"};
  if (path.front() == '/') return path;
  // Never collapsed lexically: "link/../x" is whatever the system finds there.
  std::error_code ec;
  auto cwd = std::filesystem::current_path(ec);
  if (ec) return Error{"can't resolve " + path + ": " + ec.message()};
  return cwd.string() + "/" + path;
}

FileURL defaultBundle() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  auto dir = exe.parent_path();
  const std::filesystem::path inside = "Vandrel.AppDir/usr/lib/finder-sync";
  auto installed = dir / "../lib/vandrel" / inside;
  auto built = dir / inside;
  auto chosen =
      !std::filesystem::exists(installed) && std::filesystem::exists(built) ? built : installed;
  return FileURL::fileURLWithPath(chosen.lexically_normal().string(), true);
}

Host::Host(std::optional<std::string> home, const FileURL& bundle)
    : platform_(home, bundle), extension_(std::make_unique<VDLFinderSync>(platform_.platform)) {
  // A home of our own (--home) puts the shared folder where the sample
  // receiver, woken with nothing but the quick URL, can't find it by the
  // user database's rule: it reads this, and nothing else does.
  if (home) ::setenv("VANDREL_SHARED_FOLDER", extension_->sharedFolder().path().c_str(), 1);
}

Status Host::select(const std::optional<std::vector<std::string>>& arguments) {
  if (!arguments) {
    platform_.finder.selection = nullptr;
    return Status::success();
  }
  auto items = std::make_shared<SelectedItemList>();
  for (const auto& a : *arguments) {
    auto url = selectionURL(a);
    if (!url) return url.error();
    items->addFile(url->path());
  }
  platform_.finder.selection = std::move(items);
  return Status::success();
}

std::optional<FileURL> Host::manifestFileInForce() {
  return extension_->manifestCache().fileInForce(platform_.system.files(),
                                                 platform_.system.bundle());
}

ChooseOutcome Host::choose(std::int64_t tag) {
  platform_.clearRecords();
  MenuItem item;
  item.tag = tag;
  auto id = extension_->publishChoice(item);
  platform_.waitForOpenings();

  ChooseOutcome outcome;
  if (id) outcome.request = requestFile(extension_->sharedFolder(), *id).path();
  outcome.opened = platform_.workspace.openings;
  outcome.log = platform_.log.lines;
  return outcome;
}

nlohmann::json outcomeJSON(const ChooseOutcome& o) {
  nlohmann::json opened = nlohmann::json::array();
  for (const auto& r : o.opened) {
    opened.push_back({{"url", r.url},
                      {"application", r.application ? nlohmann::json(*r.application) : nullptr},
                      {"completed", r.completed},
                      {"error", r.error ? nlohmann::json(*r.error) : nullptr}});
  }
  return {{"request", o.request ? nlohmann::json(*o.request) : nullptr},
          {"opened", opened},
          {"log", o.log}};
}

std::string outcomeText(const ChooseOutcome& o) {
  std::string out;
  if (o.request) {
    out += "published " + *o.request + "\n";
  } else if (o.log.empty()) {
    out += "no choice: nothing was published\n";
  } else {
    out += "not published\n";
  }
  for (const auto& r : o.opened) {
    out += "opened " + r.url + (r.application ? " with " + *r.application : " through its handler");
    if (!r.completed) {
      out += ": no answer yet";
    } else if (r.error) {
      out += ": failed: " + *r.error;
    }
    out += "\n";
  }
  for (const auto& line : o.log) out += "log: " + line + "\n";
  return out;
}

}  // namespace vdl::cli
