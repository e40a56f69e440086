// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows/Keyboard.h"

#include <windows.h>

namespace pardolin::Keyboard {

std::int32_t GetKeyboardType(std::int32_t typeFlag) {
    return ::GetKeyboardType(typeFlag);
}

bool SystemParametersInfoA(std::uint32_t action, std::uint32_t param, std::int32_t& value,
                           std::uint32_t winIni) {
    INT setting = 0;
    if (!::SystemParametersInfoA(action, param, &setting, winIni)) {
        return false;
    }
    value = setting;
    return true;
}

std::uint32_t GetCaretBlinkTime() {
    return ::GetCaretBlinkTime();
}

} // namespace pardolin::Keyboard
