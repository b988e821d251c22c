// The extension as a KIO file-item-action plugin: Dolphin, Konqueror and the
// Plasma desktop ask it for actions whenever they build an item's menu.
#include <KAbstractFileItemActionPlugin>
#include <KFileItem>
#include <KFileItemListProperties>
#include <KPluginFactory>
#include <QCoreApplication>
#include <QWidget>

#include "hosts/dolphin/dolphin_menu.h"

namespace {

namespace fm = vdl::file_manager;

// The module's session for the process: Dolphin makes a plugin object per
// window and one for the selection bar, and a shown menu's actions may outlive
// the object that made them. Dolphin never destroys its session, so its end is
// Qt's: the choices handed over are made when the application is about to quit.
const std::shared_ptr<fm::MenuSession>& session() {
  static const bool finishesWithQt = [] {
    if (auto* app = QCoreApplication::instance()) {
      QObject::connect(app, &QCoreApplication::aboutToQuit, [] { fm::finishChoices(); });
    }
    return true;
  }();
  (void)finishesWithQt;
  return fm::processSession(reinterpret_cast<const void*>(&session),
                            []() -> std::unique_ptr<vdl::MenuFont> {
                              return std::make_unique<vdl::dolphin::QtMenuFont>();
                            });
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
    return vdl::dolphin::fileItemActions(session(), items.items(), owner);
  }
};

K_PLUGIN_CLASS_WITH_JSON(VandrelFileItemAction, "vandrel-dolphin.json")

#include "dolphin_plugin.moc"
