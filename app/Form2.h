// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplaySurface.h"
#include "platform/qt/FormWindow.h"

class QPushButton;

namespace pardolin {

// The main window: one button for each report window.
class Form2 : public FormWindow {
    Q_OBJECT
  public:
    explicit Form2(DisplaySurface& display);

    void Command1_Click();
    void Command2_Click();

    QPushButton* const Command1;
    QPushButton* const Command2;
    TextLabel* const Label1;

  private:
    DisplaySurface& m_display;
};

} // namespace pardolin
