// SPDX-License-Identifier: GPL-3.0-or-later
// Any 32 bytes as a device name in UTF-8, into the record's name field.
#include "platform/backends/linux/sound/RecordFields.h"
#include "reports/SoundReport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pardolin;
    using linux_backend::NameField;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size < 32 ? size : 32);
    const std::array<char32_t, 32> field = NameField(FromUtf8(bytes));
    if (field[31] != U'\0') {
        __builtin_trap();
    }
    for (const char32_t c : field) {
        // Whole Unicode scalar values only: never half a character.
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            __builtin_trap();
        }
    }
    const Text shown = ProductNameField(field);
    if (shown.size() != kProductNameWidth || FromUtf8(ToUtf8(shown)) != shown) {
        __builtin_trap();
    }
    return 0;
}
