// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace pardolin {

// A top-level window of the program. Loading runs Form_Load once per instance.
class FormWindow : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;

    virtual void Form_Load() {}
};

} // namespace pardolin
