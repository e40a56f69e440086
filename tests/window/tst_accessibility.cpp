// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive tools and keyboard users get: accessible names, the printed report as
// read-only text with a caret, the announcements of new facts, the tab order, Enter and
// Space on buttons, and copying the facts from the keyboard.
#include "WindowTestSupport.h"

#include "app/Form1.h"
#include "app/Form12.h"
#include "app/Form2.h"
#include "platform/frontends/qt/Appearance.h"
#include "platform/frontends/qt/QtAnnouncement.h"

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
#include <vector>

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
    QtTextSurface* Surface() { return m_session->Surface(Form12::Picture1); }

  private slots:
    void initTestCase() { SetUpApplication(); }
    void init() { m_session = std::make_unique<FakeSession>(); }
    void cleanup() { m_session.reset(); }

    // Each window is a window to assistive tools (a frame, announced by its caption), and
    // each control has a name; the notice's has no line break at its end.
    void everyWindowAndControlHasARoleAndName() {
        for (const FormId id : {FormId::Form2, FormId::Form1, FormId::Form12}) {
            m_session->display.ShowForm(id);
            QWidget* form = m_session->display.FindForm(id);
            QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form);
            QCOMPARE(window->role(), QAccessible::Window);
            QCOMPARE(window->text(QAccessible::Name), form->windowTitle());
            auto* notice = form->findChild<QtTextLabel*>(QStringLiteral("Label1"));
            QCOMPARE(QAccessible::queryAccessibleInterface(notice)->text(QAccessible::Name),
                     QStringLiteral("简易工具，无需盗版。站点地址：pardol.in"));
            // Everything a screen reader finds below the window, as it walks the tree.
            std::vector<QAccessibleInterface*> below{window};
            while (!below.empty()) {
                QAccessibleInterface* accessible = below.back();
                below.pop_back();
                // A text's parts (its viewport) are read as the text itself.
                for (int i = 0; accessible->role() != QAccessible::EditableText &&
                                i < accessible->childCount();
                     ++i) {
                    QAccessibleInterface* child = accessible->child(i);
                    if (!child->state().invisible) {
                        QVERIFY2(!child->text(QAccessible::Name).isEmpty(),
                                 qPrintable(child->object()->objectName()));
                        below.push_back(child);
                    }
                }
            }
        }
    }

    // Read-only multi-line text named 声卡信息, whose caret the arrow keys move line by line.
    void theReportIsReadOnlyTextWithACaret() {
        QVERIFY(Show(FormId::Form12));
        Click(Form12::Command1);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Surface());
        QAccessibleTextInterface* text = accessible->textInterface();
        QVERIFY(text);
        QCOMPARE(accessible->role(), QAccessible::EditableText);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("声卡信息"));
        QVERIFY(accessible->state().readOnly);
        QVERIFY(accessible->state().multiLine);
        const QStringList lines = PrintedLines(Surface());
        const QString expected = lines.join(QLatin1Char('\n'));
        QVERIFY(expected.contains(QStringLiteral("\n输出声道： 0\n")));
        QCOMPARE(text->text(0, text->characterCount()), expected);

        Surface()->setFocus();
        QCOMPARE(text->cursorPosition(), 0);
        QTest::keyClick(Surface(), Qt::Key_Down);
        QTest::keyClick(Surface(), Qt::Key_Down);
        const int thirdLine = static_cast<int>(lines[0].size() + lines[1].size()) + 2;
        QCOMPARE(text->cursorPosition(), thirdLine);
        QTest::keyClick(Surface(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(text->selectionCount(), 1);
        int start = 0;
        int end = 0;
        text->selection(0, &start, &end);
        QCOMPARE(text->text(start, end), lines[2] + QLatin1Char('\n'));
        QTest::keyClick(Surface(), Qt::Key_A, Qt::ControlModifier);
        text->selection(0, &start, &end);
        QCOMPARE(end - start, static_cast<int>(expected.size()));
    }

    // New facts are told to assistive tools while the focus stays on the button: each
    // window's notification says the report's first line, or the four keyboard lines in the
    // order they stand. (The real screen reader's test hears them.)
    void newFactsAreAnnouncedWithoutMovingTheFocus() {
        const auto announced = [this](FormId form) {
            QAccessibleInterface* notification = QAccessible::queryAccessibleInterface(
                m_session->display.FindForm(form)->findChild<QtAnnouncement*>());
            return notification->role() == QAccessible::Notification
                       ? notification->text(QAccessible::Name)
                       : QString();
        };
        QVERIFY(Show(FormId::Form12));
        QPushButton* report = m_session->Button(Form12::Command1);
        report->setFocus();
        QTest::keyClick(report, Qt::Key_Space);
        QCOMPARE(QApplication::focusWidget(), report);
        QCOMPARE(announced(FormId::Form12), PrintedLines(Surface()).first());

        QVERIFY(Show(FormId::Form1));
        QTest::keyClick(m_session->Button(Form1::Command1), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), m_session->Button(Form1::Command1));
        const QStringList keyboard{
            m_session->Text(Form1::lblkeyboard), m_session->Text(Form1::lblrepeatspeed),
            m_session->Text(Form1::lblrepeatdelay), m_session->Text(Form1::lblcaretflash)};
        QCOMPARE(announced(FormId::Form1), keyboard.join(QLatin1Char('\n')));
    }

    void keyboardLabelsNameWhatTheyShow() {
        QVERIFY(Show(FormId::Form1));
        auto* caret = m_session->Line(Form1::lblcaretflash);
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
        QVERIFY(!PrintedLines(Surface()).isEmpty());

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
    // From the keyboard the menu opens with "复制" selected, named for its text.
    void theSurfaceCopiesFromItsMenuAndFromTheKeyboard() {
        QVERIFY(Show(FormId::Form12));
        Click(Form12::Command1);
        Surface()->setFocus();
        const QString lines = PrintedLines(Surface()).join(QLatin1Char('\n'));
        const auto copiedFromMenu = [this, &lines](const std::function<void()>& open,
                                                   bool fromKeyboard) {
            QGuiApplication::clipboard()->clear();
            open();
            QMenu* menu = Surface()->findChild<QMenu*>();
            if (!menu || menu->actions().size() != 2 ||
                menu->actions().first()->text() != QStringLiteral("复制") ||
                menu->accessibleName() != QStringLiteral("声卡信息") ||
                (menu->activeAction() == menu->actions().first()) != fromKeyboard) {
                return false;
            }
            menu->actions().first()->trigger();
            delete menu;
            return QGuiApplication::clipboard()->text() == lines;
        };
        QVERIFY(copiedFromMenu(
            [this] {
                // A click lands on the text's viewport.
                QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                                        Surface()->mapToGlobal(QPoint(10, 10)));
                QApplication::sendEvent(Surface()->viewport(), &event);
            },
            false));
        QVERIFY(copiedFromMenu([this] { QTest::keyClick(Surface(), Qt::Key_Menu); }, true));
        QVERIFY(copiedFromMenu(
            [this] { QTest::keyClick(Surface(), Qt::Key_F10, Qt::ShiftModifier); }, true));
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(Surface(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), lines);
    }

    // After the buttons, Tab reaches the keyboard lines in the table's tab order; each can
    // be selected and copied, from a menu that speaks Chinese and opens from the keyboard.
    void keyboardLabelsAreReachedSelectedAndCopied() {
        QtFormWindow* keyboard = Show(FormId::Form1);
        QVERIFY(keyboard);
        Click(Form1::Command1);
        m_session->Button(Form1::Command2)->setFocus();
        for (const ReportLineRef line : {Form1::lblcaretflash, Form1::lblrepeatdelay,
                                         Form1::lblrepeatspeed, Form1::lblkeyboard}) {
            QTest::keyClick(keyboard, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), m_session->Line(line));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Menu);
        QMenu* opened = m_session->Line(Form1::lblkeyboard)->findChild<QMenu*>();
        QVERIFY(opened);
        QCOMPARE(opened->accessibleName(), QStringLiteral("键盘的类型"));
        QCOMPARE(opened->activeAction(), opened->actions().first());
        QGuiApplication::clipboard()->clear();
        opened->activeAction()->trigger();
        delete opened;
        QCOMPARE(QGuiApplication::clipboard()->text(), m_session->Text(Form1::lblkeyboard));

        auto* delay = m_session->Line(Form1::lblrepeatdelay);
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
