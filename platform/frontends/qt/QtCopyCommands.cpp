// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtCopyCommands.h"

#include "platform/frontends/Commands.h"
#include "platform/frontends/qt/QtText.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>

namespace pardolin {
namespace {

// Whether a key press asks for the context menu: the menu key, or Shift+F10.
bool OpensContextMenu(const QKeyEvent& event) {
    return (event.key() == Qt::Key_Menu && event.modifiers() == Qt::NoModifier) ||
           (event.key() == Qt::Key_F10 && event.modifiers() == Qt::ShiftModifier);
}

} // namespace

QtCopyCommands::QtCopyCommands(QWidget* widget, QString name, Target target, QWidget* viewport)
    : QObject(widget), m_widget(widget), m_name(std::move(name)), m_target(std::move(target)) {
    widget->installEventFilter(this);
    if (viewport) {
        viewport->installEventFilter(this);
    }
}

bool QtCopyCommands::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.matches(QKeySequence::Copy)) {
            m_target.copy();
            return true;
        }
        if (OpensContextMenu(key)) {
            ShowMenu(m_target.keyboardAnchor(), true);
            return true;
        }
    } else if (event->type() == QEvent::ContextMenu) {
        // The menu key is answered as a key, on every platform alike.
        const auto& menu = static_cast<const QContextMenuEvent&>(*event);
        if (menu.reason() != QContextMenuEvent::Keyboard) {
            ShowMenu(menu.globalPos(), false);
        }
        return true;
    }
    return false;
}

void QtCopyCommands::ShowMenu(const QPoint& globalPosition, bool fromKeyboard) {
    auto* menu = new QMenu(m_widget);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setTitle(m_name);
    menu->setAccessibleName(m_name);
    QAction* copyAction = menu->addAction(ToQString(Text(kCopyCommand)), m_widget, m_target.copy);
    QAction* selectAllAction =
        menu->addAction(ToQString(Text(kSelectAllCommand)), m_widget, m_target.selectAll);
    const bool hasText = m_target.hasText();
    copyAction->setEnabled(hasText);
    selectAllAction->setEnabled(hasText);
    // While the menu is open its items have the focus for assistive tools. The text it was
    // opened from keeps the keyboard focus all along, so nothing tells them when it has the
    // focus again; a screen reader would go on naming the menu's item.
    QWidget* owner = m_widget;
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
