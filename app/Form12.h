// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ButtonForm.h"
#include "app/Layouts.h"
#include "platform/DisplaySurface.h"
#include "platform/SystemQueries.h"

namespace pardolin {

// The sound card window: the report is printed on a text surface inside a frame.
class Form12 : public ButtonForm<Form12> {
  public:
    Form12(DisplaySurface& display, SystemQueries& queries)
        : m_display(display), m_queries(queries) {}

    const FormLayout& Layout() const override { return kForm12Layout; }
    void Form_Load() override;

    // Whether the system has a wave output device. When it has none, the user is told so
    // and has closed the message by the time this returns.
    enum class Presence { Present, Absent, Unknown };
    Presence TestCard();
    void Command1_Click();
    void Command2_Click();

    static constexpr SurfaceRef Picture1 =
        FindControl<ControlKind::TextSurface>(kForm12Layout, "Picture1");
    static constexpr ButtonRef Command1 =
        FindControl<ControlKind::PushButton>(kForm12Layout, "Command1");
    static constexpr ButtonRef Command2 =
        FindControl<ControlKind::PushButton>(kForm12Layout, "Command2");
    static constexpr ButtonHandler<Form12> kButtons[] = {{Command1, &Form12::Command1_Click},
                                                         {Command2, &Form12::Command2_Click}};

  private:
    DisplaySurface& m_display;
    SystemQueries& m_queries;
};

} // namespace pardolin
