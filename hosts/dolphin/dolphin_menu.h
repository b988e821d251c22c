// Dolphin's side of the translation: its selected items as the extension's
// selection, the divider's font, and the core's menu as Dolphin's actions.
#pragma once

#include <QFont>
#include <QList>
#include <QString>

#include <memory>
#include <string>
#include <string_view>

#include "hosts/file_manager/menu_session.h"
#include "hosts/file_manager/remembered_widths.h"
#include "menu/menu_model.h"
#include "platform/menu_font.h"

class KFileItemList;
class QAction;
class QObject;

namespace vdl::dolphin {

// The font Qt draws menus in, as the application's style sets it (which may
// change while Dolphin runs).
class QtMenuFont final : public MenuFont {
 public:
  double width(std::string_view text) override;

 private:
  QFont font_;
  file_manager::RememberedWidths widths_;
};

// A title as a QAction shows it: "&" would mark a mnemonic, so it is doubled.
QString actionTitle(const std::string& title);

// Dolphin's items as a menu's selection: each with its local path where it
// has one (desktop:/ and other local-backed places give one too), and
// the type Dolphin listed it with, so that no selected file is looked up on
// the GUI thread.
SelectedItems selectionOf(const KFileItemList& items);

// The actions of `menu`, owned by `owner`: "Convert to" with its submenu (which
// goes with its action), real separators for dividers. Each action that
// chooses holds the session, its menu's own files and its tag, and nothing of
// the plugin object.
QList<QAction*> actionsFor(const Menu& menu,
                           const std::shared_ptr<file_manager::MenuSession>& session,
                           const SelectedItems& files, QObject* owner);

// The menu request: the actions for `items`, or none. Never throws.
QList<QAction*> fileItemActions(const std::shared_ptr<file_manager::MenuSession>& session,
                                const KFileItemList& items, QObject* owner);

}  // namespace vdl::dolphin
