// The extension as a KIO file-item-action plugin: Dolphin, Konqueror and the
// Plasma desktop ask it for actions whenever they build an item's menu.
#include <KAbstractFileItemActionPlugin>
#include <KFileItem>
#include <KFileItemListProperties>
#include <KPluginFactory>
#include <QWidget>

#include "hosts/dolphin/dolphin_menu.h"
#include "platform/linux/loaded_module.h"

namespace {

namespace fm = vdl::file_manager;

// One session for the process: Dolphin makes a plugin object per window and
// one for the selection bar, and a shown menu's actions may outlive the
// object that made them. The module stays loaded for the chooser's thread.
const std::shared_ptr<fm::MenuSession>& processSession() {
  static const auto* session = new std::shared_ptr<fm::MenuSession>([]() {
    const void* here = reinterpret_cast<const void*>(&processSession);
    if (!vdl::linux_platform::keepLoaded(here)) return std::shared_ptr<fm::MenuSession>();
    try {
      return fm::sessionForModule(here, std::make_unique<vdl::dolphin::QtMenuFont>());
    } catch (...) {
      return std::shared_ptr<fm::MenuSession>();
    }
  }());
  return *session;
}

}  // namespace

class VandrelFileItemAction : public KAbstractFileItemActionPlugin {
  Q_OBJECT

 public:
  VandrelFileItemAction(QObject* parent, const QVariantList&)
      : KAbstractFileItemActionPlugin(parent) {}

  // Runs on the GUI thread, and in selection mode at every selection change.
  // The actions go with the widget the file manager names, else with this.
  QList<QAction*> actions(const KFileItemListProperties& items, QWidget* parentWidget) override {
    QObject* owner = parentWidget ? static_cast<QObject*>(parentWidget) : this;
    return vdl::dolphin::fileItemActions(processSession(), items.items(), owner);
  }
};

K_PLUGIN_CLASS_WITH_JSON(VandrelFileItemAction, "vandrel-dolphin.json")

#include "dolphin_plugin.moc"
