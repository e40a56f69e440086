// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtTextLabel.h"

#include "platform/frontends/qt/QtCopyCommands.h"

#include <QClipboard>
#include <QGuiApplication>

namespace pardolin {

QtTextLabel::QtTextLabel(const QString& menuName, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    // Text starts at the top-left corner and runs down, as in the recorded layouts.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    new QtCopyCommands(this, menuName,
                       {[this] { return !text().isEmpty(); }, [this] { Copy(); },
                        [this] { setSelection(0, static_cast<int>(text().size())); },
                        [this] { return mapToGlobal(rect().bottomLeft()); }});
}

void QtTextLabel::Copy() const {
    QGuiApplication::clipboard()->setText(hasSelectedText() ? selectedText() : text());
}

} // namespace pardolin
