// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Form1.h"

#include "app/Forms.h"
#include "reports/KeyboardReport.h"

#include <optional>

namespace pardolin {

void Form1::Command1_Click() {
    const BusyCursor busy(m_display);
    // The platform answers 0 when it cannot tell the type.
    const std::int32_t type = m_queries.GetKeyboardType(0);
    const Text typeLine = KeyboardTypeLine(type != 0 ? std::optional(type) : std::nullopt);
    m_display.SetCaption(lblkeyboard, typeLine);

    // Each setting has its own variable, so a failed query can never show another's value.
    std::int32_t delay = 0;
    const bool delayKnown =
        m_queries.SystemParametersInfoA(SystemParameter::KeyboardDelay, 0, delay, 0);
    const Text delayLine = RepeatDelayLine(delayKnown ? std::optional(delay) : std::nullopt);
    m_display.SetCaption(lblrepeatdelay, delayLine);

    std::int32_t rate = 0;
    const bool rateKnown =
        m_queries.SystemParametersInfoA(SystemParameter::KeyboardSpeed, 0, rate, 0);
    const Text rateLine = RepeatRateLine(rateKnown ? std::optional(rate) : std::nullopt);
    m_display.SetCaption(lblrepeatspeed, rateLine);

    const Text caretLine = CaretBlinkLine(m_queries.GetCaretBlinkTime());
    m_display.SetCaption(lblcaretflash, caretLine);

    // Read out in the order the lines stand in the window.
    m_display.Announce(FormId::Form1,
                       typeLine + U'\n' + rateLine + U'\n' + delayLine + U'\n' + caretLine);
}

void Form1::Command2_Click() {
    ReturnToMainWindow(m_display, FormId::Form1);
}

} // namespace pardolin
