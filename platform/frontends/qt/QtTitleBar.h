// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QToolButton;

namespace pardolin {

// The title bar of a window on a compositor that draws none: the window's icon and caption,
// and buttons to minimize and to close it, but none to maximize a window that cannot
// change size. Dragging it moves the window.
class QtTitleBar : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeight = 30;

    explicit QtTitleBar(QWidget* window);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* m_minimize;
    QToolButton* m_close;
};

} // namespace pardolin
