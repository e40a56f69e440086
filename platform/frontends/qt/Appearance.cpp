// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/Appearance.h"

#include "platform/frontends/Metrics.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace pardolin {
namespace {

// A CJK face Debian ships; every window's texts are laid out for it.
constexpr auto kFontFamily = "WenQuanYi Micro Hei";

} // namespace

void PrepareTheToolkit() {
    qputenv("NO_AT_BRIDGE", "1");
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const bool busNamed =
        qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS") ||
        (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")));
    if (!busNamed) {
        // An address of no known kind: every attempt to reach the bus fails at once.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    }
}

void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("Pardolin"));
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
