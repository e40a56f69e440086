// SPDX-License-Identifier: GPL-3.0-or-later
// The report buttons with the real Linux backend, against a private X server and a private
// sound server that this test sets up and then reads back through the windows.
#include "QtControls.h"
#include "Servers.h"

#include "app/Form1.h"
#include "app/Form12.h"
#include "app/Forms.h"
#include "platform/SystemBackend.h"
#include "platform/frontends/qt/Appearance.h"
#include "platform/frontends/qt/QtDisplaySurface.h"
#include "platform/frontends/qt/QtTextLabel.h"
#include "platform/frontends/qt/QtTextSurface.h"

#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <memory>

using namespace pardolin;
using namespace pardolin::testing;

class EndToEndTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<XvfbServer> m_x;
    std::unique_ptr<PulseServer> m_pulse;
    std::unique_ptr<SystemQueries> m_queries;
    std::unique_ptr<QtDisplaySurface> m_display;

  private slots:
    void initTestCase() {
        SetUpApplication();
        try {
            m_x = std::make_unique<XvfbServer>();
            m_pulse = std::make_unique<PulseServer>(
                "load-module module-null-sink sink_name=surround channels=6 "
                "sink_properties=\"device.description='Pardolin 环绕声测试' "
                "device.vendor.id=0x10de device.product.id=0x0e0a\"\n"
                "load-module module-null-sink sink_name=other channels=1\n"
                "set-default-sink surround\n");
        } catch (const std::exception& error) {
            QFAIL(error.what());
        }
        // The windows stay offscreen; the facts come from the servers set up here.
        qputenv("DISPLAY", QByteArray::fromStdString(m_x->Display()));
        qputenv("PULSE_SERVER", QByteArray::fromStdString(m_pulse->Address()));
        QCOMPARE(RunCommand("env DISPLAY=" + m_x->Display() + " xset r rate 500 20"), 0);

        m_queries = CreateSystemQueries({[] { return 1000; }});
        m_display =
            std::make_unique<QtDisplaySurface>([this](FormId form, DisplaySurface& display) {
                return CreateForm(form, display, *m_queries);
            });
    }
    void cleanupTestCase() {
        m_display.reset();
        m_pulse.reset();
        m_x.reset();
    }

    void soundCardReportShowsTheDefaultSink() {
        m_display->ShowForm(FormId::Form12);
        QTest::mouseClick(ControlWidget<QPushButton>(*m_display, Form12::Command1), Qt::LeftButton);
        const QStringList lines =
            PrintedLines(ControlWidget<QtTextSurface>(*m_display, Form12::Picture1));
        QCOMPARE(lines.size(), 6 + 12 + 1 + 2);
        QCOMPARE(lines.at(0), QStringLiteral("产品名称：Pardolin 环绕声测试") +
                                  QString(32 - 14, QLatin1Char(' ')));
        QCOMPARE(lines.at(1), QStringLiteral("产品 Id： 3594 "));
        QCOMPARE(lines.at(2), QStringLiteral("驱动程序 Id： 4318 "));
        QVERIFY(lines.at(3).startsWith(QStringLiteral("驱动程序版本： ")));
        QCOMPARE(lines.at(4), QStringLiteral("输出声道： 6"));
        QCOMPARE(lines.at(19), QStringLiteral("Support Volume Control"));
        QCOMPARE(lines.at(20), QStringLiteral("Support Left-Right Channals"));
    }

    void keyboardReportShowsWhatWasSetOnTheXServer() {
        m_display->ShowForm(FormId::Form1);
        QTest::mouseClick(ControlWidget<QPushButton>(*m_display, Form1::Command1), Qt::LeftButton);
        const auto text = [this](ReportLineRef line) {
            return ControlWidget<QtTextLabel>(*m_display, line)->text();
        };
        QCOMPARE(text(Form1::lblkeyboard),
                 QStringLiteral("键盘的类型是  : Enhanced(IBM) 101-102-key keyboard"));
        QCOMPARE(text(Form1::lblrepeatdelay), QStringLiteral("键盘重复延迟为   =  1 秒"));
        QCOMPARE(text(Form1::lblrepeatspeed), QStringLiteral("键盘的重复率  =  20字每分秒"));
        QCOMPARE(text(Form1::lblcaretflash), QStringLiteral("光标闪烁频率  =  500ms"));
    }
};

QTEST_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
