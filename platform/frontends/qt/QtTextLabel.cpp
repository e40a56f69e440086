// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtTextLabel.h"

#include "platform/frontends/qt/QtCopyMenu.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>

namespace pardolin {

QtTextLabel::QtTextLabel(const QString& menuName, QWidget* parent)
    : QLabel(parent), m_menuName(menuName) {
    setTextFormat(Qt::PlainText);
    // Text starts at the top-left corner and runs down, as in the recorded layouts.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void QtTextLabel::contextMenuEvent(QContextMenuEvent* event) {
    // The menu key is answered as a key, on every platform alike.
    if (event->reason() != QContextMenuEvent::Keyboard) {
        ShowMenu(event->globalPos(), false);
    }
}

void QtTextLabel::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        Copy();
    } else if (OpensContextMenu(*event)) {
        ShowMenu(mapToGlobal(rect().bottomLeft()), true);
    } else {
        QLabel::keyPressEvent(event);
    }
}

void QtTextLabel::ShowMenu(const QPoint& globalPosition, bool fromKeyboard) {
    CopyMenu{m_menuName, !text().isEmpty(), [this] { Copy(); },
             [this] { setSelection(0, static_cast<int>(text().size())); }}
        .Show(this, globalPosition, fromKeyboard);
}

void QtTextLabel::Copy() const {
    QGuiApplication::clipboard()->setText(hasSelectedText() ? selectedText() : text());
}

} // namespace pardolin
