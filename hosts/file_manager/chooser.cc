// The chooser's thread: a GLib main loop that takes one choice at a time.
#include "hosts/file_manager/chooser.h"

#include <glib.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

#include "extension/host_face.h"
#include "platform/linux/gio_workspace.h"

namespace vdl::file_manager {
namespace {

// The files of the choice at hand, and none between choices. What the file
// manager knew of them when the menu was built may be stale by the click:
// here the disk answers.
class ChoiceFiles final : public FinderController {
 public:
  void setDirectoryURLs(const std::set<FileURL>&) override {}
  SelectedItems selectedItemURLs() override {
    if (!current) return nullptr;
    auto fresh = std::make_shared<Selection>(*current);
    fresh->forgetKnownTypes();
    return fresh;
  }
  const Selection* current = nullptr;
};

// A chooser builds no menu, so it measures nothing.
class NoMenuFont final : public MenuFont {
 public:
  double width(std::string_view) override { return 0; }
};

struct PendingChoice {
  std::shared_ptr<const Selection> files;
  std::int64_t tag;
};

constexpr auto kOpeningsGrace = std::chrono::seconds(15);

}  // namespace

struct Chooser::Worker {
  Worker(linux_platform::SystemOptions options, const linux_platform::Replacements& replacing)
      : system(std::move(options)),
        platform(system.platform(finder, font, replacing)),
        extension(platform),
        context(g_main_context_new()),
        loop(g_main_loop_new(context, FALSE)) {}

  ~Worker() {
    g_main_loop_unref(loop);
    g_main_context_unref(context);
  }

  void run() {
    g_main_context_push_thread_default(context);
    g_main_loop_run(loop);
    g_main_context_pop_thread_default(context);
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
    self->finder.current = choice.files.get();
    self->extension.choose(item);
    self->finder.current = nullptr;
    return G_SOURCE_REMOVE;
  }

  // Runs on the chooser's thread once asked to stop: ends the loop when no
  // choice waits and no opening is pending, or when the grace time is up.
  static gboolean stopWhenDone(gpointer data) {
    auto* self = static_cast<Worker*>(data);
    bool waiting;
    {
      std::lock_guard<std::mutex> lock(self->mutex);
      waiting = !self->queue.empty();
    }
    bool late = std::chrono::steady_clock::now() > self->stopBy;
    if (!late && (waiting || self->system.workspace().pending() > 0)) return G_SOURCE_CONTINUE;
    g_main_loop_quit(self->loop);
    return G_SOURCE_REMOVE;
  }

  void attach(GSource* source, GSourceFunc callback) {
    g_source_set_callback(source, callback, this, nullptr);
    g_source_attach(source, context);
    g_source_unref(source);
  }

  linux_platform::SystemPlatform system;
  ChoiceFiles finder;
  NoMenuFont font;
  Platform platform;
  VDLFinderSync extension;
  GMainContext* context;
  GMainLoop* loop;
  std::mutex mutex;
  std::deque<PendingChoice> queue;
  std::thread thread;
  std::chrono::steady_clock::time_point stopBy;
};

Chooser::Chooser(linux_platform::SystemOptions options, linux_platform::Replacements replacing)
    : worker_(std::make_unique<Worker>(std::move(options), replacing)) {}

Chooser::~Chooser() {
  if (!worker_->thread.joinable()) return;
  worker_->stopBy = std::chrono::steady_clock::now() + kOpeningsGrace;
  worker_->attach(g_timeout_source_new(5), &Worker::stopWhenDone);
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
    }
    // One wake-up per choice; each takes the oldest, so they run in order.
    worker_->attach(g_idle_source_new(), &Worker::next);
  } catch (...) {
    // No thread or no memory: the choice is lost, the file manager is not.
  }
}

}  // namespace vdl::file_manager
