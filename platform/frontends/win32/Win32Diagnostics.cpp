// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/win32/Win32Diagnostics.h"

#include "platform/frontends/win32/WideText.h"

#include <windows.h>

#include <string>

namespace pardolin::win32 {

Diagnostics Win32Diagnostics() {
    if (GetEnvironmentVariableW(L"PARDOLIN_DIAGNOSTICS", nullptr, 0) <= 1) {
        return {};
    }
    return Diagnostics({[](Peer) { return true; },
                        [](Peer peer, std::string_view message) {
                            const std::string line =
                                std::string(ChannelName(peer)) + ": " + std::string(message) + "\n";
                            OutputDebugStringW(Wide(FromUtf8(line)).c_str());
                        }});
}

} // namespace pardolin::win32
