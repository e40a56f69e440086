// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtDiagnostics.h"

#include <QLoggingCategory>
#include <QString>

namespace pardolin {
namespace {

// A failed question is a debug message: off unless a rule switches its category on.
Q_LOGGING_CATEGORY(lcBus, ChannelName(Peer::SessionBus), QtInfoMsg)
Q_LOGGING_CATEGORY(lcPortal, ChannelName(Peer::SettingsPortal), QtInfoMsg)
Q_LOGGING_CATEGORY(lcCompositor, ChannelName(Peer::Compositor), QtInfoMsg)
Q_LOGGING_CATEGORY(lcXServer, ChannelName(Peer::XServer), QtInfoMsg)
Q_LOGGING_CATEGORY(lcSound, ChannelName(Peer::SoundServer), QtInfoMsg)
Q_LOGGING_CATEGORY(lcCards, ChannelName(Peer::KernelCards), QtInfoMsg)
Q_LOGGING_CATEGORY(lcSettings, ChannelName(Peer::SettingsFiles), QtInfoMsg)
Q_LOGGING_CATEGORY(lcModules, ChannelName(Peer::Modules), QtInfoMsg)

const QLoggingCategory& CategoryOf(Peer peer) {
    switch (peer) {
    case Peer::SessionBus:
        return lcBus();
    case Peer::SettingsPortal:
        return lcPortal();
    case Peer::Compositor:
        return lcCompositor();
    case Peer::XServer:
        return lcXServer();
    case Peer::SoundServer:
        return lcSound();
    case Peer::KernelCards:
        return lcCards();
    case Peer::SettingsFiles:
        return lcSettings();
    default: // the Windows program's peers, which the Qt program has not
        return lcModules();
    }
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
