// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Form12.h"

#include "app/FormSetup.h"
#include "platform/qt/QtText.h"
#include "platform/qt/TextLabel.h"
#include "platform/qt/TextSurface.h"
#include "reports/SoundReport.h"

#include <QGroupBox>
#include <QPushButton>

namespace pardolin {
namespace {

constexpr std::uint32_t kSurfaceBack = 0x00C0FFFF;

} // namespace

Form12::Form12(DisplaySurface& display, SystemQueries& queries)
    : Frame1(new QGroupBox(this)), Picture1(new TextSurface(Frame1)),
      Command1(new QPushButton(this)), Command2(new QPushButton(this)), Label1(new TextLabel(this)),
      m_display(display), m_queries(queries) {
    SetUpForm(*this, U"声卡信息统计", {6675, 3225, 7005, 5760});
    NameControls({{Frame1, "Frame1"},
                  {Picture1, "Picture1"},
                  {Command1, "Command1"},
                  {Command2, "Command2"},
                  {Label1, "Label1"}});

    Frame1->setTitle(QStringLiteral("声卡信息显示"));
    Place(*Frame1, {0, 0, 6975, 5055});
    Place(*Picture1, {120, 240, 6735, 4695});
    SetBackColour(*Picture1, kSurfaceBack);
    Picture1->setAccessibleName(QStringLiteral("声卡信息"));

    SetUpButton(*Command1, QStringLiteral("显示声卡信息"), {120, 5160, 1455, 495});
    SetUpButton(*Command2, QStringLiteral("退 出"), {1800, 5160, 1335, 495});
    Label1->setText(ToQString(NoticeCaption(NoticeEnd::None)));
    Label1->setWordWrap(true);
    Place(*Label1, {3600, 5160, 3135, 495});
    setTabOrder(Command1, Command2);

    connect(Command1, &QPushButton::clicked, this, &Form12::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form12::Command2_Click);
}

void Form12::Form_Load() {
    m_display.ClearSurface(*Picture1);
}

bool Form12::TestCard() {
    const Text title = kNoDeviceTitle;
    if (static_cast<std::int32_t>(m_queries.waveOutGetNumDevs()) < 1) {
        m_display.ShowMessage(kNoDevicePrompt, title);
        return false;
    }
    return true;
}

void Form12::Command1_Click() {
    m_display.ClearSurface(*Picture1);
    if (!TestCard()) {
        m_display.EndProgram();
    }
    WaveCapsRecord record;
    if (m_queries.waveOutGetDevCapsA(0, record, kWaveCapsRecordSize) != MMSYSERR_NOERROR) {
        // A record the system did not fill would print as a device of zeros.
        m_display.PrintLine(*Picture1, {Text(kCapsFailedLine)});
        return;
    }
    for (const PrintItems& line : BuildSoundReport(record)) {
        m_display.PrintLine(*Picture1, line);
    }
}

void Form12::Command2_Click() {
    m_display.HideForm(FormId::Form12);
    m_display.ShowForm(FormId::Form2);
}

} // namespace pardolin
