// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up with the Qt front end.
#include "app/Forms.h"
#include "platform/SystemBackend.h"
#include "platform/frontends/qt/Appearance.h"
#include "platform/frontends/qt/QtDisplaySurface.h"

#include <QApplication>
#include <QStyleHints>

int main(int argc, char* argv[]) {
    pardolin::PrepareTheToolkit();
    QApplication app(argc, argv);
    pardolin::SetUpApplication();

    const std::unique_ptr<pardolin::SystemQueries> queries = pardolin::CreateSystemQueries(
        {[] { return QGuiApplication::styleHints()->cursorFlashTime(); },
         QGuiApplication::platformName() == QLatin1String("wayland")});
    pardolin::QtDisplaySurface display(
        [&queries](pardolin::FormId form, pardolin::DisplaySurface& surface) {
            return pardolin::CreateForm(form, surface, *queries);
        });
    pardolin::StartUp(display);
    return app.exec();
}
