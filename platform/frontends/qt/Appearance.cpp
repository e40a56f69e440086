// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/Appearance.h"

#include "platform/frontends/Metrics.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <future>
#include <system_error>

namespace pardolin {
namespace {

// A CJK face Debian ships; every window's texts are laid out for it.
constexpr auto kFontFamily = "WenQuanYi Micro Hei";

// Whether Qt 6 will try Wayland first: it is asked for, or the session is a Wayland one.
bool ToolkitTriesWayland() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty()) {
        return platform.startsWith("wayland");
    }
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qgetenv("XDG_SESSION_TYPE") == "wayland";
}

} // namespace

bool PrepareTheToolkit(const StartUpPeers& peers) {
    // The bus and the compositor are asked at the same time, so that two silent peers cost
    // one second, not two; and before anything here changes the environment, which
    // libwayland reads on the compositor's thread.
    const bool triesWayland = ToolkitTriesWayland();
    std::future<bool> compositor;
    if (triesWayland) {
        try {
            compositor = std::async(std::launch::async, peers.compositorAnswers);
        } catch (const std::system_error&) {
            // No thread to be had: it is asked after the bus.
        }
    }
    const StartUpPeers::Bus bus = peers.sessionBus();
    const bool compositorAnswers =
        !triesWayland || (compositor.valid() ? compositor.get() : peers.compositorAnswers());

    qputenv("NO_AT_BRIDGE", "1");
    // On X the desktop knows a window by its WM_CLASS, whose instance name Qt takes from
    // here, and whose class is the application's name.
    if (!qEnvironmentVariableIsSet("RESOURCE_NAME")) {
        qputenv("RESOURCE_NAME", PARDOLIN_APP_ID);
    }

    // An input method's plugin connects to its daemon while the application object is
    // made, and waits for ever on one that has stopped (ibus-daemon with a hung engine).
    // Nothing in these windows takes typed text, so an input method has nothing to give.
    qputenv("QT_IM_MODULE", "none");

    if (bus.silent) {
        std::fprintf(stderr, "pardolin: the session bus does not answer; going on without it\n");
    }
    if (bus.address) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray::fromStdString(*bus.address));
    }

    if (!compositorAnswers) {
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        const bool xAllowed = platform.isEmpty() || platform.contains("xcb");
        if (!xAllowed || qEnvironmentVariableIsEmpty("DISPLAY")) {
            std::fprintf(stderr, "pardolin: the Wayland compositor does not answer, and there is "
                                 "no X display to show the windows on instead\n");
            return false;
        }
        std::fprintf(stderr, "pardolin: the Wayland compositor does not answer; using the X "
                             "display instead\n");
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    return true;
}

void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("Pardolin"));
    // The Wayland app id: the desktop entry's and the icon's name.
    QGuiApplication::setDesktopFileName(QStringLiteral(PARDOLIN_APP_ID));
    QApplication::setApplicationVersion(QStringLiteral(PARDOLIN_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pardolin.xpm")));
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(kFontPixels);
    QApplication::setFont(font);
    // The toolkit's own words (the message box's button, context menus) in the program's
    // language, whatever the user's locale.
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

} // namespace pardolin
