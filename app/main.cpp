// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up with the Qt front end.
#include "app/Forms.h"
#include "platform/SystemBackend.h"
#include "platform/backends/linux/StartUp.h"
#include "platform/frontends/qt/Appearance.h"
#include "platform/frontends/qt/QtDiagnostics.h"
#include "platform/frontends/qt/QtDisplaySurface.h"

#include <QApplication>
#include <QStyleHints>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>

int main(int argc, char* argv[]) {
    using Clock = std::chrono::steady_clock;
    namespace backend = pardolin::linux_backend;
    // A peer that answers at all answers within a millisecond or so; a second is for a
    // machine under load.
    constexpr auto kPatience = std::chrono::seconds(1);
    // The session as the toolkit will meet it, before anything of it is changed for the toolkit.
    const backend::SessionEnvironment session = backend::SessionEnvironment::OfThisProcess();
    const pardolin::Diagnostics diagnostics = pardolin::QtDiagnostics();
    // Known once the compositor has listed what it offers: whether it draws its clients' title
    // bars. Written on start-up's thread for the compositor, read once PrepareTheToolkit has
    // its answer.
    std::optional<bool> compositorDrawsTitleBars;
    const pardolin::StartUpPeers peers{
        [&session, &diagnostics, kPatience] {
            const backend::ToolkitBus bus =
                backend::SessionBusForTheToolkit(session, Clock::now() + kPatience, diagnostics);
            return pardolin::StartUpPeers::Bus{bus.address, bus.silent};
        },
        [&session, &diagnostics, kPatience, &compositorDrawsTitleBars] {
            const auto answer =
                backend::AskToolkitsCompositor(session, Clock::now() + kPatience, diagnostics);
            if (answer && answer->globals) {
                const std::vector<std::string>& globals = *answer->globals;
                compositorDrawsTitleBars = std::find(globals.begin(), globals.end(),
                                                     "zxdg_decoration_manager_v1") != globals.end();
            }
            return answer.has_value();
        }};
    if (!pardolin::PrepareTheToolkit(peers)) {
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    pardolin::SetUpApplication();
    const bool onWayland = QGuiApplication::platformName() == QLatin1String("wayland");
    // Where the compositor draws none, the toolkit's title bars offer to maximize windows
    // that cannot change size: the windows draw their own.
    const bool drawTitleBars = onWayland && compositorDrawsTitleBars == false &&
                               qEnvironmentVariableIsEmpty("QT_WAYLAND_DISABLE_WINDOWDECORATION");

    const std::unique_ptr<pardolin::SystemQueries> queries = pardolin::CreateSystemQueries(
        {[] { return QGuiApplication::styleHints()->cursorFlashTime(); }, onWayland, diagnostics});
    pardolin::QtDisplaySurface display(
        [&queries](pardolin::FormId form, pardolin::DisplaySurface& surface) {
            return pardolin::CreateForm(form, surface, *queries);
        },
        {drawTitleBars});
    pardolin::StartUp(display);
    return app.exec();
}
