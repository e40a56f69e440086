// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/WaveCaps.h"

#include <cstdint>
#include <optional>

namespace pardolin {

// The settings SystemParametersInfoA answers, by the platform's action codes. The
// platform's own names for these codes and for the result codes below are macros of its
// headers; scoped names cannot collide with them, whatever the order of the includes.
enum class SystemParameter : std::uint32_t {
    KeyboardSpeed = 10, // SPI_GETKEYBOARDSPEED: the repeat rate, 0 to 31
    KeyboardDelay = 22, // SPI_GETKEYBOARDDELAY: the repeat delay, 0 to 3
};

// Result codes of the wave queries, with the platform's values (MMSYSERR_...).
enum class WaveResult : std::uint32_t {
    NoError = 0,
    Error = 1,
    BadDeviceId = 2,
    Allocated = 4,
    NoDriver = 6,
    InvalidParam = 11,
};

// Everything the reports need of the operating system. The calls keep the shape of the
// platform's own, so a caller can tell a failed query from a real value.
class SystemQueries {
  public:
    virtual ~SystemQueries() = default;

    // The keyboard type code for typeFlag 0; 0 when it is not known.
    virtual std::int32_t GetKeyboardType(std::int32_t typeFlag) = 0;
    // Writes the keyboard setting into value and returns true, or returns false and leaves
    // value untouched.
    virtual bool SystemParametersInfoA(SystemParameter action, std::uint32_t param,
                                       std::int32_t& value, std::uint32_t winIni) = 0;
    // Milliseconds per caret phase; 0 on failure, 0xFFFFFFFF when the caret does not blink.
    virtual std::uint32_t GetCaretBlinkTime() = 0;
    // Counts the wave output devices afresh; nullopt when the count could not be found out,
    // which is not the same as a machine without any.
    virtual std::optional<std::uint32_t> waveOutGetNumDevs() = 0;
    // Fills the record of one device of the latest count; NoError or an error code.
    virtual WaveResult waveOutGetDevCapsA(std::uint32_t deviceId, WaveCapsRecord& caps,
                                          std::uint32_t size) = 0;
};

} // namespace pardolin
