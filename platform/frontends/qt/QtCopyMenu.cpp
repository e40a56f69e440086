// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtCopyMenu.h"

#include "platform/frontends/Commands.h"
#include "platform/frontends/qt/QtText.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

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
    // While the menu is open its items have the focus for assistive tools. The control it
    // was opened from keeps the keyboard focus all along, so nothing tells them when it has
    // the focus again; a screen reader would go on naming the menu's item.
    QObject::connect(menu, &QMenu::aboutToHide, owner, [owner] {
        QTimer::singleShot(0, owner, [owner] {
            if (owner->hasFocus()) {
                QAccessibleEvent focus(owner, QAccessible::Focus);
                QAccessible::updateAccessibility(&focus);
            }
        });
    });
    if (fromKeyboard) {
        menu->popup(globalPosition, copyAction);
        menu->setActiveAction(copyAction);
    } else {
        menu->popup(globalPosition);
    }
}

} // namespace pardolin
