// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtDiagnostics.h"

#include <QLoggingCategory>
#include <QString>

#include <array>
#include <cstddef>

namespace pardolin {
namespace {

// One category a peer. A failed question is a debug message: off unless a rule switches
// its category on. The categories are made once and never destroyed: a question given up
// at its deadline may still end, and tell, on its own thread while the program exits.
const QLoggingCategory& CategoryOf(Peer peer) {
    static const std::array<const QLoggingCategory*, kPeerCount> categories = [] {
        std::array<const QLoggingCategory*, kPeerCount> made{};
        for (std::size_t i = 0; i < kPeerCount; ++i) {
            made[i] = new QLoggingCategory(ChannelName(static_cast<Peer>(i)), QtInfoMsg);
        }
        return made;
    }();
    return *categories[static_cast<std::size_t>(peer)];
}

} // namespace

Diagnostics QtDiagnostics() {
    return Diagnostics({[](Peer peer) { return CategoryOf(peer).isDebugEnabled(); },
                        [](Peer peer, std::string_view message) {
                            qCDebug(CategoryOf(peer)).noquote() << QString::fromUtf8(
                                message.data(), static_cast<qsizetype>(message.size()));
                        }});
}

} // namespace pardolin
