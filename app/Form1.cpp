// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Form1.h"

#include "app/FormSetup.h"
#include "platform/qt/QtText.h"
#include "platform/qt/TextLabel.h"
#include "reports/KeyboardReport.h"

#include <QGroupBox>
#include <QPushButton>

#include <optional>

namespace pardolin {
namespace {

constexpr std::uint32_t kFrameBack = 0x00E0E0E0;
constexpr std::uint32_t kReportLabelBack = 0x0080FFFF;

} // namespace

Form1::Form1(DisplaySurface& display, SystemQueries& queries)
    : Frame1(new QGroupBox(this)), lblkeyboard(new TextLabel(Frame1)),
      lblrepeatspeed(new TextLabel(Frame1)), lblrepeatdelay(new TextLabel(Frame1)),
      lblcaretflash(new TextLabel(Frame1)), Command1(new QPushButton(this)),
      Command2(new QPushButton(this)), Label1(new TextLabel(this)), m_display(display),
      m_queries(queries) {
    SetUpForm(*this, U"统计键盘信息", {7815, 5130, 5670, 2805});
    NameControls({{Frame1, "Frame1"},
                  {lblkeyboard, "lblkeyboard"},
                  {lblrepeatspeed, "lblrepeatspeed"},
                  {lblrepeatdelay, "lblrepeatdelay"},
                  {lblcaretflash, "lblcaretflash"},
                  {Command1, "Command1"},
                  {Command2, "Command2"},
                  {Label1, "Label1"}});

    Frame1->setTitle(QStringLiteral("键盘信息显示"));
    Place(*Frame1, {0, 0, 5535, 1935});
    SetBackColour(*Frame1, kFrameBack);
    Place(*lblkeyboard, {120, 240, 5295, 255});
    Place(*lblrepeatspeed, {120, 600, 5295, 255});
    Place(*lblrepeatdelay, {120, 1080, 5295, 255});
    Place(*lblcaretflash, {120, 1560, 5295, 255});
    for (TextLabel* label : {lblkeyboard, lblrepeatspeed, lblrepeatdelay, lblcaretflash}) {
        SetBackColour(*label, kReportLabelBack);
    }
    // Until the first report the labels are empty; their names say what they will show.
    lblkeyboard->setAccessibleName(QStringLiteral("键盘的类型"));
    lblrepeatspeed->setAccessibleName(QStringLiteral("键盘的重复率"));
    lblrepeatdelay->setAccessibleName(QStringLiteral("键盘重复延迟"));
    lblcaretflash->setAccessibleName(QStringLiteral("光标闪烁频率"));

    SetUpButton(*Command1, QStringLiteral("键盘信息"), {1080, 1920, 1335, 495});
    SetUpButton(*Command2, QStringLiteral("退出"), {3000, 1920, 1215, 495});
    Label1->setText(ToQString(NoticeCaption(NoticeEnd::LineBreak)));
    Place(*Label1, {1080, 2520, 3615, 255});
    setTabOrder(Command1, Command2);

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
}

void Form1::Command1_Click() {
    m_display.SetCaption(*lblkeyboard, KeyboardTypeLine(m_queries.GetKeyboardType(0)));

    // Each setting has its own variable, so a failed query can never show another's value.
    std::int32_t delay = 0;
    const bool delayKnown = m_queries.SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, delay, 0);
    m_display.SetCaption(*lblrepeatdelay,
                         RepeatDelayLine(delayKnown ? std::optional(delay) : std::nullopt));

    std::int32_t rate = 0;
    const bool rateKnown = m_queries.SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, rate, 0);
    m_display.SetCaption(*lblrepeatspeed,
                         RepeatRateLine(rateKnown ? std::optional(rate) : std::nullopt));

    m_display.SetCaption(*lblcaretflash, CaretBlinkLine(m_queries.GetCaretBlinkTime()));
}

void Form1::Command2_Click() {
    m_display.HideForm(FormId::Form1);
    m_display.ShowForm(FormId::Form2);
}

} // namespace pardolin
