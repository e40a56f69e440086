// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtCopyMenu.h"

#include "platform/frontends/Commands.h"
#include "platform/frontends/qt/QtText.h"

#include <QKeyEvent>
#include <QMenu>

namespace pardolin {

bool OpensContextMenu(const QKeyEvent& event) {
    return (event.key() == Qt::Key_Menu && event.modifiers() == Qt::NoModifier) ||
           (event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier);
}

void CopyMenu::Show(QWidget* owner, const QPoint& globalPosition, bool fromKeyboard) const {
    auto* menu = new QMenu(owner);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setTitle(name);
    menu->setAccessibleName(name);
    QAction* copyAction = menu->addAction(ToQString(Text(kCopyCommand)), owner, copy);
    QAction* selectAllAction =
        menu->addAction(ToQString(Text(kSelectAllCommand)), owner, selectAll);
    copyAction->setEnabled(hasText);
    selectAllAction->setEnabled(hasText);
    if (fromKeyboard) {
        menu->popup(globalPosition, copyAction);
        menu->setActiveAction(copyAction);
    } else {
        menu->popup(globalPosition);
    }
}

} // namespace pardolin
