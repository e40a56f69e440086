// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/windows/Module1.h"

#include "platform/backends/DetachedThread.h"
#include "platform/windows/SystemLibrary.h"
#include "reports/Text.h"

#include <windows.h>
// mmsystem.h builds on the types windows.h declares.
#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <type_traits>

namespace pardolin::Module1 {
namespace {

static_assert(static_cast<MMRESULT>(WaveResult::NoError) == MMSYSERR_NOERROR);
static_assert(static_cast<MMRESULT>(WaveResult::BadDeviceId) == MMSYSERR_BADDEVICEID);
static_assert(static_cast<MMRESULT>(WaveResult::NoDriver) == MMSYSERR_NODRIVER);
static_assert(static_cast<MMRESULT>(WaveResult::InvalidParam) == MMSYSERR_INVALPARAM);

// The wave calls of Winmm.dll, which is loaded on the first wave query rather than with the
// program: loading it and its drivers costs every start, for a button not every run
// presses. Once loaded it stays for the rest of the run; a library that cannot be loaded is
// tried again on the next query.
struct Winmm {
    decltype(&::waveOutGetNumDevs) getNumDevs = nullptr;
    decltype(&::waveOutGetDevCapsA) getDevCaps = nullptr;
};

// The one lock over every wave call, and winmm once loaded.
std::mutex calling;
std::optional<Winmm> loaded;

// Loads winmm unless it is loaded; the caller holds `calling`.
std::optional<Winmm> LoadWinmm(const Diagnostics& diagnostics) {
    if (loaded) {
        return loaded;
    }
    const HMODULE winmm = windows::LoadSystemLibrary(L"winmm.dll");
    if (!winmm) {
        diagnostics.Failed(Peer::WaveDevices, "loading winmm.dll",
                           "error " + std::to_string(GetLastError()));
        return std::nullopt;
    }
    Winmm calls;
    calls.getNumDevs = reinterpret_cast<decltype(calls.getNumDevs)>(
        reinterpret_cast<void*>(GetProcAddress(winmm, "waveOutGetNumDevs")));
    calls.getDevCaps = reinterpret_cast<decltype(calls.getDevCaps)>(
        reinterpret_cast<void*>(GetProcAddress(winmm, "waveOutGetDevCapsA")));
    if (!calls.getNumDevs || !calls.getDevCaps) {
        diagnostics.Failed(Peer::WaveDevices, "loading winmm.dll", "it lacks the wave calls");
        return std::nullopt;
    }
    loaded = calls;
    return loaded;
}

// Runs `call` with winmm's wave calls, one caller at a time; nullopt when winmm cannot be
// loaded. winmm makes its list of devices on the first wave call, and another call made
// meanwhile must wait for the whole list: Wine's winmm takes no lock there and counts the
// devices before it has filled them in. So the start's preparation and a first click,
// each on a thread of its own, never ask at once.
template <typename Call>
auto WithWinmm(const Diagnostics& diagnostics, Call call)
    -> std::optional<std::invoke_result_t<Call&, const Winmm&>> {
    const std::lock_guard lock(calling);
    const std::optional<Winmm> winmm = LoadWinmm(diagnostics);
    if (!winmm) {
        return std::nullopt;
    }
    return call(*winmm);
}

// What a result code of the wave calls means.
std::string Meaning(MMRESULT result) {
    switch (result) {
    case MMSYSERR_BADDEVICEID:
        return "no such device (MMSYSERR_BADDEVICEID)";
    case MMSYSERR_NODRIVER:
        return "no driver (MMSYSERR_NODRIVER)";
    case MMSYSERR_INVALPARAM:
        return "a parameter it refuses (MMSYSERR_INVALPARAM)";
    case MMSYSERR_ALLOCATED:
        return "the device is taken (MMSYSERR_ALLOCATED)";
    default:
        return "error " + std::to_string(result);
    }
}

} // namespace

std::optional<std::uint32_t> waveOutGetNumDevs(const Diagnostics& diagnostics) {
    return WithWinmm(diagnostics, [](const Winmm& winmm) { return winmm.getNumDevs(); });
}

void PrepareWaveDevices() {
    // Without a thread the first sound query does the work itself.
    StartDetached([] { waveOutGetNumDevs(); });
}

std::array<char32_t, 32> DecodeName(const std::array<char, 32>& bytes, std::uint32_t codePage) {
    const auto length =
        static_cast<int>(std::find(bytes.begin(), bytes.end(), '\0') - bytes.begin());
    std::array<char32_t, 32> name{};
    if (length == 0) {
        return name;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), length);
    std::u16string utf16(wide.begin(), wide.begin() + std::max(units, 0));
    const Text text = FromUtf16(utf16);
    std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
    return name;
}

WaveResult waveOutGetDevCapsA(std::uint32_t deviceId, WaveCapsRecord& caps, std::uint32_t size,
                              const Diagnostics& diagnostics) {
    // The platform writes at most `size` bytes; with the record's 50 that leaves the top
    // half of dwSupport (behind the reserved word) as it was: zero.
    WAVEOUTCAPSA platform{};
    const std::optional<MMRESULT> result = WithWinmm(diagnostics, [&](const Winmm& winmm) {
        return winmm.getDevCaps(deviceId, &platform, size);
    });
    if (!result) {
        return WaveResult::NoDriver;
    }
    if (*result != MMSYSERR_NOERROR) {
        diagnostics.Failed(Peer::WaveDevices,
                           "waveOutGetDevCapsA(" + std::to_string(deviceId) + ")",
                           Meaning(*result));
        return static_cast<WaveResult>(*result);
    }
    std::array<char, 32> name{};
    std::memcpy(name.data(), platform.szPname, name.size());
    caps.wMid = static_cast<std::int16_t>(platform.wMid);
    caps.wPid = static_cast<std::int16_t>(platform.wPid);
    caps.vDriverVersion = static_cast<std::int32_t>(platform.vDriverVersion);
    caps.szPname = DecodeName(name, CP_ACP);
    caps.dwFormats = static_cast<std::int32_t>(platform.dwFormats);
    caps.wChannels = static_cast<std::int16_t>(platform.wChannels);
    caps.dwSupport = static_cast<std::int32_t>(platform.dwSupport);
    return WaveResult::NoError;
}

} // namespace pardolin::Module1
