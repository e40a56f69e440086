// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/Text.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace pardolin {

// The peers and sources whose failed questions can be told of, each on a channel of its
// own.
enum class Peer {
    SessionBus,     // the session bus
    SettingsPortal, // the desktop's settings portal on it
    Compositor,     // the Wayland compositor
    XServer,        // the X server
    SoundServer,    // PulseAudio, or PipeWire through its protocol
    KernelCards,    // the kernel's sound cards, through ALSA
    SettingsFiles,  // the desktops' settings files
    Modules,        // the program's own modules
    WaveDevices,    // winmm, on Windows
    SystemSettings, // user32's keyboard settings, on Windows
};
inline constexpr std::size_t kPeerCount = static_cast<std::size_t>(Peer::SystemSettings) + 1;

// The name of each peer's channel.
constexpr const char* ChannelName(Peer peer) {
    switch (peer) {
    case Peer::SessionBus:
        return "pardolin.bus";
    case Peer::SettingsPortal:
        return "pardolin.portal";
    case Peer::Compositor:
        return "pardolin.compositor";
    case Peer::XServer:
        return "pardolin.x11";
    case Peer::SoundServer:
        return "pardolin.sound";
    case Peer::KernelCards:
        return "pardolin.alsa";
    case Peer::SettingsFiles:
        return "pardolin.settings";
    case Peer::Modules:
        return "pardolin.modules";
    case Peer::WaveDevices:
        return "pardolin.winmm";
    case Peer::SystemSettings:
        return "pardolin.user32";
    }
    return "pardolin";
}

// Where a question that failed is told, when someone wants to know why a fact is unknown:
// which peer, which step, and why (no answer after 150 ms, refused, wrong type, too long,
// no such device). Off unless the program's start-up switches it on, and then only for the
// channels asked for; a failed question told to nobody costs the making of its words, no
// more. What a peer said is told with the characters that would act (a terminal's escapes,
// line breaks) replaced. Safe from any thread.
class Diagnostics {
  public:
    struct Channel {
        bool (*wanted)(Peer peer) = nullptr;
        void (*tell)(Peer peer, std::string_view message) = nullptr;
    };

    Diagnostics() = default;
    explicit Diagnostics(Channel channel) : m_channel(channel) {}

    bool Wanted(Peer peer) const {
        return m_channel.wanted && m_channel.tell && m_channel.wanted(peer);
    }
    // Tells "STEP: WHY" on the peer's channel, when that is wanted.
    void Failed(Peer peer, std::string_view step, std::string_view why) const {
        if (Wanted(peer)) {
            m_channel.tell(peer,
                           ToUtf8(Inert(FromUtf8(std::string(step) + ": " + std::string(why)))));
        }
    }

  private:
    Channel m_channel;
};

// How a wait that came to its deadline is told.
inline std::string NoAnswerAfter(std::chrono::steady_clock::duration waited) {
    return "no answer after " +
           std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(waited).count()) +
           " ms";
}

} // namespace pardolin
