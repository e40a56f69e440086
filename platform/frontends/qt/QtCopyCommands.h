// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

namespace pardolin {

// The copy commands of a text that can be read and copied: Ctrl+C copies, and the
// context menu (from the mouse, the menu key or Shift+F10) has 复制 (the selection, or all
// of it) and 全选, both disabled while there is no text. The menu is named `name` for
// assistive tools; opened from the keyboard it has 复制 selected, so that a screen reader
// says it at once, and when it closes they are told the text has the focus again.
class QtCopyCommands : public QObject {
  public:
    struct Target {
        std::function<bool()> hasText;
        std::function<void()> copy;
        std::function<void()> selectAll;
        // Where a menu opened from the keyboard shows, on the screen.
        std::function<QPoint()> keyboardAnchor;
    };

    // Takes the keys and the context menu events of `widget`, and of `viewport` too (a
    // scrolled text gets its mouse's events there).
    QtCopyCommands(QWidget* widget, QString name, Target target, QWidget* viewport = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowMenu(const QPoint& globalPosition, bool fromKeyboard);

    QWidget* m_widget;
    QString m_name;
    Target m_target;
};

} // namespace pardolin
