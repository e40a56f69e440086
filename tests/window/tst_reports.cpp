// SPDX-License-Identifier: GPL-3.0-or-later
// The report buttons, with facts from a fake system.
#include "WindowTestSupport.h"

#include "app/Appearance.h"
#include "app/Form1.h"
#include "app/Form12.h"
#include "platform/qt/TextLabel.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace pardolin;
using namespace pardolin::testing;

namespace {

WaveCapsRecord ExampleRecord() {
    WaveCapsRecord record;
    record.wMid = 1;
    record.wPid = 2;
    record.vDriverVersion = 1280;
    const std::u32string name = U"Wave Out 1";
    std::copy(name.begin(), name.end(), record.szPname.begin());
    record.wChannels = 2;
    record.dwFormats = 3;
    record.dwSupport = 12;
    return record;
}

// Dark pixels in the band of printed line `line` (0-based) of the surface's picture, which
// is in device pixels: twice the logical ones at a scale factor of 2.
bool InkInLine(const QImage& image, int line) {
    const qreal scale = image.devicePixelRatio();
    const int top = qRound(line * TextSurface::kLinePitch * scale);
    const int bottom = qRound((line + 1) * TextSurface::kLinePitch * scale);
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

    Form1* Keyboard() { return m_session->Show<Form1>(FormId::Form1); }
    Form12* Sound() { return m_session->Show<Form12>(FormId::Form12); }

  private slots:
    void initTestCase() { SetUpApplication(); }
    void init() { m_session = std::make_unique<FakeSession>(); }
    void cleanup() { m_session.reset(); }

    void keyboardReportFillsEachLabelBeforeTheNextQuery() {
        Form1* form = Keyboard();
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(form->lblkeyboard->text(),
                 QStringLiteral("键盘的类型是  : Enhanced(IBM) 101-102-key keyboard"));
        QCOMPARE(form->lblrepeatdelay->text(), QStringLiteral("键盘重复延迟为   =  1 秒"));
        QCOMPARE(form->lblrepeatspeed->text(), QStringLiteral("键盘的重复率  =  31字每分秒"));
        QCOMPARE(form->lblcaretflash->text(), QStringLiteral("光标闪烁频率  =  530ms"));
        const QStringList expected{"query type",         "set lblkeyboard",  "query delay",
                                   "set lblrepeatdelay", "query rate",       "set lblrepeatspeed",
                                   "query caret",        "set lblcaretflash"};
        QCOMPARE(m_session->log, expected);
    }

    void keyboardReportShowsFailuresAsUnknown() {
        Form1* form = Keyboard();
        m_session->queries.keyboardType = 0;
        m_session->queries.delay.reset();
        m_session->queries.rate = 20;
        m_session->queries.caretMs = 0;
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(form->lblkeyboard->text(), QStringLiteral("键盘的类型是  : "));
        QCOMPARE(form->lblrepeatdelay->text(), QStringLiteral("键盘重复延迟为   =  未知"));
        // The rate is its own value, never what the delay query left behind.
        QCOMPARE(form->lblrepeatspeed->text(), QStringLiteral("键盘的重复率  =  20字每分秒"));
        QCOMPARE(form->lblcaretflash->text(), QStringLiteral("光标闪烁频率  =  未知"));

        m_session->queries.rate.reset();
        m_session->queries.caretMs = 0xFFFFFFFFu;
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(form->lblrepeatspeed->text(), QStringLiteral("键盘的重复率  =  未知"));
        QCOMPARE(form->lblcaretflash->text(), QStringLiteral("光标闪烁频率  =  -1ms"));
    }

    void soundReportPrintsTheRecordAndReprintsOnEveryClick() {
        Form12* form = Sound();
        m_session->queries.caps = ExampleRecord();
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        const QStringList expected{QStringLiteral("产品名称：Wave Out 1") +
                                       QString(22, QLatin1Char(' ')),
                                   "产品 Id： 2 ",
                                   "驱动程序 Id： 1 ",
                                   "驱动程序版本： 5 . 0 ",
                                   "输出声道： 2",
                                   "支持格式列表：",
                                   "11.025Khz,Mono,8bit,11Kb/Ps",
                                   "11.025Khz,Stereo,8bit,22Kb/Ps",
                                   "扩展输出功能列表：",
                                   "Support Volume Control",
                                   "Support Left-Right Channals"};
        QCOMPARE(form->Picture1->Lines(), expected);
        QVERIFY(m_session->log.contains(QStringLiteral("query caps 50")));

        m_session->queries.caps->wChannels = 1;
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(form->Picture1->Lines().size(), expected.size());
        QCOMPARE(form->Picture1->Lines().at(4), QStringLiteral("输出声道： 1"));
    }

    void withoutADeviceTheMessageShowsAndTheProgramEndsWithoutPrinting() {
        Form12* form = Sound();
        m_session->queries.caps = ExampleRecord();
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        m_session->queries.deviceCount = 0;
        m_session->log.clear();
        QVERIFY_THROWS_EXCEPTION(ProgramEnded, form->Command1_Click());
        QCOMPARE(m_session->log, (QStringList{"clear", "query count", "message", "end"}));
        QCOMPARE(m_session->display.messages.size(), 1u);
        QVERIFY(m_session->display.messages[0].prompt == U"对不起，你计算机中没有安装声卡");
        QVERIFY(m_session->display.messages[0].title == U"Find Sound Blaster Card");
        QVERIFY(form->Picture1->Lines().isEmpty());
    }

    void aFailedCapabilityQueryPrintsOneLineOnly() {
        Form12* form = Sound();
        m_session->queries.caps.reset();
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(form->Picture1->Lines(), QStringList{QStringLiteral("读取声卡信息失败")});
        QVERIFY(m_session->display.messages.empty());
    }

    void allTwentyFourLinesArePaintedInsideTheSurfaceFromTheTop() {
        Form12* form = Sound();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        WaveCapsRecord record = ExampleRecord();
        record.dwFormats = 0x0FFF;
        record.dwSupport = 0x1F;
        m_session->queries.caps = record;
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(form->Picture1->Lines().size(), 24);
        const QImage image = form->Picture1->grab().toImage();
        QVERIFY(image.height() / image.devicePixelRatio() >= 24 * TextSurface::kLinePitch);
        for (int line = 0; line < 24; ++line) {
            QVERIFY2(InkInLine(image, line), qPrintable(QString::number(line)));
        }

        m_session->queries.caps = WaveCapsRecord{};
        m_session->queries.caps->dwSupport = 4;
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        const QImage shorter = form->Picture1->grab().toImage();
        QVERIFY(InkInLine(shorter, 7));         // "Support Volume Control"
        for (int line = 9; line < 24; ++line) { // nothing left of the longer report
            QVERIFY2(!InkInLine(shorter, line), qPrintable(QString::number(line)));
        }
    }

    void aDeviceNameIsShownAsPlainText() {
        Form12* form = Sound();
        WaveCapsRecord record = ExampleRecord();
        const std::u32string name = U"<b>bold</b>%s%n\t";
        record.szPname = {};
        std::copy(name.begin(), name.end(), record.szPname.begin());
        m_session->queries.caps = record;
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QVERIFY(form->Picture1->Lines().at(0).startsWith(
            QStringLiteral("产品名称：<b>bold</b>%s%n\uFFFD")));
    }

    void theRealMessageBoxHasTitlePromptOneButtonAndNoIcon() {
        QtDisplaySurface display([](FormId, DisplaySurface&) { return nullptr; });
        bool seen = false;
        QTimer::singleShot(0, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = true;
            QCOMPARE(box->windowTitle(), QStringLiteral("Find Sound Blaster Card"));
            QCOMPARE(box->text(), QStringLiteral("对不起，你计算机中没有安装声卡"));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->buttons().size(), 1);
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        display.ShowMessage(U"对不起，你计算机中没有安装声卡", U"Find Sound Blaster Card");
        QVERIFY(seen); // returned only once the box was closed by its button
    }
};

QTEST_MAIN(ReportsTest)
#include "tst_reports.moc"
