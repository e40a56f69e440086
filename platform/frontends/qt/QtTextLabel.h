// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace pardolin {

// A label that always shows its text as plain text: what it shows comes from the system
// (device names, settings) and must never be read as markup. Its text can be selected; Ctrl+C
// and its context menu (also on the menu key and Shift+F10) copy the selection, or all of it.
class QtTextLabel : public QLabel {
    Q_OBJECT
  public:
    // `menuName` names the label's menu for assistive tools.
    QtTextLabel(const QString& menuName, QWidget* parent);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ShowMenu(const QPoint& globalPosition, bool fromKeyboard);
    void Copy() const;

    QString m_menuName;
};

} // namespace pardolin
