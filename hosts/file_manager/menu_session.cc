// The extension behind a file manager's module, wired once for all of them.
#include "hosts/file_manager/menu_session.h"

#include "extension/host_face.h"
#include "hosts/file_manager/held_selection.h"
#include "platform/linux/loaded_module.h"

namespace vdl::file_manager {

struct MenuSession::Parts {
  Parts(linux_platform::SystemOptions options, std::unique_ptr<MenuFont> menuFont,
        const linux_platform::Replacements& chooserParts)
      : system(options),
        font(std::move(menuFont)),
        platform(system.platform(finder, *font)),
        extension(platform),
        chooser(std::move(options), chooserParts) {}
  linux_platform::SystemPlatform system;
  HeldSelection finder;
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
  return parts_->finder.during(files,
                               [this] { return parts_->extension.menu(kContextualMenuForItems); });
}

void MenuSession::choose(std::shared_ptr<const Selection> files, std::int64_t tag) {
  parts_->chooser.choose(std::move(files), tag);
}

const std::shared_ptr<MenuSession>& processSession(const void* addressInModule,
                                                   std::unique_ptr<MenuFont> (*makeFont)()) {
  // Never destroyed: its chooser's thread runs until the process ends.
  static const auto* session =
      new std::shared_ptr<MenuSession>([&]() -> std::shared_ptr<MenuSession> {
        try {
          auto folder = linux_platform::loadedModuleFolder(addressInModule);
          if (!folder || !linux_platform::keepLoaded(addressInModule)) return nullptr;
          return std::make_shared<MenuSession>(
              linux_platform::SystemOptions{FileURL::fileURLWithPath(*folder, true), std::nullopt},
              makeFont());
        } catch (...) {
          // No font, no memory: the module offers nothing.
          return nullptr;
        }
      }());
  return *session;
}

}  // namespace vdl::file_manager
