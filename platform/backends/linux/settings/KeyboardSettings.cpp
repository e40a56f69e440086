// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/settings/KeyboardSettings.h"

#include "platform/backends/linux/Split.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>
#include <vector>

namespace pardolin::linux_backend {
namespace {

constexpr std::int32_t kEnhancedKeyboard = 4;
constexpr std::int32_t kJapaneseKeyboard = 7;
constexpr std::int32_t kKoreanKeyboard = 8;

std::string_view Trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view Unquote(std::string_view text) {
    text = Trim(text);
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

std::string_view FirstOfList(std::string_view list) {
    return list.substr(0, list.find(','));
}

std::optional<int> ParseInt(std::string_view text) {
    text = Trim(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> ParseBool(std::string_view text) {
    text = Trim(text);
    if (text == "true" || text == "TRUE" || text == "1") {
        return true;
    }
    if (text == "false" || text == "FALSE" || text == "0") {
        return false;
    }
    return std::nullopt;
}

// How a configuration file spells the model, layout, variant and options.
struct XkbKeys {
    std::string_view model;
    std::string_view layout;
    std::string_view variant;
    std::string_view options;
};
constexpr XkbKeys kDefaultKeyboardKeys{"XKBMODEL", "XKBLAYOUT", "XKBVARIANT", "XKBOPTIONS"};
constexpr XkbKeys kXorgKeys{"XkbModel", "XkbLayout", "XkbVariant", "XkbOptions"};

// Sets the name that `key` spells; true for the model and the layout, either of which
// makes a file's keyboard known.
bool SetName(XkbNames& names, const XkbKeys& spelling, std::string_view key, std::string value) {
    if (key == spelling.model) {
        names.model = std::move(value);
        return true;
    }
    if (key == spelling.layout) {
        names.layout = std::move(value);
        return true;
    }
    if (key == spelling.variant) {
        names.variant = std::move(value);
    } else if (key == spelling.options) {
        names.options = std::move(value);
    }
    return false;
}

} // namespace

XkbNames ParseXkbRulesNames(std::string_view property) {
    XkbNames names;
    std::string* const fields[] = {&names.rules, &names.model, &names.layout, &names.variant,
                                   &names.options};
    for (std::string* field : fields) {
        const std::size_t end = property.find('\0');
        *field = std::string(property.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        property.remove_prefix(end + 1);
    }
    return names;
}

std::optional<XkbNames> ParseDefaultKeyboard(std::string_view text) {
    XkbNames names;
    bool found = false;
    for (std::string_view line : Split(text, '\n')) {
        line = Trim(line);
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        found |= SetName(names, kDefaultKeyboardKeys, key,
                         std::string(Unquote(line.substr(equals + 1))));
    }
    return found ? std::optional(names) : std::nullopt;
}

std::optional<XkbNames> ParseXorgKeyboardConf(std::string_view text) {
    XkbNames names;
    bool found = false;
    for (std::string_view line : Split(text, '\n')) {
        line = Trim(line);
        if (!line.starts_with("Option")) {
            continue;
        }
        line = Trim(line.substr(6));
        // Option "Name" "Value"
        const std::size_t nameEnd = line.find('"', 1);
        if (line.empty() || line.front() != '"' || nameEnd == std::string_view::npos) {
            continue;
        }
        const std::string_view key = line.substr(1, nameEnd - 1);
        found |= SetName(names, kXorgKeys, key, std::string(Unquote(line.substr(nameEnd + 1))));
    }
    return found ? std::optional(names) : std::nullopt;
}

std::int32_t KeyboardTypeFromXkb(const XkbNames& names) {
    // The first layout is the one the keyboard was bought for; later ones are extra.
    const std::string_view layout = FirstOfList(names.layout);
    if (names.model == "jp106" || layout == "jp") {
        return kJapaneseKeyboard;
    }
    if (layout == "kr") {
        return kKoreanKeyboard;
    }
    return kEnhancedKeyboard;
}

std::int32_t DelayIndexFromMs(int delayMs) {
    const long steps = std::lround(delayMs / 250.0) - 1;
    return static_cast<std::int32_t>(std::clamp(steps, 0L, 3L));
}

RepeatSettings RepeatFromCompositor(int repeatsPerSecond, int delayMs) {
    constexpr int kMostRepeatsPerSecond = 1000;
    constexpr int kLongestDelayMs = 10'000;
    if (repeatsPerSecond <= 0) {
        return {};
    }
    RepeatSettings settings;
    if (delayMs >= 0 && delayMs <= kLongestDelayMs) {
        settings.delay = DelayIndexFromMs(delayMs);
    }
    if (repeatsPerSecond <= kMostRepeatsPerSecond) {
        settings.rate = RateIndexFromRepeatsPerSecond(repeatsPerSecond);
    }
    return settings;
}

std::int32_t RateIndexFromRepeatsPerSecond(double repeatsPerSecond) {
    const long index = std::lround((repeatsPerSecond - 2.5) * 31.0 / 27.5);
    return static_cast<std::int32_t>(std::clamp(index, 0L, 31L));
}

std::int32_t RateIndexFromIntervalMs(int intervalMs) {
    return intervalMs <= 0 ? 31 : RateIndexFromRepeatsPerSecond(1000.0 / intervalMs);
}

namespace {

// The text between the quotes that follow `key` in `text`.
std::optional<std::string_view> QuotedAfter(std::string_view text, std::string_view key) {
    const std::size_t at = text.find(key);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t open = text.find_first_not_of(" \t=", at + key.size());
    if (open == std::string_view::npos || text[open] != '"') {
        return std::nullopt;
    }
    const std::size_t close = text.find('"', open + 1);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return text.substr(open + 1, close - open - 1);
}

// "pc+jp+inet(evdev)": the base part first, then the layouts in order (a later one marked
// ":2" and so on), then the options.
std::optional<std::string> FirstLayoutOfSymbols(std::string_view parts) {
    const std::vector<std::string_view> components = Split(parts, '+');
    // Without the usual "pc" base, the first part is the layout itself.
    const std::size_t first = !components.empty() && components.front() == "pc" ? 1 : 0;
    if (first >= components.size()) {
        return std::nullopt;
    }
    const std::string_view layout =
        components[first].substr(0, components[first].find_first_of("(:"));
    return layout.empty() ? std::nullopt : std::optional(std::string(layout));
}

} // namespace

std::optional<std::int32_t> KeyboardTypeFromKeymap(std::string_view keymap) {
    const std::optional<std::string_view> symbols = QuotedAfter(keymap, "xkb_symbols");
    if (symbols && *symbols != "(unnamed)") {
        if (const auto layout = FirstLayoutOfSymbols(*symbols)) {
            return KeyboardTypeFromXkb({{}, {}, *layout, {}, {}});
        }
    }
    // Keymaps taken from an X server, or compiled without names, leave the sections
    // unnamed; each group still carries the name its symbols file gives it.
    const std::optional<std::string_view> group = QuotedAfter(keymap, "name[Group1]");
    if (!group) {
        return std::nullopt;
    }
    if (group->starts_with("Japanese")) {
        return kJapaneseKeyboard;
    }
    return group->starts_with("Korean") ? kKoreanKeyboard : kEnhancedKeyboard;
}

std::optional<std::uint32_t> CaretPhaseMs(const CaretSettings& settings) {
    if (settings.blinks == false) {
        return 0xFFFFFFFFu;
    }
    if (!settings.cycleMs) {
        return std::nullopt;
    }
    if (*settings.cycleMs <= 0) {
        // A cycle of no length is how some desktops switch blinking off.
        return 0xFFFFFFFFu;
    }
    return static_cast<std::uint32_t>(std::max(1, *settings.cycleMs / 2));
}

namespace {

// The value of `key` in `group` of an INI file; the last one where it is given twice.
std::optional<std::string_view> IniValue(std::string_view text, std::string_view group,
                                         std::string_view key) {
    std::optional<std::string_view> value;
    bool inGroup = false;
    for (std::string_view line : Split(text, '\n')) {
        line = Trim(line);
        if (line.empty() || line.front() == '#' || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            inGroup = line.size() == group.size() + 2 && line.back() == ']' &&
                      line.substr(1, group.size()) == group;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inGroup && equals != std::string_view::npos && Trim(line.substr(0, equals)) == key) {
            value = Trim(line.substr(equals + 1));
        }
    }
    return value;
}

} // namespace

CaretSettings ParseGtkSettingsIni(std::string_view text) {
    CaretSettings settings;
    if (const auto blinks = IniValue(text, "Settings", "gtk-cursor-blink")) {
        settings.blinks = ParseBool(*blinks);
    }
    if (const auto cycle = IniValue(text, "Settings", "gtk-cursor-blink-time")) {
        settings.cycleMs = ParseInt(*cycle);
    }
    return settings;
}

std::optional<int> ParseLxqtCursorFlashTime(std::string_view text) {
    const auto value = IniValue(text, "Qt", "cursorFlashTime");
    const std::optional<int> cycle = value ? ParseInt(*value) : std::nullopt;
    if (!cycle || *cycle < 0 || *cycle > kLongestCaretCycleMs) {
        return std::nullopt;
    }
    return cycle;
}

} // namespace pardolin::linux_backend
