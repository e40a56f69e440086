// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemBackend.h"
#include "platform/backends/BoundedAttempt.h"
#include "platform/backends/windows/Keyboard.h"
#include "platform/backends/windows/Module1.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <utility>

namespace pardolin {
namespace {

using Clock = std::chrono::steady_clock;

// A sound click waits at most this long for winmm, as on Linux for the sound server: a
// driver can hang.
constexpr std::chrono::milliseconds kWaveDeadline{900};
// Until winmm has answered once, a question also waits for it to load its drivers and list
// the devices, which on a cold start, or with a sound server slow to answer its first
// client, takes seconds; still well short of the five seconds after which Windows calls a
// window that takes no input hung.
constexpr std::chrono::milliseconds kWaveDriversDeadline{3000};

// The platform's own calls, passed through; the wave calls bounded by the deadlines.
class WindowsSystemQueries : public SystemQueries {
  public:
    explicit WindowsSystemQueries(const Diagnostics& diagnostics) : m_diagnostics(diagnostics) {}

    std::int32_t GetKeyboardType(std::int32_t typeFlag) override {
        return Keyboard::GetKeyboardType(typeFlag);
    }
    bool SystemParametersInfoA(SystemParameter action, std::uint32_t param, std::int32_t& value,
                               std::uint32_t winIni) override {
        if (!Keyboard::SystemParametersInfoA(action, param, value, winIni)) {
            m_diagnostics.Failed(Peer::SystemSettings,
                                 "SystemParametersInfoA(" +
                                     std::to_string(static_cast<std::uint32_t>(action)) + ")",
                                 "error " + std::to_string(GetLastError()));
            return false;
        }
        return true;
    }
    std::uint32_t GetCaretBlinkTime() override { return Keyboard::GetCaretBlinkTime(); }
    std::optional<std::uint32_t> waveOutGetNumDevs() override {
        return NoteAnswer(m_wave.Run(
            [diagnostics = m_diagnostics] { return Module1::waveOutGetNumDevs(diagnostics); },
            WaveDeadline(), m_diagnostics, Peer::WaveDevices, "waveOutGetNumDevs"));
    }
    WaveResult waveOutGetDevCapsA(std::uint32_t deviceId, WaveCapsRecord& caps,
                                  std::uint32_t size) override {
        using Answer = std::pair<WaveResult, WaveCapsRecord>;
        const std::optional<Answer> answer = NoteAnswer(m_wave.Run(
            [deviceId, size, diagnostics = m_diagnostics] {
                Answer filled{WaveResult::NoError, {}};
                filled.first =
                    Module1::waveOutGetDevCapsA(deviceId, filled.second, size, diagnostics);
                return std::optional(filled);
            },
            WaveDeadline(), m_diagnostics, Peer::WaveDevices, "waveOutGetDevCapsA"));
        if (!answer) {
            return WaveResult::NoDriver;
        }
        if (answer->first == WaveResult::NoError) {
            caps = answer->second;
        }
        return answer->first;
    }

  private:
    Clock::time_point WaveDeadline() const {
        return Clock::now() + (m_waveAnswered ? kWaveDeadline : kWaveDriversDeadline);
    }
    template <typename Answer> std::optional<Answer> NoteAnswer(std::optional<Answer> answer) {
        m_waveAnswered = m_waveAnswered || answer.has_value();
        return answer;
    }

    const Diagnostics m_diagnostics;
    BoundedAttempt m_wave;
    // Whether winmm has answered a question of this run: its drivers are loaded.
    bool m_waveAnswered = false;
};

} // namespace

std::unique_ptr<SystemQueries> CreateSystemQueries(ToolkitFacts toolkit) {
    // Windows answers every caret question itself.
    return std::make_unique<WindowsSystemQueries>(toolkit.diagnostics);
}

} // namespace pardolin
