// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class QKeyEvent;
class QWidget;

namespace pardolin {

// Whether a key press asks for the context menu: the menu key, or Shift+F10.
bool OpensContextMenu(const QKeyEvent& event);

// The context menu of a text that can be read and copied: 复制 (the selection, or all of
// it) and 全选, both disabled while there is no text. Named `name` for assistive tools;
// opened from the keyboard, it has 复制 selected, so that a screen reader says it at once.
struct CopyMenu {
    QString name;
    bool hasText = false;
    std::function<void()> copy;
    std::function<void()> selectAll;

    void Show(QWidget* owner, const QPoint& globalPosition, bool fromKeyboard) const;
};

} // namespace pardolin
