// The doctor's questions to the system, on /proc, the loader, GLib and GIO.
#include "hosts/cli/doctor/probes.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

namespace vdl::cli {
namespace {

template <class T>
using GPtr = std::unique_ptr<T, void (*)(gpointer)>;

// The numbers of a version's upstream part: "4:22.12.3-1" gives 22, 12, 3.
std::vector<long> versionNumbers(std::string version) {
  if (auto colon = version.find(':'); colon != std::string::npos) version.erase(0, colon + 1);
  if (auto dash = version.rfind('-'); dash != std::string::npos) version.erase(dash);
  std::vector<long> numbers;
  std::stringstream parts(version);
  for (std::string part; std::getline(parts, part, '.');) {
    numbers.push_back(std::strtol(part.c_str(), nullptr, 10));
  }
  return numbers;
}

// When the system booted, and how long a clock tick of /proc is.
std::optional<std::int64_t> bootTime() {
  std::ifstream stat("/proc/stat");
  for (std::string line; std::getline(stat, line);) {
    if (line.rfind("btime ", 0) == 0) return std::strtoll(line.c_str() + 6, nullptr, 10);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> packageVersion(const std::string& package) {
  gchar* out = nullptr;
  gint status = 0;
  const gchar* argv[] = {"dpkg-query", "--show", "--showformat=${Version}", package.c_str(),
                         nullptr};
  if (!g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr,
                    static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL),
                    nullptr, nullptr, &out, nullptr, &status, nullptr)) {
    return std::nullopt;
  }
  std::string version = out ? out : "";
  g_free(out);
  if (!g_spawn_check_wait_status(status, nullptr) || version.empty()) return std::nullopt;
  return version;
}

bool versionAtLeast(const std::string& version, const std::string& minimum) {
  auto have = versionNumbers(version);
  auto need = versionNumbers(minimum);
  have.resize(std::max(have.size(), need.size()));
  need.resize(have.size());
  return have >= need;
}

Status loadsInChild(const std::string& path, const std::vector<std::string>& entryPoints) {
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return Error{std::strerror(errno)};
  pid_t child = ::fork();
  if (child < 0) {
    ::close(report[0]);
    ::close(report[1]);
    return Error{std::string("can't start a process: ") + std::strerror(errno)};
  }
  if (child == 0) {
    // Only what is safe after fork: the loader, then a report and the end.
    ::close(report[0]);
    ::alarm(10);
    auto fail = [&](const char* why) {
      (void)!::write(report[1], why, std::strlen(why));
      ::_exit(1);
    };
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) fail(::dlerror());
    for (const auto& name : entryPoints) {
      if (::dlsym(module, name.c_str()) == nullptr) fail(::dlerror());
    }
    ::_exit(0);
  }
  ::close(report[1]);
  std::string why;
  char buffer[512];
  for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) != 0;) {
    if (n > 0) why.append(buffer, static_cast<std::size_t>(n));
    if (n < 0 && errno != EINTR) break;
  }
  ::close(report[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFSIGNALED(status)) {
    return Error{WTERMSIG(status) == SIGALRM
                     ? std::string("loading took more than 10 seconds")
                     : std::string("loading it crashed: ") + ::strsignal(WTERMSIG(status))};
  }
  if (WEXITSTATUS(status) != 0) return Error{why.empty() ? "it doesn't load" : why};
  return Status::success();
}

std::vector<RunningProcess> runningProcesses(const std::string& name) {
  std::vector<RunningProcess> found;
  auto boot = bootTime();
  long ticks = ::sysconf(_SC_CLK_TCK);
  std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), ::closedir);
  if (!proc || !boot || ticks <= 0) return found;
  while (dirent* entry = ::readdir(proc.get())) {
    std::string pid = entry->d_name;
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    struct stat owner {};
    if (::stat(("/proc/" + pid).c_str(), &owner) != 0 || owner.st_uid != ::getuid()) continue;
    // A process that ends meanwhile fails the read (ESRCH): it is not running.
    gchar* contents = nullptr;
    if (!g_file_get_contents(("/proc/" + pid + "/stat").c_str(), &contents, nullptr, nullptr)) {
      continue;
    }
    std::string stat = contents;
    g_free(contents);
    // "pid (comm) state ..."; the name may hold spaces and parentheses.
    auto open = stat.find('('), close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) continue;
    if (stat.substr(open + 1, close - open - 1) != name.substr(0, 15)) continue;
    std::stringstream fields(stat.substr(close + 2));
    std::string field;
    // After the name: state is field 3, the start time field 22.
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    long long startTicks = std::strtoll(field.c_str(), nullptr, 10);
    std::int64_t nanos = static_cast<std::int64_t>(startTicks % ticks) * 1'000'000'000 / ticks;
    found.push_back({std::atoi(pid.c_str()), {*boot + startTicks / ticks, nanos}});
  }
  return found;
}

std::optional<std::vector<std::string>> settingsStrings(const std::string& schema,
                                                        const std::string& key) {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  if (source == nullptr) return std::nullopt;
  GSettingsSchema* found = g_settings_schema_source_lookup(source, schema.c_str(), TRUE);
  if (found == nullptr) return std::nullopt;
  bool hasKey = g_settings_schema_has_key(found, key.c_str());
  GSettings* settings = hasKey ? g_settings_new_full(found, nullptr, nullptr) : nullptr;
  g_settings_schema_unref(found);
  if (settings == nullptr) return std::nullopt;
  gchar** values = g_settings_get_strv(settings, key.c_str());
  std::vector<std::string> out;
  for (gchar** v = values; v && *v; ++v) out.emplace_back(*v);
  g_strfreev(values);
  g_object_unref(settings);
  return out;
}

std::optional<std::string> kdeConfigValue(const std::string& name, const std::string& group,
                                          const std::string& key) {
  std::vector<std::string> folders{g_get_user_config_dir()};
  for (const gchar* const* dir = g_get_system_config_dirs(); *dir; ++dir)
    folders.emplace_back(*dir);
  for (const auto& folder : folders) {
    GPtr<GKeyFile> file(g_key_file_new(), reinterpret_cast<void (*)(gpointer)>(g_key_file_free));
    std::string path = folder + "/" + name;
    if (!g_key_file_load_from_file(file.get(), path.c_str(), G_KEY_FILE_NONE, nullptr)) continue;
    gchar* value = g_key_file_get_value(file.get(), group.c_str(), key.c_str(), nullptr);
    if (value == nullptr) continue;
    std::string out = value;
    g_free(value);
    return out;
  }
  return std::nullopt;
}

std::optional<std::string> whyNotStartable(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return path + ": " + std::strerror(errno);
  if (!S_ISREG(st.st_mode)) return path + " is no regular file";
  if (::access(path.c_str(), X_OK) != 0) return path + " is not executable";
  std::ifstream in(path, std::ios::binary);
  char magic[4] = {};
  in.read(magic, sizeof magic);
  bool binary = in.gcount() == 4 && std::memcmp(magic,
                                                "\x7f"
                                                "ELF",
                                                4) == 0;
  bool script = in.gcount() >= 2 && magic[0] == '#' && magic[1] == '!';
  if (!binary && !script) return path + " is neither a program nor a script";
  return std::nullopt;
}

Expected<std::string> schemeHandler(const std::string& scheme) {
  GAppInfo* handler = g_app_info_get_default_for_uri_scheme(scheme.c_str());
  if (handler == nullptr) return Error{"no application handles " + scheme + ": URLs"};
  GPtr<GAppInfo> owned(handler, g_object_unref);
  const char* id = g_app_info_get_id(handler);
  std::string what = std::string("the handler of ") + scheme + ": URLs (" + (id ? id : "?") + ")";
  const char* executable = g_app_info_get_executable(handler);
  if (!G_IS_DESKTOP_APP_INFO(handler) || executable == nullptr) {
    return Error{what + " is no desktop application"};
  }
  gchar* program = g_find_program_in_path(executable);
  if (program == nullptr) return Error{what + " runs " + executable + ", which isn't there"};
  std::string path = program;
  g_free(program);
  if (auto why = whyNotStartable(path)) return Error{what + ": " + *why};
  const char* command = g_app_info_get_commandline(handler);
  return std::string(command ? command : path);
}

}  // namespace vdl::cli
