// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive tools and keyboard users get: accessible names, the printed report as
// accessible text, the tab order, Enter and Space on buttons, and copying the facts.
#include "WindowTestSupport.h"

#include "app/Appearance.h"
#include "app/Form1.h"
#include "app/Form12.h"
#include "app/Form2.h"
#include "platform/qt/TextLabel.h"

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

    template <typename T> T* Show(FormId id) {
        auto* form = m_session->Show<T>(id);
        QApplication::setActiveWindow(form);
        if (!QTest::qWaitForWindowActive(form)) {
            return nullptr;
        }
        return form;
    }

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
        auto* form = Show<Form12>(FormId::Form12);
        QVERIFY(form);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(form->Picture1);
        QAccessibleTextInterface* text = accessible->textInterface();
        QVERIFY(text);
        const QString expected = form->Picture1->Lines().join(QLatin1Char('\n'));
        QVERIFY(expected.contains(QStringLiteral("\n输出声道： 0\n")));
        QCOMPARE(text->characterCount(), expected.size());
        QCOMPARE(text->text(0, text->characterCount()), expected);
        QCOMPARE(accessible->text(QAccessible::Value), expected);
        QVERIFY(accessible->state().readOnly);
    }

    void keyboardLabelsNameWhatTheyShow() {
        auto* form = Show<Form1>(FormId::Form1);
        QVERIFY(form);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(form->lblcaretflash)->text(QAccessible::Name),
            QStringLiteral("光标闪烁频率"));
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(form->lblcaretflash)->text(QAccessible::Name),
            QStringLiteral("光标闪烁频率  =  530ms"));
    }

    void tabMovesBetweenTheButtonsAndEnterOrSpacePressesThem() {
        auto* sound = Show<Form12>(FormId::Form12);
        QVERIFY(sound);
        sound->Command1->setFocus();
        QTest::keyClick(sound, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), sound->Command2);
        QTest::keyClick(sound, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), sound->Command1);

        QTest::keyClick(sound->Command1, Qt::Key_Return);
        QVERIFY(!sound->Picture1->Lines().isEmpty());

        sound->Command2->setFocus();
        QTest::keyClick(sound->Command2, Qt::Key_Space);
        QVERIFY(!sound->isVisible());
        auto* main = static_cast<Form2*>(m_session->display.FindForm(FormId::Form2));
        QVERIFY(main && main->isVisible());

        QApplication::setActiveWindow(main);
        QVERIFY(QTest::qWaitForWindowActive(main));
        main->Command1->setFocus();
        QTest::keyClick(main->Command1, Qt::Key_Enter);
        QVERIFY(m_session->display.FindForm(FormId::Form1));
    }

    void theSurfacesMenuCopiesThePrintedLines() {
        auto* form = Show<Form12>(FormId::Form12);
        QVERIFY(form);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QGuiApplication::clipboard()->clear();

        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                                form->Picture1->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(form->Picture1, &event);
        QMenu* menu = form->Picture1->findChild<QMenu*>();
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 1);
        QAction* copy = menu->actions().first();
        QCOMPARE(copy->text(), QStringLiteral("复制"));
        QVERIFY(copy->isEnabled());
        copy->trigger();
        menu->close();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 form->Picture1->Lines().join(QLatin1Char('\n')));
    }

    void keyboardLabelsCanBeSelected() {
        auto* form = Show<Form1>(FormId::Form1);
        QVERIFY(form);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        form->lblrepeatdelay->setSelection(0,
                                           static_cast<int>(form->lblrepeatdelay->text().size()));
        QCOMPARE(form->lblrepeatdelay->selectedText(), QStringLiteral("键盘重复延迟为   =  1 秒"));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
