// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtDisplaySurface.h"

#include "platform/qt/QtText.h"
#include "platform/qt/TextLabel.h"
#include "platform/qt/TextSurface.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

namespace pardolin {

QtDisplaySurface::QtDisplaySurface(FormFactory factory) : m_factory(std::move(factory)) {}

QtDisplaySurface::~QtDisplaySurface() {
    for (QPointer<FormWindow>& form : m_forms) {
        delete form.data();
    }
}

QPointer<FormWindow>& QtDisplaySurface::Slot(FormId form) {
    return m_forms[static_cast<std::size_t>(form)];
}

FormWindow* QtDisplaySurface::FindForm(FormId form) const {
    return m_forms[static_cast<std::size_t>(form)].data();
}

QWidget* QtDisplaySurface::Control(ControlRef control) const {
    FormWindow* window = FindForm(control.form);
    return window ? window->Control(control.index) : nullptr;
}

void QtDisplaySurface::ShowForm(FormId form) {
    QPointer<FormWindow>& slot = Slot(form);
    if (!slot) {
        auto* window = new FormWindow(m_factory(form, *this));
        // Closing through the frame unloads the window at once, so a ShowForm that follows
        // in the same pass of the event loop makes a new one instead of showing the closed
        // one; the closed instance goes once control is back in the event loop.
        QObject::connect(window, &FormWindow::closed, window, [this, form, window] {
            if (Slot(form) == window) {
                Slot(form) = nullptr;
            }
            window->deleteLater();
        });
        slot = window;
        window->Logic().Form_Load();
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
}

void QtDisplaySurface::HideForm(FormId form) {
    if (FormWindow* window = FindForm(form)) {
        window->hide();
    }
}

void QtDisplaySurface::SetCaption(ControlRef label, const Text& text) {
    auto* widget = Control<TextLabel>(label);
    widget->setText(ToQString(text));
    widget->setAccessibleName(widget->text());
}

void QtDisplaySurface::ClearSurface(ControlRef surface) {
    Control<TextSurface>(surface)->Clear();
}

void QtDisplaySurface::PrintLine(ControlRef surface, const PrintItems& items) {
    Control<TextSurface>(surface)->Print(ToQString(FormatLine(items)));
}

void QtDisplaySurface::ShowMessage(const Text& prompt, const Text& title) {
    QMessageBox box(QMessageBox::NoIcon, ToQString(title), ToQString(prompt), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    // No icon at all, on the button neither, whatever the style's habit.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    // The user is asked for something: the normal cursor, not the wait cursor.
    const bool busy = m_busy;
    if (busy) {
        SetBusy(false);
    }
    box.exec();
    if (busy) {
        SetBusy(true);
    }
}

void QtDisplaySurface::EndProgram() {
    for (QPointer<FormWindow>& form : m_forms) {
        if (form) {
            form->hide();
        }
    }
    std::fflush(stdout);
    std::fflush(stderr);
    // Leave without unwinding: the calling handler must not go on, and no event may be
    // delivered to a window after this point.
    std::quick_exit(EXIT_SUCCESS);
}

void QtDisplaySurface::SetBusy(bool busy) {
    if (busy == m_busy) {
        return;
    }
    m_busy = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

} // namespace pardolin
