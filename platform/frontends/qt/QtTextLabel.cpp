// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtTextLabel.h"

#include "platform/frontends/Commands.h"
#include "platform/frontends/qt/QtText.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>

namespace pardolin {

QtTextLabel::QtTextLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    // Text starts at the top-left corner and runs down, as in the recorded layouts.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void QtTextLabel::contextMenuEvent(QContextMenuEvent* event) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copy = menu->addAction(ToQString(Text(kCopyCommand)), this, [this] {
        QGuiApplication::clipboard()->setText(hasSelectedText() ? selectedText() : text());
    });
    copy->setEnabled(!text().isEmpty());
    QAction* all = menu->addAction(ToQString(Text(kSelectAllCommand)), this,
                                   [this] { setSelection(0, static_cast<int>(text().size())); });
    all->setEnabled(!text().isEmpty());
    menu->popup(event->globalPos());
}

} // namespace pardolin
