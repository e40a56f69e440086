// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive tools and keyboard users get: accessible names, the printed report as
// accessible text, the tab order, Enter and Space on buttons, and copying the facts.
#include "WindowTestSupport.h"

#include "app/Form1.h"
#include "app/Form12.h"
#include "app/Form2.h"
#include "platform/frontends/qt/Appearance.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using namespace pardolin;
using namespace pardolin::testing;

class AccessibilityTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<FakeSession> m_session;

    QtFormWindow* Show(FormId id) {
        QtFormWindow* form = m_session->Show(id);
        QApplication::setActiveWindow(form);
        if (!QTest::qWaitForWindowActive(form)) {
            return nullptr;
        }
        return form;
    }
    void Click(ButtonRef button) { QTest::mouseClick(m_session->Button(button), Qt::LeftButton); }
    QtTextSurface* Surface() { return m_session->display.Surface(Form12::Picture1); }

  private slots:
    void initTestCase() { SetUpApplication(); }
    void init() { m_session = std::make_unique<FakeSession>(); }
    void cleanup() { m_session.reset(); }

    // Each window is a window to assistive tools (a frame, announced by its caption), and
    // each control has a name.
    void everyWindowAndControlHasARoleAndName() {
        for (const FormId id : {FormId::Form2, FormId::Form1, FormId::Form12}) {
            m_session->display.ShowForm(id);
            QWidget* form = m_session->display.FindForm(id);
            QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form);
            QCOMPARE(window->role(), QAccessible::Window);
            QCOMPARE(window->text(QAccessible::Name), form->windowTitle());
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
        auto* caret = m_session->display.Label(Form1::lblcaretflash);
        QCOMPARE(QAccessible::queryAccessibleInterface(caret)->text(QAccessible::Name),
                 QStringLiteral("光标闪烁频率"));
        Click(Form1::Command1);
        QCOMPARE(QAccessible::queryAccessibleInterface(caret)->text(QAccessible::Name),
                 QStringLiteral("光标闪烁频率  =  530ms"));
    }

    // The report surface, then the buttons, in the table's tab order; the surface shows
    // that it has the focus.
    void tabFollowsTheTableAndEnterOrSpacePressesButtons() {
        QtFormWindow* sound = Show(FormId::Form12);
        QVERIFY(sound);
        QPushButton* report = m_session->Button(Form12::Command1);
        QPushButton* exit = m_session->Button(Form12::Command2);
        report->setFocus();
        const QImage unfocused = Surface()->grab().toImage();
        QTest::keyClick(sound, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), Surface());
        QVERIFY(Surface()->grab().toImage() != unfocused);
        for (QWidget* next : {static_cast<QWidget*>(report), static_cast<QWidget*>(exit),
                              static_cast<QWidget*>(Surface())}) {
            QTest::keyClick(sound, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QTest::keyClick(sound, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), exit);
        QTest::keyClick(sound, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), report);

        QTest::keyClick(report, Qt::Key_Return);
        QVERIFY(!Surface()->Lines().isEmpty());

        exit->setFocus();
        QTest::keyClick(exit, Qt::Key_Space);
        QVERIFY(!sound->isVisible());
        QtFormWindow* main = m_session->display.FindForm(FormId::Form2);
        QVERIFY(main && main->isVisible());

        QApplication::setActiveWindow(main);
        QVERIFY(QTest::qWaitForWindowActive(main));
        m_session->Button(Form2::Command1)->setFocus();
        QTest::keyClick(m_session->Button(Form2::Command1), Qt::Key_Enter);
        QVERIFY(m_session->display.FindForm(FormId::Form1));
    }

    // "复制" from the mouse, the menu key or Shift+F10, and Ctrl+C: each copies the lines.
    void theSurfaceCopiesFromItsMenuAndFromTheKeyboard() {
        QVERIFY(Show(FormId::Form12));
        Click(Form12::Command1);
        Surface()->setFocus();
        const QString lines = Surface()->Lines().join(QLatin1Char('\n'));
        const auto copiedFromMenu = [this, &lines](const std::function<void()>& open) {
            QGuiApplication::clipboard()->clear();
            open();
            QMenu* menu = Surface()->findChild<QMenu*>();
            if (!menu || menu->actions().size() != 1 ||
                menu->actions().first()->text() != QStringLiteral("复制")) {
                return false;
            }
            menu->actions().first()->trigger();
            delete menu;
            return QGuiApplication::clipboard()->text() == lines;
        };
        QVERIFY(copiedFromMenu([this] {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                                    Surface()->mapToGlobal(QPoint(10, 10)));
            QApplication::sendEvent(Surface(), &event);
        }));
        QVERIFY(copiedFromMenu([this] { QTest::keyClick(Surface(), Qt::Key_Menu); }));
        QVERIFY(
            copiedFromMenu([this] { QTest::keyClick(Surface(), Qt::Key_F10, Qt::ShiftModifier); }));
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(Surface(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), lines);
    }

    // A keyboard line can be selected and copied, from a menu that speaks Chinese.
    void keyboardLabelsCanBeSelectedAndCopied() {
        QVERIFY(Show(FormId::Form1));
        Click(Form1::Command1);
        auto* delay = m_session->display.Label(Form1::lblrepeatdelay);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                delay->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(delay, &event);
        QMenu* menu = delay->findChild<QMenu*>();
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("复制"));
        QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("全选"));
        menu->actions().at(1)->trigger();
        QCOMPARE(delay->selectedText(), QStringLiteral("键盘重复延迟为   =  1 秒"));
        QGuiApplication::clipboard()->clear();
        menu->actions().at(0)->trigger();
        delete menu;
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("键盘重复延迟为   =  1 秒"));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
