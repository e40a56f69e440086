// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplaySurface.h"
#include "platform/SystemQueries.h"
#include "platform/qt/FormWindow.h"

class QGroupBox;
class QPushButton;

namespace pardolin {

// The keyboard window: four report lines inside a frame.
class Form1 : public FormWindow {
    Q_OBJECT
  public:
    Form1(DisplaySurface& display, SystemQueries& queries);

    void Command1_Click();
    void Command2_Click();

    QGroupBox* const Frame1;
    TextLabel* const lblkeyboard;
    TextLabel* const lblrepeatspeed;
    TextLabel* const lblrepeatdelay;
    TextLabel* const lblcaretflash;
    QPushButton* const Command1;
    QPushButton* const Command2;
    TextLabel* const Label1;

  private:
    DisplaySurface& m_display;
    SystemQueries& m_queries;
};

} // namespace pardolin
