// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

namespace pardolin {

// A surface that prints whole lines from the top down. It keeps what it printed and paints
// it again whenever asked, so the text survives the window being covered or hidden. Lines
// are neither wrapped nor scrolled: what falls below the bottom edge is not seen. It takes
// the keyboard focus; its context menu (also on the menu key and Shift+F10) and Ctrl+C copy
// the lines, and assistive tools read them as its text.
class QtTextSurface : public QWidget {
    Q_OBJECT
  public:
    explicit QtTextSurface(QWidget* parent = nullptr);

    void Clear();
    void Print(const QString& line);
    const QStringList& Lines() const { return m_lines; }
    // The printed lines, one per line, as plain text.
    QString PlainText() const { return m_lines.join(QLatin1Char('\n')); }
    // Puts the printed lines on the clipboard.
    void CopyLines() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ShowMenu(const QPoint& globalPosition);
    QString TextForAssistiveTools() const;
    void TextChanged(const QString& before);

    QStringList m_lines;
};

} // namespace pardolin
