// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as an _XSETTINGS_SETTINGS property.
#include "platform/backends/linux/x11/XSettings.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto integers = pardolin::linux_backend::ParseXSettingsIntegers(bytes);
    // Every integer takes at least 12 bytes of the property after its 12-byte header.
    if (integers && !integers->empty() && size < 12 + 12 * integers->size()) {
        __builtin_trap();
    }
    return 0;
}
