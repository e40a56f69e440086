// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemBackend.h"
#include "platform/windows/Keyboard.h"
#include "platform/windows/Module1.h"

namespace pardolin {
namespace {

// The platform's own calls, passed through unchanged.
class WindowsSystemQueries : public SystemQueries {
  public:
    std::int32_t GetKeyboardType(std::int32_t typeFlag) override {
        return Keyboard::GetKeyboardType(typeFlag);
    }
    bool SystemParametersInfoA(std::uint32_t action, std::uint32_t param, std::int32_t& value,
                               std::uint32_t winIni) override {
        return Keyboard::SystemParametersInfoA(action, param, value, winIni);
    }
    std::uint32_t GetCaretBlinkTime() override { return Keyboard::GetCaretBlinkTime(); }
    std::optional<std::uint32_t> waveOutGetNumDevs() override {
        return Module1::waveOutGetNumDevs();
    }
    std::uint32_t waveOutGetDevCapsA(std::uint32_t deviceId, WaveCapsRecord& caps,
                                     std::uint32_t size) override {
        return Module1::waveOutGetDevCapsA(deviceId, caps, size);
    }
};

} // namespace

std::unique_ptr<SystemQueries> CreateSystemQueries(ToolkitFacts) {
    // Windows answers every caret question itself.
    return std::make_unique<WindowsSystemQueries>();
}

} // namespace pardolin
