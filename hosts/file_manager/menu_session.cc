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

}  // namespace

struct MenuSession::Parts {
  explicit Parts(linux_platform::SystemOptions options)
      : system(std::move(options)), platform(system.platform(finder, font)), extension(platform) {}
  linux_platform::SystemPlatform system;
  MenuFiles finder;
  PangoMenuFont font;
  Platform platform;
  VDLFinderSync extension;
};

MenuSession::MenuSession(linux_platform::SystemOptions options)
    : parts_(std::make_unique<Parts>(std::move(options))) {}

MenuSession::~MenuSession() = default;

std::optional<Menu> MenuSession::menuFor(const Selection& files) {
  Showing showing(parts_->finder, files);
  return parts_->extension.menu(kContextualMenuForItems);
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
