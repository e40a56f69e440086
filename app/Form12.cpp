// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Form12.h"

#include "app/Forms.h"
#include "reports/SoundReport.h"

namespace pardolin {

void Form12::Form_Load() {
    m_display.ClearSurface(Picture1);
}

Form12::Presence Form12::TestCard() {
    const Text title = kNoDeviceTitle;
    const std::optional<std::uint32_t> count = m_queries.waveOutGetNumDevs();
    if (!count) {
        return Presence::Unknown;
    }
    if (static_cast<std::int32_t>(*count) < 1) {
        m_display.ShowMessage(kNoDevicePrompt, title);
        return Presence::Absent;
    }
    return Presence::Present;
}

void Form12::Command1_Click() {
    const BusyCursor busy(m_display);
    m_display.ClearSurface(Picture1);
    const Presence presence = TestCard();
    if (presence == Presence::Absent) {
        m_display.EndProgram();
    }
    WaveCapsRecord record;
    // Only a real answer of no device ends the program; not knowing is a failed query, and
    // a record the system did not fill would print as a device of zeros.
    if (presence == Presence::Unknown ||
        m_queries.waveOutGetDevCapsA(0, record, kWaveCapsRecordSize) != WaveResult::NoError) {
        m_display.PrintLine(Picture1, {Text(kCapsFailedLine)});
        m_display.Announce(FormId::Form12, kCapsFailedLine);
        return;
    }
    const ReportLines lines = BuildSoundReport(record);
    for (const PrintItems& line : lines) {
        m_display.PrintLine(Picture1, line);
    }
    // The device's name; the rest is there to read on the surface.
    m_display.Announce(FormId::Form12, FormatLine(lines.front()));
}

void Form12::Command2_Click() {
    ReturnToMainWindow(m_display, FormId::Form12);
}

} // namespace pardolin
