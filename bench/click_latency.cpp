// SPDX-License-Identifier: GPL-3.0-or-later
// Times each report button from the click to the repainted text surface or labels, with
// the real Linux backend against a private X server and a private sound server; with
// "wayland", the keyboard facts come from a private weston instead, as in a Wayland session.
//   click_latency [CLICKS] [wayland]
#include "QtControls.h"
#include "Servers.h"

#include "app/Form1.h"
#include "app/Form12.h"
#include "app/Forms.h"
#include "platform/SystemBackend.h"
#include "platform/frontends/qt/Appearance.h"
#include "platform/frontends/qt/QtDisplaySurface.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

using namespace pardolin;
using pardolin::testing::ControlWidget;
using Clock = std::chrono::steady_clock;

namespace {

double Microseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::micro>(duration).count();
}

// Clicks `button` and repaints `painted` at once, as the next frame would; returns the time.
double TimeClick(QPushButton* button, QWidget* painted) {
    const auto start = Clock::now();
    button->click();
    painted->repaint();
    return Microseconds(Clock::now() - start);
}

void Report(const char* what, std::vector<double> times) {
    const double first = times.front();
    std::vector<double> later(times.begin() + 1, times.end());
    std::sort(later.begin(), later.end());
    std::printf("%-22s first %8.0f us   later: median %8.0f us, max %8.0f us  (%zu clicks)\n", what,
                first, later[later.size() / 2], later.back(), times.size());
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int clicks = argc > 1 ? std::max(2, std::atoi(argv[1])) : 51;
    const bool wayland = argc > 2 && std::string_view(argv[2]) == "wayland";

    testing::XvfbServer x;
    testing::PulseServer pulse("load-module module-null-sink sink_name=bench channels=2 "
                               "sink_properties=device.description=Bench\n");
    qputenv("PULSE_SERVER", QByteArray::fromStdString(pulse.Address()));
    std::unique_ptr<testing::Compositor> compositor;
    if (wayland) {
        compositor = std::make_unique<testing::Compositor>(x.Display(), "repeat-rate=30");
        qputenv("WAYLAND_DISPLAY", QByteArray::fromStdString(compositor->Socket()));
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(compositor->RuntimeDir()));
    } else {
        qputenv("DISPLAY", QByteArray::fromStdString(x.Display()));
    }

    SetUpApplication();
    const auto queries = CreateSystemQueries({[] { return 1000; }});
    QtDisplaySurface display([&queries](FormId form, DisplaySurface& surface) {
        return CreateForm(form, surface, *queries);
    });
    display.ShowForm(FormId::Form12);
    display.ShowForm(FormId::Form1);
    QtFormWindow* sound = display.FindForm(FormId::Form12);
    QtFormWindow* keyboard = display.FindForm(FormId::Form1);
    if (!QTest::qWaitForWindowExposed(sound) || !QTest::qWaitForWindowExposed(keyboard)) {
        std::fprintf(stderr, "click_latency: the windows did not show\n");
        return 1;
    }

    std::vector<double> soundTimes;
    std::vector<double> keyboardTimes;
    for (int i = 0; i < clicks; ++i) {
        soundTimes.push_back(TimeClick(ControlWidget<QPushButton>(display, Form12::Command1),
                                       ControlWidget(display, Form12::Picture1)));
        keyboardTimes.push_back(TimeClick(
            ControlWidget<QPushButton>(display, Form1::Command1),
            ControlWidget(display, FindControl<ControlKind::GroupFrame>(kForm1Layout, "Frame1"))));
    }
    if (testing::PrintedLines(ControlWidget<QTextEdit>(display, Form12::Picture1)).size() < 7) {
        std::fprintf(stderr, "click_latency: the sound report did not print\n");
        return 1;
    }
    Report("显示声卡信息 (sound)", soundTimes);
    Report(wayland ? "键盘信息 (keyboard, Wayland)" : "键盘信息 (keyboard)", keyboardTimes);
    return 0;
}
