// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QTextEdit>

namespace pardolin {

// A read-only text that prints whole lines from the top down, at a fixed pitch. It keeps
// what it printed, so the text survives the window being covered or hidden. Lines are
// neither wrapped nor scrolled to: what falls below the bottom edge is not seen. It takes
// the keyboard focus, with a caret that the arrow keys move line by line (Shift selects,
// Ctrl+A selects all); Ctrl+C and its context menu (also on the menu key and Shift+F10)
// copy the selection, or every line. Assistive tools read it as read-only multi-line text.
class QtTextSurface : public QTextEdit {
    Q_OBJECT
  public:
    explicit QtTextSurface(QWidget* parent = nullptr);

    void Clear();
    void Print(const QString& line);
    QStringList Lines() const;
    // The printed lines, one per line, as plain text.
    QString PlainText() const { return toPlainText(); }
    // Puts the selection on the clipboard, or every line when nothing is selected.
    void CopyLines() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ShowMenu(const QPoint& globalPosition, bool fromKeyboard);

    int m_printed = 0;
};

} // namespace pardolin
