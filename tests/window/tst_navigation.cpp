// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, moving between the windows, closing through the frame, and the layouts' texts.
#include "WindowTestSupport.h"

#include "app/Form1.h"
#include "app/Form12.h"
#include "app/Form2.h"
#include "platform/frontends/qt/Appearance.h"

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace pardolin;
using namespace pardolin::testing;

class NavigationTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<FakeSession> m_session;

    QtFormWindow* Find(FormId id) { return m_session->display.FindForm(id); }
    void Click(ButtonRef button) { QTest::mouseClick(m_session->Button(button), Qt::LeftButton); }

    // Starts the program's way: the sound card window first, loaded and shown.
    QtFormWindow* StartUp() {
        pardolin::StartUp(m_session->display);
        QtFormWindow* form = Find(FormId::Form12);
        if (form && !QTest::qWaitForWindowExposed(form)) {
            return nullptr;
        }
        return form;
    }

  private slots:
    void initTestCase() { SetUpApplication(); }
    void init() { m_session = std::make_unique<FakeSession>(); }
    void cleanup() { m_session.reset(); }

    void startsOnTheSoundCardWindowAlone() {
        QtFormWindow* sound = StartUp();
        QVERIFY(sound);
        QVERIFY(sound->isVisible());
        QCOMPARE(sound->windowTitle(), QStringLiteral("声卡信息统计"));
        // Laid out in logical pixels; a scale factor makes the window that much larger.
        QCOMPARE(sound->size(), QSize(467, 384));
        const double scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                 ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                                 : 1.0;
        QCOMPARE(sound->devicePixelRatioF(), scale);
        QVERIFY(m_session->Lines(Form12::Picture1).isEmpty());
        QCOMPARE(m_session->log,
                 QStringList{QStringLiteral("clear")}); // Form_Load, nothing queried
        QVERIFY(!m_session->display.FindForm(FormId::Form2));
        QVERIFY(!m_session->display.FindForm(FormId::Form1));
    }

    void exitFromSoundCardBringsUpTheMainWindowAndKeepsTheReport() {
        QtFormWindow* sound = StartUp();
        Click(Form12::Command1); // prints a report
        const QStringList report = m_session->Lines(Form12::Picture1);
        QVERIFY(!report.isEmpty());

        Click(Form12::Command2);
        QtFormWindow* main = Find(FormId::Form2);
        QVERIFY(main);
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QVERIFY(!sound->isVisible());

        m_session->log.clear();
        Click(Form2::Command2);
        QCOMPARE(Find(FormId::Form12), sound);
        QVERIFY(sound->isVisible());
        QVERIFY(main->isVisible());
        QVERIFY(m_session->log.isEmpty()); // no second Form_Load
        QCOMPARE(m_session->Lines(Form12::Picture1), report);
    }

    void keyboardWindowOpensBesideTheMainWindowOnce() {
        StartUp();
        QtFormWindow* main = m_session->Show(FormId::Form2);
        Click(Form2::Command1);
        QtFormWindow* keyboard = Find(FormId::Form1);
        QVERIFY(keyboard);
        QVERIFY(QTest::qWaitForWindowExposed(keyboard));
        QVERIFY(main->isVisible());

        Click(Form2::Command1);
        QCOMPARE(Find(FormId::Form1), keyboard);
        QVERIFY(keyboard->isVisible());
        const QWidgetList windows = QApplication::topLevelWidgets();
        const int topLevels =
            static_cast<int>(std::count_if(windows.cbegin(), windows.cend(), [](QWidget* widget) {
                return widget->windowTitle() == QStringLiteral("统计键盘信息");
            }));
        QCOMPARE(topLevels, 1);
    }

    void keyboardLabelsSurviveExitAndReturn() {
        StartUp();
        QtFormWindow* keyboard = m_session->Show(FormId::Form1);
        Click(Form1::Command1);
        const QString shown = m_session->Text(Form1::lblcaretflash);
        QVERIFY(!shown.isEmpty());

        Click(Form1::Command2);
        QVERIFY(!keyboard->isVisible());
        QtFormWindow* main = Find(FormId::Form2);
        QVERIFY(main && main->isVisible());

        m_session->queries.caretMs = 999; // a new report would show this; returning must not
        Click(Form2::Command1);
        QCOMPARE(Find(FormId::Form1), keyboard);
        QCOMPARE(m_session->Text(Form1::lblcaretflash), shown);
    }

    void closingThroughTheFrameUnloadsAndShowingBuildsAnew() {
        QtFormWindow* sound = StartUp();
        m_session->display.ShowForm(FormId::Form2); // keep a window open so the program goes on
        Click(Form12::Command1);
        QPointer<QtFormWindow> closed(sound);
        QVERIFY(sound->close());
        // Unloaded at once: showing it again in the same pass of the event loop, before the
        // closed instance is gone, makes a new one and runs its Form_Load.
        QVERIFY(!m_session->display.FindForm(FormId::Form12));
        m_session->log.clear();
        Click(Form2::Command2);
        QtFormWindow* again = Find(FormId::Form12);
        QVERIFY(again && again != closed);
        QVERIFY(again->isVisible());
        QCOMPARE(m_session->log, QStringList{QStringLiteral("clear")}); // Form_Load ran again
        QVERIFY(m_session->Lines(Form12::Picture1).isEmpty());
        QTRY_VERIFY(closed.isNull());
        QCOMPARE(Find(FormId::Form12), again);
        QVERIFY(again->isVisible());
    }

    void endsWhenNoWindowIsVisibleAnyMore() {
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        StartUp();
        Click(Form12::Command2); // sound hidden, main shown
        QtFormWindow* main = Find(FormId::Form2);
        Click(Form2::Command1); // keyboard shown too

        // The toolkit decides on ending only inside its event loop, as in the program.
        int closedWhileMainShown = -1;
        QTimer::singleShot(0, this, [&] {
            Find(FormId::Form1)->close();
            closedWhileMainShown = static_cast<int>(lastClosed.count());
            // Only a hidden window is left once the main window closes: the program ends.
            main->close();
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, &QCoreApplication::quit);
        guard.start(10000);
        QApplication::exec();
        QVERIFY2(guard.isActive(), "the event loop did not end by itself");
        QCOMPARE(closedWhileMainShown, 0);
        QCOMPARE(lastClosed.count(), 1);
        QVERIFY(m_session->display.FindForm(FormId::Form12)); // hidden, still loaded
    }

    void everyTextFitsItsControl() {
        StartUp();
        m_session->display.ShowForm(FormId::Form2);
        m_session->display.ShowForm(FormId::Form1);
        for (const FormId id : {FormId::Form2, FormId::Form1, FormId::Form12}) {
            QWidget* form = m_session->display.FindForm(id);
            // Measured with the face the windows are laid out for, not a stand-in.
            QCOMPARE(QFontInfo(form->font()).family(), QStringLiteral("WenQuanYi Micro Hei"));
            for (QPushButton* button : form->findChildren<QPushButton*>()) {
                const int needed = button->fontMetrics().horizontalAdvance(button->text());
                QVERIFY2(needed + 8 <= button->width(), qPrintable(button->text()));
            }
            for (QGroupBox* frame : form->findChildren<QGroupBox*>()) {
                const int needed = frame->fontMetrics().horizontalAdvance(frame->title());
                QVERIFY2(needed <= frame->width(), qPrintable(frame->title()));
            }
            for (QLabel* label : form->findChildren<QLabel*>()) {
                // The notice's first line must fit on one line, or in the room of two
                // lines where the label is two lines high.
                const QString firstLine = label->text().section(QLatin1Char('\r'), 0, 0);
                const QRect needed = label->fontMetrics().boundingRect(
                    QRect(0, 0, label->width(), 1000),
                    label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine, firstLine);
                QVERIFY2(needed.width() <= label->width(), qPrintable(firstLine));
                QVERIFY2(needed.height() <= label->height(), qPrintable(firstLine));
            }
        }
    }
};

QTEST_MAIN(NavigationTest)
#include "tst_navigation.moc"
