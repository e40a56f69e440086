// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/LinuxSystemQueries.h"

#include "platform/linux/KeyboardSettings.h"
#include "platform/linux/SoundModule.h"
#include "platform/linux/XServer.h"
#include "platform/linux/XSettings.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace pardolin::linux_backend {
namespace {

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream file(path);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string UserConfigDir() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
        return config;
    }
    const char* home = std::getenv("HOME");
    return home ? std::string(home) + "/.config" : std::string();
}

// The keyboard the system is configured for, for sessions without an X server.
std::optional<XkbNames> SystemKeyboardConfiguration() {
    if (const auto text = ReadFile("/etc/default/keyboard")) {
        if (auto names = ParseDefaultKeyboard(*text)) {
            return names;
        }
    }
    if (const auto text = ReadFile("/etc/X11/xorg.conf.d/00-keyboard.conf")) {
        return ParseXorgKeyboardConf(*text);
    }
    return std::nullopt;
}

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

std::optional<std::uint32_t> CaretFromGtkSettings() {
    for (const std::string& path :
         {UserConfigDir() + "/gtk-3.0/settings.ini", std::string("/etc/gtk-3.0/settings.ini")}) {
        if (const auto text = ReadFile(path)) {
            if (const auto phase = CaretPhaseMs(ParseGtkSettingsIni(*text))) {
                return phase;
            }
        }
    }
    return std::nullopt;
}

} // namespace

LinuxSystemQueries::LinuxSystemQueries(ToolkitCaretCycle toolkitCaretCycle)
    : m_toolkitCaretCycle(std::move(toolkitCaretCycle)) {}

std::int32_t LinuxSystemQueries::GetKeyboardType(std::int32_t typeFlag) {
    if (typeFlag != 0) {
        return 0;
    }
    if (const auto facts = QueryXServer(XFact::RulesNames, kXServerBudget);
        facts && facts->rulesNames) {
        return KeyboardTypeFromXkb(ParseXkbRulesNames(*facts->rulesNames));
    }
    const auto configured = SystemKeyboardConfiguration();
    return configured ? KeyboardTypeFromXkb(*configured) : 0;
}

bool LinuxSystemQueries::SystemParametersInfoA(std::uint32_t action, std::uint32_t,
                                               std::int32_t& value, std::uint32_t) {
    if (action != SPI_GETKEYBOARDDELAY && action != SPI_GETKEYBOARDSPEED) {
        return false;
    }
    const auto facts = QueryXServer(XFact::Repeat, kXServerBudget);
    if (!facts || !facts->repeatDelayMs || !facts->repeatIntervalMs) {
        return false;
    }
    value = action == SPI_GETKEYBOARDDELAY ? DelayIndexFromMs(*facts->repeatDelayMs)
                                           : RateIndexFromIntervalMs(*facts->repeatIntervalMs);
    return true;
}

std::uint32_t LinuxSystemQueries::GetCaretBlinkTime() {
    if (const auto facts = QueryXServer(XFact::XSettings, kXServerBudget);
        facts && facts->xsettings) {
        if (const auto phase = CaretFromXSettings(*facts->xsettings)) {
            return *phase;
        }
    }
    if (const auto phase = CaretFromGtkSettings()) {
        return *phase;
    }
    if (!m_toolkitCaretCycle) {
        return 0;
    }
    return CaretPhaseMs({std::nullopt, m_toolkitCaretCycle()}).value_or(0);
}

std::uint32_t LinuxSystemQueries::waveOutGetNumDevs() {
    const SoundModule* sound = LoadSoundModule();
    if (!sound) {
        return 0;
    }
    if (const auto devices = sound->SoundServerDevices(kSoundServerBudget)) {
        return static_cast<std::uint32_t>(devices->size());
    }
    return static_cast<std::uint32_t>(sound->ListAlsaPlayback().size());
}

std::uint32_t LinuxSystemQueries::waveOutGetDevCapsA(std::uint32_t deviceId, WaveCapsRecord& caps,
                                                     std::uint32_t size) {
    if (size < kWaveCapsRecordSize) {
        return MMSYSERR_INVALPARAM;
    }
    const SoundModule* sound = LoadSoundModule();
    if (!sound) {
        return MMSYSERR_NODRIVER;
    }
    if (const auto devices = sound->SoundServerDevices(kSoundServerBudget)) {
        if (deviceId >= devices->size()) {
            return MMSYSERR_BADDEVICEID;
        }
        caps = (*devices)[deviceId];
        return MMSYSERR_NOERROR;
    }
    const std::vector<AlsaPlayback> devices = sound->ListAlsaPlayback();
    if (deviceId >= devices.size()) {
        return MMSYSERR_BADDEVICEID;
    }
    return sound->AlsaCaps(devices[deviceId], caps);
}

} // namespace pardolin::linux_backend

namespace pardolin {

std::unique_ptr<SystemQueries> CreateSystemQueries(ToolkitCaretCycle toolkitCaretCycle) {
    return std::make_unique<linux_backend::LinuxSystemQueries>(std::move(toolkitCaretCycle));
}

} // namespace pardolin
