// The extension behind a file manager's module, wired once for all of them.
#include "hosts/file_manager/menu_session.h"

#include "extension/host_face.h"
#include "hosts/file_manager/pango_menu_font.h"
#include "platform/linux/loaded_module.h"

namespace vdl::file_manager {
namespace {

// The selection the extension reads: the files of the menu at hand, and
// none between calls.
class MenuFiles final : public FinderController {
 public:
  void setDirectoryURLs(const std::set<FileURL>&) override {}
  std::optional<std::vector<FileURL>> selectedItemURLs() override {
    if (!current) return std::nullopt;
    return *current;
  }
  const Selection* current = nullptr;
};

// Points the selection at `files` for the length of one call.
class Showing {
 public:
  Showing(MenuFiles& finder, const Selection& files) : finder_(finder) { finder_.current = &files; }
  Showing(const Showing&) = delete;
  Showing& operator=(const Showing&) = delete;
  ~Showing() { finder_.current = nullptr; }

 private:
  MenuFiles& finder_;
};

// The system's file system, except that the status of the menu's files, asked
// in the menu's order, comes from what the file manager knows of them. Any
// other question, or one it knows no answer to, goes to the disk.
class KnownFiles final : public FileSystem {
 public:
  explicit KnownFiles(FileSystem& disk) : disk_(disk) {}

  void know(const Selection* files, const KnownTypes* types) {
    files_ = files;
    types_ = types;
    next_ = 0;
  }

  Expected<FileStatus> status(const std::string& path) override {
    if (files_ && types_ && next_ < files_->size() && next_ < types_->size() &&
        (*files_)[next_].path() == path) {
      const auto& type = (*types_)[next_++];
      if (type) return FileStatus{*type, 0, {}};
    }
    return disk_.status(path);
  }
  Expected<FileStatus> linkStatus(const std::string& path) override {
    return disk_.linkStatus(path);
  }
  Expected<std::unique_ptr<ReadableFile>> openForReading(const std::string& path) override {
    return disk_.openForReading(path);
  }
  Status makeDirectory(const std::string& path, unsigned mode) override {
    return disk_.makeDirectory(path, mode);
  }
  Expected<std::unique_ptr<Directory>> openDirectory(const std::string& path) override {
    return disk_.openDirectory(path);
  }

 private:
  FileSystem& disk_;
  const Selection* files_ = nullptr;
  const KnownTypes* types_ = nullptr;
  std::size_t next_ = 0;
};

}  // namespace

struct MenuSession::Parts {
  explicit Parts(linux_platform::SystemOptions options)
      : system(std::move(options)),
        files(system.files()),
        platform(system.platform(finder, font, {.files = &files})),
        extension(platform) {}
  linux_platform::SystemPlatform system;
  KnownFiles files;
  MenuFiles finder;
  PangoMenuFont font;
  Platform platform;
  VDLFinderSync extension;
};

MenuSession::MenuSession(linux_platform::SystemOptions options)
    : parts_(std::make_unique<Parts>(std::move(options))) {}

MenuSession::~MenuSession() = default;

std::optional<Menu> MenuSession::menuFor(const Selection& files, const KnownTypes& known) {
  Showing showing(parts_->finder, files);
  parts_->files.know(&files, &known);
  auto menu = parts_->extension.menu(kContextualMenuForItems);
  parts_->files.know(nullptr, nullptr);
  return menu;
}

void MenuSession::choose(const Selection& files, std::int64_t tag) {
  Showing showing(parts_->finder, files);
  MenuItem item;
  item.tag = tag;
  item.action = MenuAction::choose;
  parts_->extension.choose(item);
}

std::shared_ptr<MenuSession> sessionForModule(const void* addressInModule) {
  try {
    auto folder = linux_platform::loadedModuleFolder(addressInModule);
    if (!folder) return nullptr;
    return std::make_shared<MenuSession>(
        linux_platform::SystemOptions{FileURL::fileURLWithPath(*folder, true), std::nullopt});
  } catch (...) {
    return nullptr;
  }
}

}  // namespace vdl::file_manager
