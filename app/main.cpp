// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up with the Qt front end.
#include "app/Forms.h"
#include "platform/SystemBackend.h"
#include "platform/backends/linux/SessionPeers.h"
#include "platform/frontends/qt/Appearance.h"
#include "platform/frontends/qt/QtDisplaySurface.h"

#include <QApplication>
#include <QStyleHints>

#include <chrono>
#include <cstdlib>

int main(int argc, char* argv[]) {
    using Clock = std::chrono::steady_clock;
    // A peer that answers at all answers within a millisecond or so; a second is for a
    // machine under load.
    constexpr auto kPatience = std::chrono::seconds(1);
    const pardolin::StartUpPeers peers{
        [kPatience] {
            return pardolin::linux_backend::SessionBusAnswers(Clock::now() + kPatience);
        },
        [kPatience] {
            return pardolin::linux_backend::CompositorAnswers(Clock::now() + kPatience);
        }};
    if (!pardolin::PrepareTheToolkit(peers)) {
        return EXIT_FAILURE;
    }
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
