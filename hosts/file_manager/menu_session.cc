// The extension behind a file manager's module, wired once for all of them.
#include "hosts/file_manager/menu_session.h"

#include "extension/host_face.h"
#include "platform/linux/loaded_module.h"

namespace vdl::file_manager {
namespace {

// The files of the menu at hand, and none between menus.
class MenuFiles final : public FinderController {
 public:
  void setDirectoryURLs(const std::set<FileURL>&) override {}
  SelectedItems selectedItemURLs() override { return current; }
  SelectedItems current;
};

}  // namespace

struct MenuSession::Parts {
  Parts(linux_platform::SystemOptions options, std::unique_ptr<MenuFont> menuFont,
        const linux_platform::Replacements& chooserParts)
      : system(options),
        font(std::move(menuFont)),
        platform(system.platform(finder, *font)),
        extension(platform),
        chooser(std::move(options), chooserParts) {}
  linux_platform::SystemPlatform system;
  MenuFiles finder;
  std::unique_ptr<MenuFont> font;
  Platform platform;
  VDLFinderSync extension;
  Chooser chooser;
};

MenuSession::MenuSession(linux_platform::SystemOptions options, std::unique_ptr<MenuFont> font,
                         linux_platform::Replacements chooserParts)
    : parts_(std::make_unique<Parts>(std::move(options), std::move(font), chooserParts)) {}

MenuSession::~MenuSession() = default;

std::optional<Menu> MenuSession::menuFor(const SelectedItems& files) {
  parts_->finder.current = files;
  auto menu = parts_->extension.menu(kContextualMenuForItems);
  parts_->finder.current = nullptr;
  return menu;
}

void MenuSession::choose(std::shared_ptr<const Selection> files, std::int64_t tag) {
  parts_->chooser.choose(std::move(files), tag);
}

std::shared_ptr<MenuSession> sessionForModule(const void* addressInModule,
                                              std::unique_ptr<MenuFont> font) {
  try {
    auto folder = linux_platform::loadedModuleFolder(addressInModule);
    if (!folder) return nullptr;
    return std::make_shared<MenuSession>(
        linux_platform::SystemOptions{FileURL::fileURLWithPath(*folder, true), std::nullopt},
        std::move(font));
  } catch (...) {
    return nullptr;
  }
}

}  // namespace vdl::file_manager
