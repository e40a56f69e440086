// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTextEdit>

namespace pardolin {

// A read-only text that prints whole lines from the top down, at a fixed pitch. It keeps
// what it printed, so the text survives the window being covered or hidden. Lines are
// neither wrapped nor scrolled to: what falls below the bottom edge is not seen. It takes
// the keyboard focus, with a caret that the arrow keys move line by line (Shift selects,
// Ctrl+A selects all); its lines can be copied (see QtCopyCommands). Assistive tools read it
// as read-only multi-line text.
class QtTextSurface : public QTextEdit {
    Q_OBJECT
  public:
    // `name` is what assistive tools call it.
    QtTextSurface(const QString& name, QWidget* parent);

    void Clear();
    void Print(const QString& line);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // Puts the selection on the clipboard, or every line when nothing is selected.
    void CopyLines() const;

    int m_printed = 0;
};

} // namespace pardolin
