// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Form2.h"

#include "app/FormSetup.h"
#include "platform/qt/QtText.h"
#include "platform/qt/TextLabel.h"

#include <QPushButton>

namespace pardolin {

Form2::Form2(DisplaySurface& display)
    : Command1(new QPushButton(this)), Command2(new QPushButton(this)), Label1(new TextLabel(this)),
      m_display(display) {
    SetUpForm(*this, U"Pardolin", {8760, 5895, 4350, 1320});
    NameControls({{Command1, "Command1"}, {Command2, "Command2"}, {Label1, "Label1"}});

    SetUpButton(*Command1, QStringLiteral("键盘信息统计"), {240, 120, 1575, 735});
    SetUpButton(*Command2, QStringLiteral("声卡信息"), {2160, 120, 1695, 735});
    Label1->setText(ToQString(NoticeCaption(NoticeEnd::LineBreak)));
    Place(*Label1, {240, 960, 3495, 255});
    setTabOrder(Command1, Command2);

    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
}

void Form2::Command1_Click() {
    m_display.ShowForm(FormId::Form1);
}

void Form2::Command2_Click() {
    m_display.ShowForm(FormId::Form12);
}

} // namespace pardolin
