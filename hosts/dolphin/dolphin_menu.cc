// The core's menu in Qt's actions, and Dolphin's items in the core's terms.
#include "hosts/dolphin/dolphin_menu.h"

#include <KFileItem>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QIcon>
#include <QMenu>

namespace vdl::dolphin {
namespace {

std::optional<FileType> knownType(const KFileItem& item) {
  // Dolphin lists a link as what it points at, and a broken one as a file:
  // the disk answers for links.
  if (item.isLink()) return std::nullopt;
  if (item.isDir()) return FileType::directory;
  if (item.isRegularFile()) return FileType::regular;
  return std::nullopt;
}

QAction* actionFor(const MenuItem& item, const std::shared_ptr<file_manager::MenuSession>& session,
                   const SelectedItems& files, QObject* owner) {
  auto* action = new QAction(owner);
  if (item.kind == MenuItemKind::divider) {
    action->setSeparator(true);
    return action;
  }
  action->setText(actionTitle(item.title));
  if (item.image) action->setIcon(QIcon(QString::fromStdString(item.image->url.path())));
  action->setEnabled(item.enabled);
  if (item.action == MenuAction::choose) {
    QObject::connect(action, &QAction::triggered, action,
                     [session, files, tag = item.tag] { session->choose(files, tag); });
  }
  if (item.submenu) {
    auto* submenu = new QMenu;
    QObject::connect(action, &QObject::destroyed, [submenu] { delete submenu; });
    for (const auto& child : item.submenu->items) {
      submenu->addAction(actionFor(child, session, files, submenu));
    }
    action->setMenu(submenu);
  }
  return action;
}

}  // namespace

double QtMenuFont::width(std::string_view text) {
  QFont now = QApplication::font("QMenu");
  if (now != font_) {
    font_ = now;
    widths_.forget();
  }
  return widths_.width(text, [this](std::string_view t) {
    return QFontMetricsF(font_).horizontalAdvance(
        QString::fromUtf8(t.data(), static_cast<int>(t.size())));
  });
}

QString actionTitle(const std::string& title) {
  return QString::fromStdString(title).replace(QLatin1Char('&'), QLatin1String("&&"));
}

SelectedItems selectionOf(const KFileItemList& items) {
  auto selection = std::make_shared<SelectedItemList>();
  for (const KFileItem& item : items) {
    // The path of the most local URL (a file's own, or the one that
    // desktop:/ and other local-backed places list with it), without making
    // that URL: parsing it again costs more than the rest of the menu.
    const QString local = item.localPath();
    if (local.isEmpty()) {
      selection->addOther();
      continue;
    }
    const QByteArray path = QFile::encodeName(local);
    selection->addFile(std::string_view(path.constData(), static_cast<std::size_t>(path.size())),
                       knownType(item));
  }
  return selection;
}

QList<QAction*> actionsFor(const Menu& menu,
                           const std::shared_ptr<file_manager::MenuSession>& session,
                           const SelectedItems& files, QObject* owner) {
  QList<QAction*> actions;
  for (const auto& item : menu.items) actions.append(actionFor(item, session, files, owner));
  return actions;
}

QList<QAction*> fileItemActions(const std::shared_ptr<file_manager::MenuSession>& session,
                                const KFileItemList& items, QObject* owner) {
  if (!session) return {};
  try {
    auto selection = selectionOf(items);
    auto menu = session->menuFor(selection);
    return menu ? actionsFor(*menu, session, selection, owner) : QList<QAction*>();
  } catch (...) {
    return {};
  }
}

}  // namespace vdl::dolphin
