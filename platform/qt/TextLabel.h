// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace pardolin {

// A label that always shows its text as plain text: what it shows comes from the system
// (device names, settings) and must never be read as markup.
class TextLabel : public QLabel {
    Q_OBJECT
  public:
    explicit TextLabel(QWidget* parent = nullptr) : QLabel(parent) {
        setTextFormat(Qt::PlainText);
        // Text starts at the top-left corner and runs down, as in the recorded layouts.
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // What a label shows can be selected and copied.
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
};

} // namespace pardolin
