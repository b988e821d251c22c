// Starting the host application behind the workspace port: AppRun with an
// argument vector, the scheme's handler found and launched by GIO. Either
// attempt succeeds only once its program's exec has succeeded.
#include "platform/linux/gio_workspace.h"

#include <fcntl.h>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "platform/linux/detached_process.h"
#include "platform/linux/glib_error.h"

namespace vdl::linux_platform {
namespace {

struct Launch {
  Workspace::CompletionHandler completion;
  std::shared_ptr<std::atomic<int>> pending;
};

Launch* startLaunch(std::shared_ptr<std::atomic<int>> pending,
                    Workspace::CompletionHandler completion) {
  ++*pending;
  return new Launch{std::move(completion), std::move(pending)};
}

// Variables through which an application would take the focus.
std::vector<std::string> activationVariables(const OpenConfiguration& configuration) {
  if (configuration.activates) return {};
  return {"DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN"};
}

GMainContext* context() {
  GMainContext* c = g_main_context_get_thread_default();
  return c != nullptr ? c : g_main_context_default();
}

void complete(Launch* launch, std::optional<Error> error) {
  std::unique_ptr<Launch> owned(launch);
  // Counted as done before the handler runs, so that an opening the handler
  // starts keeps the count above zero.
  --*owned->pending;
  owned->completion(std::move(error));
}

// Delivers the outcome from the main context, after the call has returned,
// as the platform does.
void completeLater(Launch* launch, std::optional<Error> error) {
  struct Later {
    Launch* launch;
    std::optional<Error> error;
  };
  GSource* source = g_idle_source_new();
  g_source_set_callback(
      source,
      [](gpointer data) -> gboolean {
        std::unique_ptr<Later> later(static_cast<Later*>(data));
        complete(later->launch, std::move(later->error));
        return G_SOURCE_REMOVE;
      },
      new Later{launch, std::move(error)}, nullptr);
  g_source_attach(source, context());
  g_source_unref(source);
}

// The name the kernel gives a process: its program's file name, cut to 15
// bytes. Readable until the process is reaped.
std::string commandName(GPid pid) {
  std::string path = "/proc/" + std::to_string(pid) + "/comm";
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  char buffer[64];
  ssize_t n = ::read(fd, buffer, sizeof buffer);
  ::close(fd);
  std::string name(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
  while (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

// GIO runs a handler's command through a small launcher that execs it in the
// same process; a failed exec there only shows as the launcher's exit.
bool isLauncher(const std::string& name) {
  return name == "gio-launch-desk" || name == "sh";
}

// Watches the launcher's process until it has become the handler's program
// (started) or has exited without becoming it (failed).
struct ExecWatch {
  Launch* launch;
  GPid pid;
  std::string what;
  int ticks = 0;
};

void reaped(GPid pid, gint, gpointer) {
  g_spawn_close_pid(pid);
}

void reapWhenDone(GPid pid) {
  GSource* source = g_child_watch_source_new(pid);
  // A child watch calls back with (pid, status, data); GLib's own cast.
  g_source_set_callback(source, G_SOURCE_FUNC(reaped), nullptr, nullptr);
  g_source_attach(source, context());
  g_source_unref(source);
}

gboolean checkExec(gpointer data) {
  auto* watch = static_cast<ExecWatch*>(data);
  siginfo_t info{};
  bool exited =
      ::waitid(P_PID, static_cast<id_t>(watch->pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
      info.si_pid == watch->pid;
  std::string name = commandName(watch->pid);
  std::optional<std::optional<Error>> outcome;
  if (exited) {
    ::waitpid(watch->pid, nullptr, 0);
    bool failed = isLauncher(name) && !(info.si_code == CLD_EXITED && info.si_status == 0);
    outcome = failed ? std::optional<Error>(Error{watch->what + " did not start"})
                     : std::optional<Error>();
  } else if ((!name.empty() && !isLauncher(name)) || ++watch->ticks > 10000) {
    // Started (or, after ten seconds, taken as started); reaped once it ends.
    reapWhenDone(watch->pid);
    outcome = std::optional<Error>();
  }
  if (!outcome) return G_SOURCE_CONTINUE;
  std::unique_ptr<ExecWatch> owned(watch);
  complete(owned->launch, std::move(*outcome));
  return G_SOURCE_REMOVE;
}

void watchExec(Launch* launch, GPid pid, std::string what) {
  GSource* source = g_timeout_source_new(1);
  g_source_set_callback(source, checkExec, new ExecWatch{launch, pid, std::move(what)}, nullptr);
  g_source_attach(source, context());
  g_source_unref(source);
}

}  // namespace

void GioWorkspace::openURLs(const std::vector<std::string>& urls, const FileURL& application,
                            const OpenConfiguration& configuration, CompletionHandler completion) {
  auto* launch = startLaunch(pending_, std::move(completion));
  std::string appRun = application.appendingPathComponent("AppRun").path();
  if (!g_file_test(appRun.c_str(), G_FILE_TEST_IS_REGULAR) || ::access(appRun.c_str(), X_OK) != 0) {
    return completeLater(launch, Error{"no executable AppRun in " + application.path()});
  }
  std::vector<std::string> argv{appRun};
  argv.insert(argv.end(), urls.begin(), urls.end());
  Status started = startDetached(argv, environmentWithout(activationVariables(configuration)));
  completeLater(launch, started ? std::nullopt : std::optional<Error>(started.error()));
}

void GioWorkspace::openURL(const std::string& url, const OpenConfiguration& configuration,
                           CompletionHandler completion) {
  auto* launch = startLaunch(pending_, std::move(completion));
  gchar* scheme = g_uri_parse_scheme(url.c_str());
  if (scheme == nullptr) return completeLater(launch, Error{"not a URL: " + url});
  std::string type = std::string("x-scheme-handler/") + scheme;
  GAppInfo* handler = g_app_info_get_default_for_uri_scheme(scheme);
  g_free(scheme);
  if (handler == nullptr) {
    return completeLater(launch, Error{"no application is registered for " + type});
  }
  std::unique_ptr<GAppInfo, decltype(&g_object_unref)> owned(handler, g_object_unref);
  const char* id = g_app_info_get_id(handler);
  const char* command = g_app_info_get_commandline(handler);
  std::string what = std::string("the handler ") + (id ? id : "?") + " of " + type + " (" +
                     (command ? command : "") + ")";
  if (!G_IS_DESKTOP_APP_INFO(handler))
    return completeLater(launch, Error{what + " is no desktop application"});

  int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null < 0)
    return completeLater(launch, Error{"/dev/null: " + std::string(std::strerror(errno))});
  GAppLaunchContext* launchContext = g_app_launch_context_new();
  for (const auto& name : activationVariables(configuration)) {
    g_app_launch_context_unsetenv(launchContext, name.c_str());
  }
  GList* uris = g_list_prepend(nullptr, g_strdup(url.c_str()));
  GPid pid = 0;
  GError* error = nullptr;
  gboolean launched = g_desktop_app_info_launch_uris_as_manager_with_fds(
      G_DESKTOP_APP_INFO(handler), uris, launchContext,
      static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr,
      [](GDesktopAppInfo*, GPid started, gpointer data) { *static_cast<GPid*>(data) = started; },
      &pid, null, null, -1, &error);
  g_list_free_full(uris, g_free);
  g_object_unref(launchContext);
  ::close(null);
  if (!launched)
    return completeLater(launch, Error{what + ": " + takeMessage(error, "unknown error")});
  // Launched over D-Bus: no process of ours to watch.
  if (pid == 0) return completeLater(launch, std::nullopt);
  watchExec(launch, pid, what);
}

bool GioWorkspace::waitForCompletions(std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  GMainContext* c = context();
  while (*pending_ > 0 && std::chrono::steady_clock::now() < deadline) {
    // Never block for long, so that the deadline is honoured.
    if (!g_main_context_iteration(c, FALSE)) g_usleep(1000);
  }
  return *pending_ == 0;
}

}  // namespace vdl::linux_platform
