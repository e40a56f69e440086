// SPDX-License-Identifier: GPL-3.0-or-later
// The report buttons, with facts from a fake system.
#include "WindowTestSupport.h"

#include "Records.h"

#include "app/Form1.h"
#include "app/Form12.h"
#include "platform/frontends/Metrics.h"
#include "platform/frontends/qt/Appearance.h"
#include "reports/KeyboardReport.h"
#include "reports/SoundReport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace pardolin;
using namespace pardolin::testing;

namespace {

// A device's record whose report prints every kind of line: text and numbers, formats and
// functions (the report's texts are the report table's, tests/unit/data).
WaveCapsRecord ExampleRecord() {
    return Record(U"Wave Out 1", 2, 3, 12);
}

// What the report of `record` prints, as the report functions make it.
QStringList ReportOf(const WaveCapsRecord& record) {
    QStringList lines;
    for (const PrintItems& items : BuildSoundReport(record)) {
        lines << QString::fromStdU32String(FormatLine(items));
    }
    return lines;
}

// Dark pixels in the band of printed line `line` (0-based) of the surface's picture, which
// is in device pixels: twice the logical ones at a scale factor of 2.
bool InkInLine(const QImage& image, int line) {
    const qreal scale = image.devicePixelRatio();
    const int top = qRound(line * kSurfaceLinePitch * scale);
    const int bottom = qRound((line + 1) * kSurfaceLinePitch * scale);
    for (int y = top; y < bottom && y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 100) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class ReportsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<FakeSession> m_session;

    QtFormWindow* Keyboard() { return m_session->Show(FormId::Form1); }
    QtFormWindow* Sound() { return m_session->Show(FormId::Form12); }
    void Click(ButtonRef button) { QTest::mouseClick(m_session->Button(button), Qt::LeftButton); }
    QString Text(ReportLineRef line) { return m_session->Text(line); }
    QStringList Lines() { return m_session->Lines(Form12::Picture1); }
    QtTextSurface* Surface() { return m_session->Surface(Form12::Picture1); }

  private slots:
    void initTestCase() { SetUpApplication(); }
    void init() { m_session = std::make_unique<FakeSession>(); }
    void cleanup() { m_session.reset(); }

    // Each line gets its own fact's text, set before the next question.
    void keyboardReportFillsEachLineBeforeTheNextQuery() {
        Keyboard();
        Click(Form1::Command1);
        QCOMPARE(Text(Form1::lblkeyboard), QString::fromStdU32String(KeyboardTypeLine(4)));
        QCOMPARE(Text(Form1::lblrepeatdelay), QString::fromStdU32String(RepeatDelayLine(1)));
        QCOMPARE(Text(Form1::lblrepeatspeed), QString::fromStdU32String(RepeatRateLine(31)));
        QCOMPARE(Text(Form1::lblcaretflash), QString::fromStdU32String(CaretBlinkLine(530)));
        const QStringList expected{"query type",         "set lblkeyboard",  "query delay",
                                   "set lblrepeatdelay", "query rate",       "set lblrepeatspeed",
                                   "query caret",        "set lblcaretflash"};
        QCOMPARE(m_session->log, expected);
    }

    void keyboardReportShowsFailuresAsUnknown() {
        Keyboard();
        m_session->queries.keyboardType = 0; // the platform's answer when it cannot tell
        m_session->queries.delay.reset();
        m_session->queries.rate = 20;
        m_session->queries.caretMs = 0;
        Click(Form1::Command1);
        QCOMPARE(Text(Form1::lblkeyboard), QStringLiteral("键盘的类型是  : 未知"));
        QCOMPARE(Text(Form1::lblrepeatdelay), QStringLiteral("键盘重复延迟为   =  未知"));
        // The rate is its own value, never what the delay query left behind.
        QCOMPARE(Text(Form1::lblrepeatspeed), QStringLiteral("键盘的重复率  =  20字每分秒"));
        QCOMPARE(Text(Form1::lblcaretflash), QStringLiteral("光标闪烁频率  =  未知"));

        m_session->queries.keyboardType = 81; // an answer, of a type without a name
        m_session->queries.rate.reset();
        m_session->queries.caretMs = 0xFFFFFFFFu;
        Click(Form1::Command1);
        QCOMPARE(Text(Form1::lblkeyboard), QStringLiteral("键盘的类型是  : "));
        QCOMPARE(Text(Form1::lblrepeatspeed), QStringLiteral("键盘的重复率  =  未知"));
        QCOMPARE(Text(Form1::lblcaretflash), QStringLiteral("光标闪烁频率  =  -1ms"));
    }

    void soundReportPrintsTheRecordAndReprintsOnEveryClick() {
        Sound();
        m_session->queries.caps = ExampleRecord();
        Click(Form12::Command1);
        QCOMPARE(Lines(), ReportOf(ExampleRecord()));
        QVERIFY(m_session->log.contains(QStringLiteral("query caps 50")));

        m_session->queries.caps->wChannels = 1;
        Click(Form12::Command1);
        QCOMPARE(Lines(), ReportOf(*m_session->queries.caps));
    }

    void withoutADeviceTheMessageShowsAndTheProgramEndsWithoutPrinting() {
        Sound();
        m_session->queries.caps = ExampleRecord();
        Click(Form12::Command1);
        m_session->queries.deviceCount = 0;
        m_session->log.clear();
        QVERIFY_THROWS_EXCEPTION(ProgramEnded,
                                 m_session->Handlers<Form12>(FormId::Form12).Command1_Click());
        QCOMPARE(m_session->log, (QStringList{"clear", "query count", "message", "end"}));
        QCOMPARE(m_session->display.messages.size(), 1u);
        QVERIFY(m_session->display.messages[0].prompt == U"对不起，你计算机中没有安装声卡");
        QVERIFY(m_session->display.messages[0].title == U"Find Sound Blaster Card");
        QVERIFY(Lines().isEmpty());
    }

    // Not finding out is not a fact: an unknown count or a record that cannot be read
    // prints the failure line alone, and the program goes on.
    void aFailedQueryPrintsOneLineOnly() {
        Sound();
        m_session->queries.caps.reset();
        Click(Form12::Command1);
        QCOMPARE(Lines(), QStringList{QStringLiteral("读取声卡信息失败")});

        m_session->queries.caps = ExampleRecord();
        m_session->queries.deviceCount.reset();
        m_session->log.clear();
        Click(Form12::Command1);
        QCOMPARE(Lines(), QStringList{QStringLiteral("读取声卡信息失败")});
        QCOMPARE(m_session->log, (QStringList{"clear", "query count"}));
        QVERIFY(m_session->display.messages.empty());
        QVERIFY(!Busy());
    }

    void allTwentyFourLinesArePaintedInsideTheSurfaceFromTheTop() {
        QVERIFY(QTest::qWaitForWindowExposed(Sound()));
        WaveCapsRecord record = ExampleRecord();
        record.dwFormats = 0x0FFF;
        record.dwSupport = 0x1F;
        m_session->queries.caps = record;
        Click(Form12::Command1);
        QCOMPARE(Lines().size(), 24);
        const QImage image = Surface()->grab().toImage();
        QVERIFY(image.height() / image.devicePixelRatio() >= 24 * kSurfaceLinePitch);
        for (int line = 0; line < 24; ++line) {
            QVERIFY2(InkInLine(image, line), qPrintable(QString::number(line)));
        }

        m_session->queries.caps = WaveCapsRecord{};
        m_session->queries.caps->dwSupport = 4;
        Click(Form12::Command1);
        const QImage shorter = Surface()->grab().toImage();
        QVERIFY(InkInLine(shorter, 7));         // "Support Volume Control"
        for (int line = 9; line < 24; ++line) { // nothing left of the longer report
            QVERIFY2(!InkInLine(shorter, line), qPrintable(QString::number(line)));
        }
    }

    // Markup shows as written; characters that would move, reorder or split the text
    // (a tab, right-to-left override, line separator) show as U+FFFD, on screen, to
    // assistive tools and on the clipboard alike.
    void aDeviceNameIsShownAsInertPlainText() {
        Sound();
        WaveCapsRecord record = ExampleRecord();
        const std::u32string name = U"<b>x</b>%s\t\u202Eevil\u2028two";
        record.szPname = {};
        std::copy(name.begin(), name.end(), record.szPname.begin());
        m_session->queries.caps = record;
        Click(Form12::Command1);
        const QString shown = QStringLiteral("产品名称：<b>x</b>%s\uFFFD\uFFFDevil\uFFFDtwo");
        QVERIFY(Lines().at(0).startsWith(shown));
        QVERIFY(Surface()->toPlainText().startsWith(shown + QLatin1Char(' ')));
    }

    // Shown from a busy handler, the box has the normal cursor; the wait cursor comes back
    // once it is closed.
    void theRealMessageBoxHasTitlePromptOneButtonAndNoIcon() {
        QtDisplaySurface display([](FormId, DisplaySurface&) { return nullptr; });
        const BusyCursor busy(display);
        bool seen = false;
        QTimer::singleShot(0, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = true;
            QVERIFY(!Busy());
            QCOMPARE(box->windowTitle(), QStringLiteral("Find Sound Blaster Card"));
            QCOMPARE(box->text(), QStringLiteral("对不起，你计算机中没有安装声卡"));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
            QVERIFY(box->button(QMessageBox::Ok)->icon().isNull());
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        display.ShowMessage(U"对不起，你计算机中没有安装声卡", U"Find Sound Blaster Card");
        QVERIFY(seen); // returned only once the box was closed by its button
        QVERIFY(Busy());
    }
};

QTEST_MAIN(ReportsTest)
#include "tst_reports.moc"
