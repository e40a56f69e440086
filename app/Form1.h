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

    static constexpr LabelRef lblkeyboard =
        FindControl<ControlKind::Label>(kForm1Layout, "lblkeyboard");
    static constexpr LabelRef lblrepeatspeed =
        FindControl<ControlKind::Label>(kForm1Layout, "lblrepeatspeed");
    static constexpr LabelRef lblrepeatdelay =
        FindControl<ControlKind::Label>(kForm1Layout, "lblrepeatdelay");
    static constexpr LabelRef lblcaretflash =
        FindControl<ControlKind::Label>(kForm1Layout, "lblcaretflash");
    static constexpr ButtonRef Command1 =
        FindControl<ControlKind::PushButton>(kForm1Layout, "Command1");
    static constexpr ButtonRef Command2 =
        FindControl<ControlKind::PushButton>(kForm1Layout, "Command2");

  private:
    DisplaySurface& m_display;
    SystemQueries& m_queries;
};

} // namespace pardolin
