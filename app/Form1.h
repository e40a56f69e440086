// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ButtonForm.h"
#include "app/Layouts.h"
#include "platform/DisplaySurface.h"
#include "platform/SystemQueries.h"

namespace pardolin {

// The keyboard window: four report lines inside a frame.
class Form1 : public ButtonForm<Form1> {
  public:
    Form1(DisplaySurface& display, SystemQueries& queries)
        : m_display(display), m_queries(queries) {}

    const FormLayout& Layout() const override { return kForm1Layout; }

    void Command1_Click();
    void Command2_Click();

    static constexpr ReportLineRef lblkeyboard =
        FindControl<ControlKind::ReportLine>(kForm1Layout, "lblkeyboard");
    static constexpr ReportLineRef lblrepeatspeed =
        FindControl<ControlKind::ReportLine>(kForm1Layout, "lblrepeatspeed");
    static constexpr ReportLineRef lblrepeatdelay =
        FindControl<ControlKind::ReportLine>(kForm1Layout, "lblrepeatdelay");
    static constexpr ReportLineRef lblcaretflash =
        FindControl<ControlKind::ReportLine>(kForm1Layout, "lblcaretflash");
    static constexpr ButtonRef Command1 =
        FindControl<ControlKind::PushButton>(kForm1Layout, "Command1");
    static constexpr ButtonRef Command2 =
        FindControl<ControlKind::PushButton>(kForm1Layout, "Command2");
    static constexpr ButtonHandler<Form1> kButtons[] = {{Command1, &Form1::Command1_Click},
                                                        {Command2, &Form1::Command2_Click}};

  private:
    DisplaySurface& m_display;
    SystemQueries& m_queries;
};

} // namespace pardolin
