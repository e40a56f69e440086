// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/x11/XSettings.h"

namespace pardolin::linux_backend {
namespace {

enum SettingType : std::uint8_t { kInteger = 0, kString = 1, kColour = 2 };

// Reads the property's fields in the byte order its owner declared, never past its end.
class Reader {
  public:
    Reader(std::string_view data, bool bigEndian) : m_data(data), m_bigEndian(bigEndian) {}

    bool Skip(std::size_t count) {
        if (count > m_data.size()) {
            return false;
        }
        m_data.remove_prefix(count);
        return true;
    }

    std::optional<std::uint32_t> Read(std::size_t width) {
        if (width > m_data.size()) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t at = m_bigEndian ? i : width - 1 - i;
            value = (value << 8) | static_cast<unsigned char>(m_data[at]);
        }
        m_data.remove_prefix(width);
        return value;
    }

    std::optional<std::string_view> Take(std::size_t count) {
        if (count > m_data.size()) {
            return std::nullopt;
        }
        const std::string_view taken = m_data.substr(0, count);
        m_data.remove_prefix(count);
        return taken;
    }

  private:
    std::string_view m_data;
    bool m_bigEndian;
};

constexpr std::size_t Padding(std::size_t length) {
    return (4 - length % 4) % 4;
}

} // namespace

std::optional<std::map<std::string, std::int32_t>> ParseXSettingsIntegers(std::string_view data) {
    if (data.empty() || static_cast<unsigned char>(data.front()) > 1) {
        return std::nullopt;
    }
    Reader reader(data, data.front() == 1);
    if (!reader.Skip(4) || !reader.Read(4)) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> count = reader.Read(4);
    if (!count) {
        return std::nullopt;
    }
    std::map<std::string, std::int32_t> integers;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const std::optional<std::uint32_t> type = reader.Read(1);
        if (!type || !reader.Skip(1)) {
            return std::nullopt;
        }
        const std::optional<std::uint32_t> nameLength = reader.Read(2);
        if (!nameLength) {
            return std::nullopt;
        }
        const std::optional<std::string_view> name = reader.Take(*nameLength);
        if (!name || !reader.Skip(Padding(*nameLength)) || !reader.Read(4)) {
            return std::nullopt;
        }
        switch (*type) {
        case kInteger: {
            const std::optional<std::uint32_t> value = reader.Read(4);
            if (!value) {
                return std::nullopt;
            }
            integers[std::string(*name)] = static_cast<std::int32_t>(*value);
            break;
        }
        case kString: {
            const std::optional<std::uint32_t> length = reader.Read(4);
            if (!length || !reader.Skip(*length) || !reader.Skip(Padding(*length))) {
                return std::nullopt;
            }
            break;
        }
        case kColour:
            if (!reader.Skip(8)) {
                return std::nullopt;
            }
            break;
        default:
            return std::nullopt;
        }
    }
    return integers;
}

} // namespace pardolin::linux_backend
