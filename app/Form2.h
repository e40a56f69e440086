// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ButtonForm.h"
#include "app/Layouts.h"
#include "platform/DisplaySurface.h"

namespace pardolin {

// The main window: one button for each report window.
class Form2 : public ButtonForm<Form2> {
  public:
    explicit Form2(DisplaySurface& display) : m_display(display) {}

    const FormLayout& Layout() const override { return kForm2Layout; }

    void Command1_Click();
    void Command2_Click();

    static constexpr ButtonRef Command1 =
        FindControl<ControlKind::PushButton>(kForm2Layout, "Command1");
    static constexpr ButtonRef Command2 =
        FindControl<ControlKind::PushButton>(kForm2Layout, "Command2");
    static constexpr ButtonHandler<Form2> kButtons[] = {{Command1, &Form2::Command1_Click},
                                                        {Command2, &Form2::Command2_Click}};

  private:
    DisplaySurface& m_display;
};

} // namespace pardolin
