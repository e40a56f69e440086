// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive tools and keyboard users get: accessible names, the printed report as
// accessible text, the tab order, Enter and Space on buttons, and copying the facts.
#include "WindowTestSupport.h"

#include "app/Form1.h"
#include "app/Form12.h"
#include "app/Form2.h"
#include "platform/qt/Appearance.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace pardolin;
using namespace pardolin::testing;

class AccessibilityTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<FakeSession> m_session;

    FormWindow* Show(FormId id) {
        FormWindow* form = m_session->Show(id);
        QApplication::setActiveWindow(form);
        if (!QTest::qWaitForWindowActive(form)) {
            return nullptr;
        }
        return form;
    }
    void Click(ControlRef button) { QTest::mouseClick(m_session->Button(button), Qt::LeftButton); }
    TextSurface* Surface() { return m_session->Get<TextSurface>(Form12::Picture1); }

  private slots:
    void initTestCase() { SetUpApplication(); }
    void init() { m_session = std::make_unique<FakeSession>(); }
    void cleanup() { m_session.reset(); }

    void everyControlHasAnAccessibleName() {
        for (const FormId id : {FormId::Form2, FormId::Form1, FormId::Form12}) {
            m_session->display.ShowForm(id);
            const QWidget* form = m_session->display.FindForm(id);
            QVERIFY(!QAccessible::queryAccessibleInterface(const_cast<QWidget*>(form))
                         ->text(QAccessible::Name)
                         .isEmpty());
            for (QWidget* control : form->findChildren<QWidget*>()) {
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
                QVERIFY(accessible);
                QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(),
                         qPrintable(control->objectName()));
            }
        }
    }

    void theReportIsTheSurfacesAccessibleText() {
        QVERIFY(Show(FormId::Form12));
        Click(Form12::Command1);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Surface());
        QAccessibleTextInterface* text = accessible->textInterface();
        QVERIFY(text);
        const QString expected = Surface()->Lines().join(QLatin1Char('\n'));
        QVERIFY(expected.contains(QStringLiteral("\n输出声道： 0\n")));
        QCOMPARE(text->characterCount(), expected.size());
        QCOMPARE(text->text(0, text->characterCount()), expected);
        QCOMPARE(accessible->text(QAccessible::Value), expected);
        QVERIFY(accessible->state().readOnly);
    }

    void keyboardLabelsNameWhatTheyShow() {
        QVERIFY(Show(FormId::Form1));
        auto* caret = m_session->Get<TextLabel>(Form1::lblcaretflash);
        QCOMPARE(QAccessible::queryAccessibleInterface(caret)->text(QAccessible::Name),
                 QStringLiteral("光标闪烁频率"));
        Click(Form1::Command1);
        QCOMPARE(QAccessible::queryAccessibleInterface(caret)->text(QAccessible::Name),
                 QStringLiteral("光标闪烁频率  =  530ms"));
    }

    void tabMovesBetweenTheButtonsAndEnterOrSpacePressesThem() {
        FormWindow* sound = Show(FormId::Form12);
        QVERIFY(sound);
        QPushButton* report = m_session->Button(Form12::Command1);
        QPushButton* exit = m_session->Button(Form12::Command2);
        report->setFocus();
        QTest::keyClick(sound, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), exit);
        QTest::keyClick(sound, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), report);

        QTest::keyClick(report, Qt::Key_Return);
        QVERIFY(!Surface()->Lines().isEmpty());

        exit->setFocus();
        QTest::keyClick(exit, Qt::Key_Space);
        QVERIFY(!sound->isVisible());
        FormWindow* main = m_session->display.FindForm(FormId::Form2);
        QVERIFY(main && main->isVisible());

        QApplication::setActiveWindow(main);
        QVERIFY(QTest::qWaitForWindowActive(main));
        m_session->Button(Form2::Command1)->setFocus();
        QTest::keyClick(m_session->Button(Form2::Command1), Qt::Key_Enter);
        QVERIFY(m_session->display.FindForm(FormId::Form1));
    }

    void theSurfacesMenuCopiesThePrintedLines() {
        QVERIFY(Show(FormId::Form12));
        Click(Form12::Command1);
        QGuiApplication::clipboard()->clear();

        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                                Surface()->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(Surface(), &event);
        QMenu* menu = Surface()->findChild<QMenu*>();
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 1);
        QAction* copy = menu->actions().first();
        QCOMPARE(copy->text(), QStringLiteral("复制"));
        QVERIFY(copy->isEnabled());
        copy->trigger();
        menu->close();
        QCOMPARE(QGuiApplication::clipboard()->text(), Surface()->Lines().join(QLatin1Char('\n')));
    }

    void keyboardLabelsCanBeSelected() {
        QVERIFY(Show(FormId::Form1));
        Click(Form1::Command1);
        auto* delay = m_session->Get<TextLabel>(Form1::lblrepeatdelay);
        delay->setSelection(0, static_cast<int>(delay->text().size()));
        QCOMPARE(delay->selectedText(), QStringLiteral("键盘重复延迟为   =  1 秒"));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
