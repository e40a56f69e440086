// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/LinuxSystemQueries.h"

#include "platform/backends/linux/settings/KeyboardSettings.h"
#include "platform/backends/linux/settings/SettingsFile.h"
#include "platform/backends/linux/x11/XSettings.h"

namespace pardolin::linux_backend {
namespace {

using Clock = std::chrono::steady_clock;

std::optional<std::uint32_t> CaretFromXSettings(const std::string& property) {
    const auto integers = ParseXSettingsIntegers(property);
    if (!integers) {
        return std::nullopt;
    }
    CaretSettings settings;
    if (const auto blink = integers->find("Net/CursorBlink"); blink != integers->end()) {
        settings.blinks = blink->second != 0;
    }
    if (const auto time = integers->find("Net/CursorBlinkTime"); time != integers->end()) {
        settings.cycleMs = time->second;
    }
    return CaretPhaseMs(settings);
}

template <typename... Visitors> struct Overloaded : Visitors... { using Visitors::operator()...; };

} // namespace

std::optional<std::string> LinuxSystemQueries::ReadSettings(const std::string& path) const {
    std::string why;
    std::optional<std::string> text = ReadSettingsFile(path, &why);
    if (!text && !why.empty()) {
        m_diagnostics.Failed(Peer::SettingsFiles, path, why);
    }
    return text;
}

// The keyboard the system is configured for, for sessions without an X server.
std::optional<XkbNames> LinuxSystemQueries::SystemKeyboardConfiguration() const {
    if (const auto text = ReadSettings("/etc/default/keyboard")) {
        if (auto names = ParseDefaultKeyboard(*text)) {
            return names;
        }
    }
    if (const auto text = ReadSettings("/etc/X11/xorg.conf.d/00-keyboard.conf")) {
        return ParseXorgKeyboardConf(*text);
    }
    return std::nullopt;
}

std::optional<std::uint32_t> LinuxSystemQueries::CaretFromGtkSettings() const {
    std::vector<std::string> paths{"/etc/gtk-3.0/settings.ini"};
    if (const std::string user = m_environment.UserConfigDir(); !user.empty()) {
        paths.insert(paths.begin(), user + "/gtk-3.0/settings.ini");
    }
    for (const std::string& path : paths) {
        if (const auto text = ReadSettings(path)) {
            if (const auto phase = CaretPhaseMs(ParseGtkSettingsIni(*text))) {
                return phase;
            }
        }
    }
    return std::nullopt;
}

// LXQt's own caret cycle: the user's lxqt.conf, then the system's, as LXQt reads them.
std::optional<std::uint32_t> LinuxSystemQueries::CaretFromLxqt() const {
    std::vector<std::string> dirs = m_environment.SystemConfigDirs();
    if (const std::string user = m_environment.UserConfigDir(); !user.empty()) {
        dirs.insert(dirs.begin(), user);
    }
    for (const std::string& dir : dirs) {
        if (const auto text = ReadSettings(dir + "/lxqt/lxqt.conf")) {
            if (const std::optional<int> cycle = ParseLxqtCursorFlashTime(*text)) {
                return CaretPhaseMs({std::nullopt, cycle});
            }
        }
    }
    return std::nullopt;
}

Clock::time_point LinuxSystemQueries::KernelCardsDeadline() const {
    return std::max(m_soundClickEnd, Clock::now() + kKernelCardsDeadline);
}

WaveResult LinuxSystemQueries::KernelCaps(const AlsaPlayback& playback, WaveCapsRecord& caps) {
    using Answer = std::pair<WaveResult, WaveCapsRecord>;
    const auto askCard = [sound = m_sound.Get(), playback, diagnostics = m_diagnostics] {
        Answer filled{WaveResult::NoError, {}};
        filled.first = sound->AlsaCaps(playback, filled.second, diagnostics);
        return std::optional(filled);
    };
    const std::optional<Answer> answer = m_kernelCards.Run(
        askCard, KernelCardsDeadline(), m_diagnostics, Peer::KernelCards, "a device's record");
    if (!answer) {
        return WaveResult::NoDriver;
    }
    if (answer->first == WaveResult::NoError) {
        caps = answer->second;
    }
    return answer->first;
}

LinuxSystemQueries::LinuxSystemQueries(ToolkitFacts toolkit, SessionEnvironment environment)
    : m_toolkit(std::move(toolkit)), m_environment(std::move(environment)),
      m_portalSession(PortalSession::Of(m_environment)) {}

bool LinuxSystemQueries::OnWayland() const {
    // The toolkit knows; otherwise a Wayland display with no X display in use. Asking an X
    // server from a Wayland session could start one, and may be slow to answer.
    return m_toolkit.onWayland ||
           (!m_environment.waylandDisplay.empty() && m_environment.display.empty());
}

void LinuxSystemQueries::ReadXKeyboard(KeyboardFacts& facts, Clock::time_point deadline) {
    const std::optional<XServerFacts> x = m_xServer.Read(m_environment.display, deadline);
    if (x && x->rulesNames) {
        facts.type = KeyboardTypeFromXkb(ParseXkbRulesNames(*x->rulesNames));
    } else if (const auto configured = SystemKeyboardConfiguration()) {
        facts.type = KeyboardTypeFromXkb(*configured);
    }
    // Keys that do not repeat (xset r off) have neither a delay nor a rate.
    if (x && x->repeatDelayMs && x->repeatIntervalMs) {
        facts.delay = DelayIndexFromMs(*x->repeatDelayMs);
        facts.rate = RateIndexFromIntervalMs(*x->repeatIntervalMs);
    }
    if (x && x->xsettings) {
        facts.caretPhaseMs = CaretFromXSettings(*x->xsettings);
    }
}

void LinuxSystemQueries::ReadWaylandKeyboard(KeyboardFacts& facts, Clock::time_point deadline) {
    if (!m_compositor) {
        const WaylandModule* wayland = m_wayland.Get();
        if (!wayland) {
            return;
        }
        m_compositor = wayland->CreateWaylandKeyboard(m_diagnostics);
    }
    const std::optional<WaylandKeyboardFacts> keyboard = m_compositor->Read(
        CompositorAddress(m_environment.waylandDisplay.c_str(), m_environment.runtimeDir.c_str()),
        deadline);
    if (!keyboard) {
        return;
    }
    if (keyboard->keymap) {
        facts.type = KeyboardTypeFromKeymap(*keyboard->keymap);
    }
    if (keyboard->repeatsPerSecond && keyboard->repeatDelayMs) {
        const RepeatSettings repeat =
            RepeatFromCompositor(*keyboard->repeatsPerSecond, *keyboard->repeatDelayMs);
        facts.delay = repeat.delay;
        facts.rate = repeat.rate;
    }
}

LinuxSystemQueries::KeyboardFacts LinuxSystemQueries::ReadKeyboard() {
    const Clock::time_point deadline = Clock::now() + kKeyboardDeadline;
    // The settings portal is asked beside the display server, each with the whole deadline:
    // one that does not answer costs the other's facts nothing.
    auto portal =
        m_portal.Start([session = m_portalSession, deadline, diagnostics = m_diagnostics] {
            return ReadPortalCaret(session, deadline, diagnostics);
        });
    if (!portal.Started()) {
        m_diagnostics.Failed(Peer::SettingsPortal, "asking it", m_portal.WhyNotStarted());
    }
    KeyboardFacts facts;
    if (OnWayland()) {
        ReadWaylandKeyboard(facts, deadline);
    } else {
        ReadXKeyboard(facts, deadline);
    }
    // LXQt keeps the caret in a file of its own, which only its Qt 5 theme applies; there
    // it is the desktop's word, before what any settings daemon says.
    if (m_environment.DesktopIs("LXQt")) {
        if (const auto lxqt = CaretFromLxqt()) {
            facts.caretPhaseMs = lxqt;
        }
    }
    if (!facts.caretPhaseMs) {
        if (const std::optional<CaretSettings> settings = portal.Await(deadline)) {
            facts.caretPhaseMs = CaretPhaseMs(*settings);
        }
    }
    if (!facts.caretPhaseMs) {
        facts.caretPhaseMs = CaretFromGtkSettings();
    }
    if (!facts.caretPhaseMs && m_toolkit.caretCycle) {
        facts.caretPhaseMs = CaretPhaseMs({std::nullopt, m_toolkit.caretCycle()});
    }
    return facts;
}

std::int32_t LinuxSystemQueries::GetKeyboardType(std::int32_t typeFlag) {
    if (typeFlag != 0) {
        return 0;
    }
    return m_keyboard.For(KeyboardQuestion::Type, [this] { return ReadKeyboard(); })
        .type.value_or(0);
}

bool LinuxSystemQueries::SystemParametersInfoA(SystemParameter action, std::uint32_t,
                                               std::int32_t& value, std::uint32_t) {
    if (action != SystemParameter::KeyboardDelay && action != SystemParameter::KeyboardSpeed) {
        return false;
    }
    const bool delay = action == SystemParameter::KeyboardDelay;
    const KeyboardFacts& facts =
        m_keyboard.For(delay ? KeyboardQuestion::Delay : KeyboardQuestion::Rate,
                       [this] { return ReadKeyboard(); });
    const std::optional<std::int32_t> setting = delay ? facts.delay : facts.rate;
    if (!setting) {
        return false;
    }
    value = *setting;
    return true;
}

std::uint32_t LinuxSystemQueries::GetCaretBlinkTime() {
    return m_keyboard.For(KeyboardQuestion::Caret, [this] { return ReadKeyboard(); })
        .caretPhaseMs.value_or(0);
}

LinuxSystemQueries::WaveDevices LinuxSystemQueries::ReadWaveDevices() {
    const SoundModule* sound = m_sound.Get();
    if (!sound) {
        return std::nullopt;
    }
    using Outcome = SoundServerAnswer::Outcome;
    const Clock::time_point start = Clock::now();
    m_soundClickEnd = start + kSoundClickDeadline;
    const auto askServer = [sound, environment = m_environment, diagnostics = m_diagnostics,
                            end = start + kSoundConversationDeadline] {
        return std::optional(sound->ReadServerDevices(environment, end, diagnostics));
    };
    ServerDevices server = m_soundServer
                               .Run(askServer, start + kSoundServerDeadline, m_diagnostics,
                                    Peer::SoundServer, "the device list")
                               .value_or(ServerDevices{});
    if (server.outcome == Outcome::Answered) {
        return std::move(server.devices);
    }
    const auto listCards = [sound, diagnostics = m_diagnostics] {
        return std::optional(sound->ListAlsaPlayback(diagnostics));
    };
    std::optional<AlsaPlaybackList> listed = m_kernelCards.Run(
        listCards, KernelCardsDeadline(), m_diagnostics, Peer::KernelCards, "the cards' list");
    if (!listed) {
        return std::nullopt;
    }
    AlsaPlaybackList kernel = std::move(*listed);
    // Without a server the kernel's cards are the whole answer, once every card could be
    // asked. A server that did not answer may hold devices of its own, so then only cards
    // actually found are an answer; none found is not the same as none there.
    if (!kernel.devices.empty() || (server.outcome == Outcome::NoServer && kernel.complete)) {
        return kernel;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> LinuxSystemQueries::waveOutGetNumDevs() {
    const WaveDevices& devices =
        m_waveDevices.For(kCountQuestion, [this] { return ReadWaveDevices(); });
    if (!devices) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(std::visit(
        Overloaded{[](const std::vector<WaveCapsRecord>& records) { return records.size(); },
                   [](const AlsaPlaybackList& kernel) { return kernel.devices.size(); }},
        *devices));
}

WaveResult LinuxSystemQueries::waveOutGetDevCapsA(std::uint32_t deviceId, WaveCapsRecord& caps,
                                                  std::uint32_t size) {
    if (size < kWaveCapsRecordSize) {
        return WaveResult::InvalidParam;
    }
    const WaveDevices& devices = m_waveDevices.For(deviceId, [this] { return ReadWaveDevices(); });
    if (!devices) {
        return WaveResult::NoDriver;
    }
    return std::visit(Overloaded{[&](const std::vector<WaveCapsRecord>& records) {
                                     if (deviceId >= records.size()) {
                                         return WaveResult::BadDeviceId;
                                     }
                                     caps = records[deviceId];
                                     return WaveResult::NoError;
                                 },
                                 [&](const AlsaPlaybackList& kernel) {
                                     if (deviceId >= kernel.devices.size()) {
                                         return WaveResult::BadDeviceId;
                                     }
                                     return KernelCaps(kernel.devices[deviceId], caps);
                                 }},
                      *devices);
}

} // namespace pardolin::linux_backend

namespace pardolin {

std::unique_ptr<SystemQueries> CreateSystemQueries(ToolkitFacts toolkit) {
    return std::make_unique<linux_backend::LinuxSystemQueries>(
        std::move(toolkit), linux_backend::SessionEnvironment::OfThisProcess());
}

} // namespace pardolin
