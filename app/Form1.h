// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Layouts.h"
#include "platform/DisplaySurface.h"
#include "platform/Form.h"
#include "platform/SystemQueries.h"

namespace pardolin {

// The keyboard window: four report lines inside a frame.
class Form1 : public Form {
  public:
    Form1(DisplaySurface& display, SystemQueries& queries)
        : m_display(display), m_queries(queries) {}

    const FormLayout& Layout() const override { return kForm1Layout; }
    void Click(std::size_t control) override;

    void Command1_Click();
    void Command2_Click();

    static constexpr ControlRef lblkeyboard = FindControl(kForm1Layout, "lblkeyboard");
    static constexpr ControlRef lblrepeatspeed = FindControl(kForm1Layout, "lblrepeatspeed");
    static constexpr ControlRef lblrepeatdelay = FindControl(kForm1Layout, "lblrepeatdelay");
    static constexpr ControlRef lblcaretflash = FindControl(kForm1Layout, "lblcaretflash");
    static constexpr ControlRef Command1 = FindControl(kForm1Layout, "Command1");
    static constexpr ControlRef Command2 = FindControl(kForm1Layout, "Command2");

  private:
    DisplaySurface& m_display;
    SystemQueries& m_queries;
};

} // namespace pardolin
