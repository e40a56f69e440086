// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Diagnostics.h"
#include "platform/SystemQueries.h"

#include <array>
#include <cstdint>
#include <optional>

// The wave output calls of winmm, in the program's own types.
namespace pardolin::Module1 {

// nullopt when winmm cannot be loaded, which is told of on the wave devices' channel.
std::optional<std::uint32_t> waveOutGetNumDevs(const Diagnostics& diagnostics = {});
// Loads winmm and its wave drivers on a thread of their own, so that the first sound query
// does not wait for them; the query still asks the system afresh.
void PrepareWaveDevices();
// Asks for `size` bytes of the device's WAVEOUTCAPSA; the fields the system did not write
// stay zero. The name is decoded from the ANSI code page.
// An error is told of on the wave devices' channel.
WaveResult waveOutGetDevCapsA(std::uint32_t deviceId, WaveCapsRecord& caps, std::uint32_t size,
                              const Diagnostics& diagnostics = {});

// The 32 name bytes as text of 32 characters, decoded from the given code page: what comes
// before the first NUL, then NULs. A name without NUL keeps all its characters.
std::array<char32_t, 32> DecodeName(const std::array<char, 32>& bytes, std::uint32_t codePage);

} // namespace pardolin::Module1
