// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplaySurface.h"
#include "platform/SystemQueries.h"
#include "platform/qt/FormWindow.h"

class QGroupBox;
class QPushButton;

namespace pardolin {

// The sound card window: the report is printed on a text surface inside a frame.
class Form12 : public FormWindow {
    Q_OBJECT
  public:
    Form12(DisplaySurface& display, SystemQueries& queries);

    void Form_Load() override;
    // True when the system has a wave output device; otherwise tells the user so, waits for
    // the message to be closed and returns false.
    bool TestCard();
    void Command1_Click();
    void Command2_Click();

    QGroupBox* const Frame1;
    TextSurface* const Picture1;
    QPushButton* const Command1;
    QPushButton* const Command2;
    TextLabel* const Label1;

  private:
    DisplaySurface& m_display;
    SystemQueries& m_queries;
};

} // namespace pardolin
