// The chooser's thread: a GLib main loop that takes one choice at a time, and
// counts what it has still to do so that a caller can wait for it to be done.
#include "hosts/file_manager/chooser.h"

#include <glib.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "extension/host_face.h"
#include "hosts/file_manager/held_selection.h"
#include "platform/linux/gio_workspace.h"

namespace vdl::file_manager {
namespace {

// A chooser builds no menu, so it measures nothing.
class NoMenuFont final : public MenuFont {
 public:
  double width(std::string_view) override { return 0; }
};

struct PendingChoice {
  std::shared_ptr<const Selection> files;
  std::int64_t tag;
};

// Every chooser of this module, for the exit rule. Never destroyed: the exit
// handler runs while the process's static objects are being destroyed.
struct Choosers {
  std::mutex mutex;
  std::vector<Chooser*> all;
};

Choosers& choosers() {
  static auto* all = new Choosers;
  return *all;
}

// Whether any chooser was made: a module that never made one (a second copy,
// unloaded by its file manager right after its shutdown call) allocates
// nothing at the end.
std::atomic<bool> anyChooser{false};

}  // namespace

// The worker is the workspace of its own extension object, in front of the
// real one, so that it counts its own openings and no other thread's.
struct Chooser::Worker final : Workspace {
  Worker(linux_platform::SystemOptions options, linux_platform::Replacements replacing)
      : system(std::move(options)),
        opener(replacing.workspace ? *replacing.workspace : system.workspace()),
        platform(system.platform(selection, font, throughThis(replacing))),
        extension(platform),
        context(g_main_context_new()),
        loop(g_main_loop_new(context, FALSE)) {}

  ~Worker() override {
    g_main_loop_unref(loop);
    g_main_context_unref(context);
  }

  linux_platform::Replacements throughThis(linux_platform::Replacements replacing) {
    replacing.workspace = this;
    return replacing;
  }

  void run() {
    g_main_context_push_thread_default(context);
    g_main_loop_run(loop);
    g_main_context_pop_thread_default(context);
  }

  void openURLs(const std::vector<std::string>& urls, const FileURL& application,
                const OpenConfiguration& configuration, CompletionHandler completion) override {
    begun();
    try {
      opener.openURLs(urls, application, configuration, counted(std::move(completion)));
    } catch (...) {
      ended();
      throw;
    }
  }
  void openURL(const std::string& url, const OpenConfiguration& configuration,
               CompletionHandler completion) override {
    begun();
    try {
      opener.openURL(url, configuration, counted(std::move(completion)));
    } catch (...) {
      ended();
      throw;
    }
  }

  // The completion, then one thing less to do: an opening that the completion
  // starts (the fallback to the scheme's handler) is counted before it.
  CompletionHandler counted(CompletionHandler completion) {
    return [this, completion = std::move(completion)](std::optional<Error> error) {
      try {
        completion(std::move(error));
      } catch (...) {
        // A completion runs in the main loop, which no exception may cross.
      }
      ended();
    };
  }

  void begun() {
    std::lock_guard<std::mutex> lock(mutex);
    ++outstanding;
  }
  void ended() {
    std::lock_guard<std::mutex> lock(mutex);
    if (--outstanding == 0) done.notify_all();
  }

  // Runs on the chooser's thread: the oldest choice waiting.
  static gboolean next(gpointer data) {
    auto* self = static_cast<Worker*>(data);
    PendingChoice choice;
    {
      std::lock_guard<std::mutex> lock(self->mutex);
      if (self->queue.empty()) return G_SOURCE_REMOVE;
      choice = std::move(self->queue.front());
      self->queue.pop_front();
    }
    MenuItem item;
    item.tag = choice.tag;
    item.action = MenuAction::choose;
    self->selection.during(std::move(choice.files), [&] { self->extension.choose(item); });
    self->ended();
    return G_SOURCE_REMOVE;
  }

  static gboolean quit(gpointer data) {
    g_main_loop_quit(static_cast<Worker*>(data)->loop);
    return G_SOURCE_REMOVE;
  }

  void attach(GSource* source, GSourceFunc callback) {
    g_source_set_callback(source, callback, this, nullptr);
    g_source_attach(source, context);
    g_source_unref(source);
  }

  linux_platform::SystemPlatform system;
  Workspace& opener;
  HeldSelection selection;
  NoMenuFont font;
  Platform platform;
  VDLFinderSync extension;
  GMainContext* context;
  GMainLoop* loop;
  std::mutex mutex;
  std::condition_variable done;
  std::deque<PendingChoice> queue;
  // Choices waiting or being made, and openings not yet completed.
  int outstanding = 0;
  std::thread thread;
};

Chooser::Chooser(linux_platform::SystemOptions options, linux_platform::Replacements replacing)
    : worker_(std::make_unique<Worker>(std::move(options), replacing)) {
  static std::once_flag registered;
  std::call_once(registered, [] { std::atexit([] { finishChoices(); }); });
  anyChooser = true;
  std::lock_guard<std::mutex> lock(choosers().mutex);
  choosers().all.push_back(this);
}

Chooser::~Chooser() {
  {
    std::lock_guard<std::mutex> lock(choosers().mutex);
    std::erase(choosers().all, this);
  }
  if (!worker_->thread.joinable()) return;
  finish(std::chrono::steady_clock::now() + kExitBound);
  worker_->attach(g_idle_source_new(), &Worker::quit);
  worker_->thread.join();
}

void Chooser::choose(std::shared_ptr<const Selection> files, std::int64_t tag) noexcept {
  try {
    // Started with the first choice: a file manager whose menus are never
    // used runs no thread of ours.
    if (!worker_->thread.joinable())
      worker_->thread = std::thread([w = worker_.get()] { w->run(); });
    {
      std::lock_guard<std::mutex> lock(worker_->mutex);
      worker_->queue.push_back({std::move(files), tag});
      ++worker_->outstanding;
    }
    // One wake-up per choice; each takes the oldest, so they run in order.
    worker_->attach(g_idle_source_new(), &Worker::next);
  } catch (...) {
    // No thread or no memory: the choice is lost, the file manager is not.
  }
}

bool Chooser::finish(std::chrono::steady_clock::time_point deadline) noexcept {
  try {
    std::unique_lock<std::mutex> lock(worker_->mutex);
    return worker_->done.wait_until(lock, deadline, [this] { return worker_->outstanding == 0; });
  } catch (...) {
    return false;
  }
}

void finishChoices() noexcept {
  if (!anyChooser) return;
  try {
    auto deadline = std::chrono::steady_clock::now() + kExitBound;
    std::lock_guard<std::mutex> lock(choosers().mutex);
    for (Chooser* chooser : choosers().all) chooser->finish(deadline);
  } catch (...) {
    // The process ends all the same.
  }
}

}  // namespace vdl::file_manager
