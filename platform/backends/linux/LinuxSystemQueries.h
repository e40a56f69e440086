// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemBackend.h"
#include "platform/backends/linux/Module.h"
#include "platform/backends/linux/Reading.h"
#include "platform/backends/linux/bus/DesktopPortal.h"
#include "platform/backends/linux/settings/KeyboardSettings.h"
#include "platform/backends/linux/sound/AlsaCards.h"
#include "platform/backends/linux/sound/SoundModule.h"
#include "platform/backends/linux/wayland/WaylandModule.h"
#include "platform/backends/linux/x11/XServer.h"

#include <chrono>
#include <variant>

namespace pardolin::linux_backend {

// A keyboard click waits at most this long for the X server or the compositor, and for the
// settings portal, which is asked beside them: all its questions together.
inline constexpr std::chrono::milliseconds kKeyboardDeadline{150};
// A sound click waits at most this long for the sound server: long enough for the four round
// trips to a server 200 ms away (connection, authentication, client name, the device list),
// short enough that the kernel's cards still answer within a second when a server is stuck.
// The conversation itself stops a little earlier, so that its answer is in by then.
inline constexpr std::chrono::milliseconds kSoundServerDeadline{900};
inline constexpr std::chrono::milliseconds kSoundConversationDeadline{850};
// The kernel's cards answer in some milliseconds, though a sleeping codec may take longer to
// wake; a driver stuck in the kernel could hold a thread for ever. So the card list and a
// device's record are each given what is left of a second since the sound click began, and
// this long at least: a sound click with a stuck server and a stuck card still ends within
// a second.
inline constexpr std::chrono::milliseconds kSoundClickDeadline{1000};
inline constexpr std::chrono::milliseconds kKernelCardsDeadline{50};

// Keyboard facts from the X server, or from the compositor in a Wayland session, and the
// desktop's settings; wave output from the sound server, or the kernel's sound cards when
// no server answers. The questions of one report are answered from one reading (see
// Reading).
class LinuxSystemQueries : public SystemQueries {
  public:
    // Every question is asked of the session `environment` describes (read by
    // SessionEnvironment::OfThisProcess, on the main thread).
    LinuxSystemQueries(ToolkitFacts toolkit, SessionEnvironment environment);

    std::int32_t GetKeyboardType(std::int32_t typeFlag) override;
    bool SystemParametersInfoA(SystemParameter action, std::uint32_t param, std::int32_t& value,
                               std::uint32_t winIni) override;
    std::uint32_t GetCaretBlinkTime() override;
    std::optional<std::uint32_t> waveOutGetNumDevs() override;
    WaveResult waveOutGetDevCapsA(std::uint32_t deviceId, WaveCapsRecord& caps,
                                  std::uint32_t size) override;

  private:
    // Each fact is empty when it could not be found out.
    struct KeyboardFacts {
        std::optional<std::int32_t> type;
        std::optional<std::int32_t> delay;
        std::optional<std::int32_t> rate;
        std::optional<std::uint32_t> caretPhaseMs;
    };
    enum class KeyboardQuestion { Type, Delay, Rate, Caret };

    // The output devices of one count: the sound server's records, or the kernel's devices
    // when no server answered; empty when the count could not be found out.
    using WaveDevices = std::optional<std::variant<std::vector<WaveCapsRecord>, AlsaPlaybackList>>;
    // The count of the wave devices is asked as question kCountQuestion, a device's record
    // as its id.
    static constexpr std::int64_t kCountQuestion = -1;

    KeyboardFacts ReadKeyboard();
    // The keyboard of an X session; of a Wayland session, from the compositor.
    void ReadXKeyboard(KeyboardFacts& facts, std::chrono::steady_clock::time_point deadline);
    void ReadWaylandKeyboard(KeyboardFacts& facts, std::chrono::steady_clock::time_point deadline);
    bool OnWayland() const;
    WaveDevices ReadWaveDevices();
    // When a question of the kernel's cards must be answered by (see kSoundClickDeadline).
    std::chrono::steady_clock::time_point KernelCardsDeadline() const;
    // A kernel device's record, asked on a thread of its own until KernelCardsDeadline.
    WaveResult KernelCaps(const AlsaPlayback& playback, WaveCapsRecord& caps);

    // A settings file that exists but cannot be read, told of.
    std::optional<std::string> ReadSettings(const std::string& path) const;
    std::optional<XkbNames> SystemKeyboardConfiguration() const;
    std::optional<std::uint32_t> CaretFromGtkSettings() const;
    std::optional<std::uint32_t> CaretFromLxqt() const;

    ToolkitFacts m_toolkit;
    const Diagnostics m_diagnostics = m_toolkit.diagnostics;
    const SessionEnvironment m_environment;
    const PortalSession m_portalSession;
    XServer m_xServer{m_diagnostics};
    // libpulse reads the X server's settings while it sets up, which xcb does not bound.
    BoundedAttempt m_soundServer;
    BoundedAttempt m_kernelCards;
    Module<SoundModule> m_sound{kSoundModuleFile, kSoundModuleEntry, m_diagnostics};
    Module<WaylandModule> m_wayland{kWaylandModuleFile, kWaylandModuleEntry, m_diagnostics};
    std::unique_ptr<WaylandKeyboard> m_compositor; // made by the Wayland module, on first use
    BoundedAttempt m_portal;
    Reading<KeyboardFacts, KeyboardQuestion> m_keyboard;
    Reading<WaveDevices, std::int64_t> m_waveDevices;
    // When the sound click of the last reading is to end.
    std::chrono::steady_clock::time_point m_soundClickEnd;
};

} // namespace pardolin::linux_backend
