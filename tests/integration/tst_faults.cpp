// SPDX-License-Identifier: GPL-3.0-or-later
// The windows with the real Linux backend while the servers misbehave: a sound server that
// stops answering, dies and comes back with other sinks, odd device names, and keyboard
// facts with no X server or no settings manager.
#include "Resources.h"
#include "Servers.h"
#include "WindowTestSupport.h"

#include "app/Form1.h"
#include "app/Form12.h"
#include "platform/backends/linux/LinuxSystemQueries.h"
#include "platform/frontends/qt/Appearance.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

using namespace pardolin;
using namespace pardolin::testing;
using Clock = std::chrono::steady_clock;

namespace {

// A report of a device, not the failure line: the name line, the fixed lines and both
// headings.
bool IsFullReport(const QStringList& lines) {
    return lines.size() >= 7 && lines.at(0).startsWith(QStringLiteral("产品名称：")) &&
           lines.at(5) == QStringLiteral("支持格式列表：") &&
           lines.contains(QStringLiteral("扩展输出功能列表："));
}

std::string Sink(const std::string& name, const std::string& description, int channels) {
    return "load-module module-null-sink sink_name=" + name +
           " channels=" + std::to_string(channels) + "\nupdate-sink-proplist " + name +
           " device.description=\"" + description + "\"\n";
}

} // namespace

class FaultsTest : public QObject {
    Q_OBJECT

  private:
    QStringList m_log;
    TempDir m_home;
    std::unique_ptr<linux_backend::LinuxSystemQueries> m_queries;
    std::unique_ptr<RecordingDisplay> m_display;

    // Each test's session: no settings of the user's, and the servers the test names.
    void Begin(std::optional<std::string> pulseServer, std::string display = {}) {
        linux_backend::SessionEnvironment session;
        session.home = m_home.Path();
        session.pulseServer = std::move(pulseServer);
        session.display = std::move(display);
        m_queries = std::make_unique<linux_backend::LinuxSystemQueries>(
            ToolkitFacts{[] { return 1000; }}, std::move(session));
        m_display = std::make_unique<RecordingDisplay>(*m_queries, m_log);
    }
    QWidget* SoundSurface() const { return ControlWidget(*m_display, Form12::Picture1); }
    QStringList SoundLines() const {
        return PrintedLines(ControlWidget<QTextEdit>(*m_display, Form12::Picture1));
    }
    QString KeyboardLine(ReportLineRef line) const {
        return ControlWidget<QLabel>(*m_display, line)->text();
    }
    void ClickKeyboardReport() {
        m_display->ShowForm(FormId::Form1);
        QTest::mouseClick(ControlWidget<QPushButton>(*m_display, Form1::Command1), Qt::LeftButton);
    }
    // Clicks the sound report; true when the program would have ended (no device).
    bool ClickSoundReport() {
        m_display->ShowForm(FormId::Form12);
        try {
            dynamic_cast<Form12&>(m_display->FindForm(FormId::Form12)->Logic()).Command1_Click();
        } catch (const ProgramEnded&) {
            return true;
        }
        return false;
    }

  private slots:
    void initTestCase() {
        SetUpApplication();
        // libpulse reads its own settings from the home folder.
        qputenv("HOME", QByteArray::fromStdString(m_home.Path()));
    }
    void init() { m_log.clear(); }
    void cleanup() {
        m_display.reset();
        m_queries.reset();
    }

    // A server that stops answering is a failed query, never "no sound card": the click
    // answers within a second, from the kernel's cards where there are any.
    void aStoppedSoundServerStillGetsAnAnswerInTime() {
        PulseServer server(Sink("main", "Main Output", 2));
        Begin(server.Address());
        QVERIFY(!ClickSoundReport());
        QVERIFY(SoundLines().at(0).startsWith(QStringLiteral("产品名称：Main Output")));

        server.Daemon().Signal(SIGSTOP);
        const auto start = Clock::now();
        const bool ended = ClickSoundReport();
        const auto elapsed = Clock::now() - start;
        server.Daemon().Signal(SIGCONT);
        qInfo() << "click with a stopped server took"
                << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << "ms";
        QVERIFY(elapsed < std::chrono::seconds(1));
        QVERIFY(!ended);
        QVERIFY(m_display->messages.empty());
        // The kernel's cards answer where there are any; otherwise nobody knows.
        if (KernelPlaybackDevices() > 0) {
            QVERIFY(IsFullReport(SoundLines()));
        } else {
            QCOMPARE(SoundLines(), QStringList{QStringLiteral("读取声卡信息失败")});
        }
        // The window still paints after the stalled query, and the next click reads again.
        QVERIFY(!SoundSurface()->grab().isNull());
        QVERIFY(!ClickSoundReport());
        QVERIFY(SoundLines().at(0).startsWith(QStringLiteral("产品名称：Main Output")));
    }

    void eachClickShowsTheServerOfThatMoment() {
        TempDir address;
        auto server = std::make_unique<PulseServer>(Sink("alpha", "Alpha", 2), address.Path());
        Begin(server->Address());
        QVERIFY(!ClickSoundReport());
        QVERIFY(SoundLines().at(0).startsWith(QStringLiteral("产品名称：Alpha ")));

        server.reset(); // killed between two clicks: nothing listens any more
        if (KernelPlaybackDevices() > 0) {
            QVERIFY(!ClickSoundReport());
            QVERIFY(IsFullReport(SoundLines()));
        } else {
            QVERIFY(ClickSoundReport());
            QVERIFY(SoundLines().isEmpty());
        }

        server = std::make_unique<PulseServer>(Sink("beta", "Beta", 4) + Sink("gamma", "Gamma", 1) +
                                                   "set-default-sink gamma\n",
                                               address.Path());
        QVERIFY(!ClickSoundReport());
        const QStringList lines = SoundLines();
        QVERIFY(lines.at(0).startsWith(QStringLiteral("产品名称：Gamma ")));
        QCOMPARE(lines.at(4), QStringLiteral("输出声道： 1"));
        QCOMPARE(lines.last(), QStringLiteral("Support Volume Control"));
    }

    void oddDeviceNamesStayWithinTheirFieldAndPaintSafely_data() {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("shownPrefix");
        QTest::newRow("200 characters")
            << QString(200, QLatin1Char('n')) << QString(31, QLatin1Char('n'));
        QTest::newRow("CJK") << QString(40, QChar(0x58F0)) << QString(31, QChar(0x58F0));
        QString emoji;
        for (int i = 0; i < 40; ++i) {
            emoji += QStringLiteral("🔊");
        }
        QString emoji31;
        for (int i = 0; i < 31; ++i) {
            emoji31 += QStringLiteral("🔊");
        }
        QTest::newRow("outside the BMP") << emoji << emoji31;
        QTest::newRow("control characters") << QStringLiteral("a\tb\001c\033[31mred")
                                            << QStringLiteral("a\uFFFDb\uFFFDc\uFFFD[31mred");
        QTest::newRow("markup") << QStringLiteral("<b>x</b> %s %n &amp;")
                                << QStringLiteral("<b>x</b> %s %n &amp;");
    }
    void oddDeviceNamesStayWithinTheirFieldAndPaintSafely() {
        QFETCH(QString, description);
        QFETCH(QString, shownPrefix);
        PulseServer server(Sink("odd", description.toStdString(), 2));
        Begin(server.Address());
        QVERIFY(!ClickSoundReport());
        const QString line = SoundLines().at(0);
        const QString prefix = QStringLiteral("产品名称：");
        QVERIFY(line.startsWith(prefix + shownPrefix));
        // 32 characters of name field, each whole: no lone surrogate.
        const QList<uint> characters = line.mid(prefix.size()).toUcs4();
        QCOMPARE(characters.size(), 32);
        for (const uint c : characters) {
            QVERIFY(c < 0xD800 || c > 0xDFFF);
        }
        QVERIFY(!SoundSurface()->grab().isNull());
    }

    void withoutAnXServerTheKeyboardReportSaysUnknown() {
        Begin(std::nullopt);
        ClickKeyboardReport();
        QCOMPARE(KeyboardLine(Form1::lblrepeatdelay), QStringLiteral("键盘重复延迟为   =  未知"));
        QCOMPARE(KeyboardLine(Form1::lblrepeatspeed), QStringLiteral("键盘的重复率  =  未知"));
        // The toolkit's own caret cycle (1000 ms here) is the last fallback.
        QCOMPARE(KeyboardLine(Form1::lblcaretflash), QStringLiteral("光标闪烁频率  =  500ms"));
    }

    void aSettingsManagerThatGoesAwayLeavesNoStaleValue() {
        XvfbServer x;
        Begin(std::nullopt, x.Display());
        {
            XSettingsManager manager(x.Display(), "Net/CursorBlinkTime 700\n");
            ClickKeyboardReport();
            QCOMPARE(KeyboardLine(Form1::lblcaretflash), QStringLiteral("光标闪烁频率  =  350ms"));
        }
        QVERIFY(WaitFor(
            [&] {
                ClickKeyboardReport();
                return KeyboardLine(Form1::lblcaretflash) ==
                       QStringLiteral("光标闪烁频率  =  500ms");
            },
            std::chrono::seconds(5)));
        QCOMPARE(KeyboardLine(Form1::lblrepeatdelay), QStringLiteral("键盘重复延迟为   =  2 秒"));
    }
};

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
