// GIO launching behind the workspace port.
#include "platform/linux/gio_workspace.h"

#include <gio/gio.h>

#include <memory>

namespace vdl::linux_platform {
namespace {

struct Launch {
  Workspace::CompletionHandler completion;
  std::function<void()> done;
};

// A launch context that hands the child no startup-notification id or
// activation token, even ones this process inherited: the application must
// not take the focus.
GAppLaunchContext* launchContext(const OpenConfiguration& configuration) {
  GAppLaunchContext* context = g_app_launch_context_new();
  if (!configuration.activates) {
    g_app_launch_context_unsetenv(context, "DESKTOP_STARTUP_ID");
    g_app_launch_context_unsetenv(context, "XDG_ACTIVATION_TOKEN");
  }
  return context;
}

std::optional<Error> takeError(GError* error) {
  if (error == nullptr) return std::nullopt;
  Error e{error->message};
  g_error_free(error);
  return e;
}

void complete(Launch* launch, std::optional<Error> error) {
  std::unique_ptr<Launch> owned(launch);
  // Counted as done before the handler runs, so that an opening the handler
  // starts keeps the count above zero.
  owned->done();
  owned->completion(std::move(error));
}

// Delivers an error from the main context, as a real launch would.
void completeLater(Launch* launch, Error error) {
  struct Later {
    Launch* launch;
    Error error;
  };
  g_idle_add_full(
      G_PRIORITY_DEFAULT,
      [](gpointer data) -> gboolean {
        std::unique_ptr<Later> later(static_cast<Later*>(data));
        complete(later->launch, std::move(later->error));
        return G_SOURCE_REMOVE;
      },
      new Later{launch, std::move(error)}, nullptr);
}

GList* uriList(const std::vector<std::string>& urls) {
  GList* list = nullptr;
  for (auto it = urls.rbegin(); it != urls.rend(); ++it) {
    list = g_list_prepend(list, g_strdup(it->c_str()));
  }
  return list;
}

void launchWith(GAppInfo* info, const std::vector<std::string>& urls,
                const OpenConfiguration& configuration, Launch* launch) {
  GAppLaunchContext* context = launchContext(configuration);
  GList* uris = uriList(urls);
  g_app_info_launch_uris_async(
      info, uris, context, nullptr,
      [](GObject* source, GAsyncResult* result, gpointer data) {
        GError* e = nullptr;
        g_app_info_launch_uris_finish(G_APP_INFO(source), result, &e);
        complete(static_cast<Launch*>(data), takeError(e));
      },
      launch);
  g_list_free_full(uris, g_free);
  g_object_unref(context);
}

}  // namespace

void GioWorkspace::openURLs(const std::vector<std::string>& urls, const FileURL& application,
                            const OpenConfiguration& configuration, CompletionHandler completion) {
  ++pending_;
  auto* launch = new Launch{std::move(completion), [this] { finished(); }};
  std::string appRun = application.appendingPathComponent("AppRun").path();
  if (!g_file_test(appRun.c_str(), G_FILE_TEST_IS_REGULAR) ||
      !g_file_test(appRun.c_str(), G_FILE_TEST_IS_EXECUTABLE)) {
    return completeLater(launch, Error{"no executable AppRun in " + application.path()});
  }
  gchar* quoted = g_shell_quote(appRun.c_str());
  GError* error = nullptr;
  GAppInfo* info = g_app_info_create_from_commandline(quoted, "Vandrel",
                                                      G_APP_INFO_CREATE_SUPPORTS_URIS, &error);
  g_free(quoted);
  if (info == nullptr) return completeLater(launch, *takeError(error));
  launchWith(info, urls, configuration, launch);
  g_object_unref(info);
}

void GioWorkspace::openURL(const std::string& url, const OpenConfiguration& configuration,
                           CompletionHandler completion) {
  ++pending_;
  auto* launch = new Launch{std::move(completion), [this] { finished(); }};
  gchar* scheme = g_uri_parse_scheme(url.c_str());
  if (scheme == nullptr) return completeLater(launch, Error{"not a URL: " + url});
  GAppInfo* handler = g_app_info_get_default_for_uri_scheme(scheme);
  std::string type = std::string("x-scheme-handler/") + scheme;
  g_free(scheme);
  if (handler == nullptr) {
    return completeLater(launch, Error{"no application is registered for " + type});
  }
  launchWith(handler, {url}, configuration, launch);
  g_object_unref(handler);
}

bool GioWorkspace::waitForCompletions(std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  GMainContext* context = g_main_context_get_thread_default();
  while (pending_ > 0 && std::chrono::steady_clock::now() < deadline) {
    // Never block for long, so that the deadline is honoured.
    if (!g_main_context_iteration(context, FALSE)) g_usleep(1000);
  }
  return pending_ == 0;
}

}  // namespace vdl::linux_platform
