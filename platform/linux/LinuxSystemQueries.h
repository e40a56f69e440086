// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemBackend.h"

#include <chrono>

namespace pardolin::linux_backend {

// Sound-server and X-server conversations each get at most this long.
inline constexpr std::chrono::milliseconds kSoundServerBudget{150};
inline constexpr std::chrono::milliseconds kXServerBudget{150};

// Keyboard facts from the X server (native or XWayland) and the desktop's settings; wave
// output from the sound server, or the kernel's sound cards when no server answers.
class LinuxSystemQueries : public SystemQueries {
  public:
    explicit LinuxSystemQueries(ToolkitCaretCycle toolkitCaretCycle);

    std::int32_t GetKeyboardType(std::int32_t typeFlag) override;
    bool SystemParametersInfoA(std::uint32_t action, std::uint32_t param, std::int32_t& value,
                               std::uint32_t winIni) override;
    std::uint32_t GetCaretBlinkTime() override;
    std::uint32_t waveOutGetNumDevs() override;
    std::uint32_t waveOutGetDevCapsA(std::uint32_t deviceId, WaveCapsRecord& caps,
                                     std::uint32_t size) override;

  private:
    ToolkitCaretCycle m_toolkitCaretCycle;
};

} // namespace pardolin::linux_backend
