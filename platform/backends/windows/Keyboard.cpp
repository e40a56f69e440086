// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/windows/Keyboard.h"

#include <windows.h>

namespace pardolin::Keyboard {

static_assert(static_cast<UINT>(SystemParameter::KeyboardSpeed) == SPI_GETKEYBOARDSPEED);
static_assert(static_cast<UINT>(SystemParameter::KeyboardDelay) == SPI_GETKEYBOARDDELAY);

std::int32_t GetKeyboardType(std::int32_t typeFlag) {
    return ::GetKeyboardType(typeFlag);
}

bool SystemParametersInfoA(SystemParameter action, std::uint32_t param, std::int32_t& value,
                           std::uint32_t winIni) {
    INT setting = 0;
    if (!::SystemParametersInfoA(static_cast<UINT>(action), param, &setting, winIni)) {
        return false;
    }
    value = setting;
    return true;
}

std::uint32_t GetCaretBlinkTime() {
    return ::GetCaretBlinkTime();
}

} // namespace pardolin::Keyboard
