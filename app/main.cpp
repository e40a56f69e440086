// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Appearance.h"
#include "app/Forms.h"
#include "platform/SystemBackend.h"
#include "platform/qt/QtDisplaySurface.h"

#include <QApplication>
#include <QStyleHints>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    pardolin::SetUpApplication();

    const std::unique_ptr<pardolin::SystemQueries> queries = pardolin::CreateSystemQueries(
        [] { return QGuiApplication::styleHints()->cursorFlashTime(); });
    pardolin::QtDisplaySurface display(
        [&queries](pardolin::FormId form, pardolin::DisplaySurface& surface) {
            return pardolin::CreateForm(form, surface, *queries);
        });
    display.ShowForm(pardolin::FormId::Form12);
    return app.exec();
}
