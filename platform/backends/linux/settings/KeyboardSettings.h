// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pardolin::linux_backend {

// The XKB configuration names: rules, model, layout(s), variant(s), options.
struct XkbNames {
    std::string rules;
    std::string model;
    std::string layout;
    std::string variant;
    std::string options;
};

// The _XKB_RULES_NAMES root-window property: the five names, each ended by a NUL.
XkbNames ParseXkbRulesNames(std::string_view property);

// /etc/default/keyboard: shell assignments XKBMODEL="..." and XKBLAYOUT="...".
std::optional<XkbNames> ParseDefaultKeyboard(std::string_view text);

// An xorg.conf.d InputClass as localectl writes it: Option "XkbModel" "..." and so on.
std::optional<XkbNames> ParseXorgKeyboardConf(std::string_view text);

// The keyboard type code the platform would report for this model and layout: 7 for a
// Japanese keyboard, 8 for a Korean one, 4 (the enhanced 101/102-key type) for any other.
std::int32_t KeyboardTypeFromXkb(const XkbNames& names);

// The repeat delay in milliseconds on the platform's 0..3 scale (250 ms steps from 250 ms).
std::int32_t DelayIndexFromMs(int delayMs);

// The repeat delay and rate on the report's scales; each is empty when it is no fact.
struct RepeatSettings {
    std::optional<std::int32_t> delay;
    std::optional<std::int32_t> rate;
};

// The compositor's repeat_info on the report's scales. Keys that do not repeat (a rate of
// 0) have neither a delay nor a rate; a value beyond what a keyboard can do (a negative
// one, more than 1000 repeats a second, a delay of more than 10 s) is no fact.
RepeatSettings RepeatFromCompositor(int repeatsPerSecond, int delayMs);

// Repeats a second on the platform's 0..31 scale, where 0 is about 2.5 and 31 about 30
// repeats a second; the time between repeats in milliseconds on the same scale.
std::int32_t RateIndexFromRepeatsPerSecond(double repeatsPerSecond);
std::int32_t RateIndexFromIntervalMs(int intervalMs);

// The keyboard type of an XKB keymap as a compositor hands it to its clients, by the same
// rule as KeyboardTypeFromXkb for its first layout: the layout its symbols section names
// ("jp" in xkb_symbols "pc+jp+inet(evdev)"), or, where the section has no name, the name of
// its first group ("Japanese", "Korean (101/104-key compatible)"). nullopt when the keymap
// says neither.
std::optional<std::int32_t> KeyboardTypeFromKeymap(std::string_view keymap);

// Caret settings as desktops publish them: whether it blinks and a full on-off cycle in ms.
struct CaretSettings {
    std::optional<bool> blinks;
    std::optional<int> cycleMs;
};

// The time of one caret phase: half the cycle, or 0xFFFFFFFF when the caret does not
// blink; nullopt when the settings do not say.
std::optional<std::uint32_t> CaretPhaseMs(const CaretSettings& settings);

// The longest caret cycle taken for a fact; anything longer is a broken setting.
inline constexpr int kLongestCaretCycleMs = 10'000;

// The [Settings] group of a GTK settings.ini: gtk-cursor-blink and gtk-cursor-blink-time.
CaretSettings ParseGtkSettingsIni(std::string_view text);

// LXQt's lxqt.conf, as its settings panel writes it: the caret's whole cycle in ms
// (cursorFlashTime in the [Qt] group, 0 for no blinking), which LXQt hands to its Qt 5
// programs; nullopt when the file does not say, or says something out of range.
std::optional<int> ParseLxqtCursorFlashTime(std::string_view text);

} // namespace pardolin::linux_backend
