// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

namespace pardolin {

// A group frame drawn as a frame with its caption set into the top edge, as the Windows
// program draws it, whatever the style: some draw only a caption over a plain area, or put
// the caption against the window's edge.
class QtGroupFrame : public QGroupBox {
    Q_OBJECT
  public:
    QtGroupFrame(const QString& caption, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace pardolin
