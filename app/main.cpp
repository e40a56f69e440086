// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Forms.h"
#include "platform/SystemBackend.h"
#include "platform/qt/QtDisplaySurface.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QStyleHints>

namespace {

// A CJK face that Debian ships and every window's texts are laid out for.
constexpr auto kFontFamily = "WenQuanYi Micro Hei";
constexpr int kFontPixelSize = 12;

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pardolin"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pardolin.xpm")));
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(kFontPixelSize);
    QApplication::setFont(font);

    const std::unique_ptr<pardolin::SystemQueries> queries = pardolin::CreateSystemQueries(
        [] { return QGuiApplication::styleHints()->cursorFlashTime(); });
    pardolin::QtDisplaySurface display(
        [&queries](pardolin::FormId form, pardolin::DisplaySurface& surface) {
            return pardolin::CreateForm(form, surface, *queries);
        });
    display.ShowForm(pardolin::FormId::Form12);
    return app.exec();
}
