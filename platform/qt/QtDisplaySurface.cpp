// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtDisplaySurface.h"

#include "platform/qt/QtText.h"
#include "platform/qt/TextLabel.h"
#include "platform/qt/TextSurface.h"

#include <QMessageBox>

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

void QtDisplaySurface::ShowForm(FormId form) {
    QPointer<FormWindow>& slot = Slot(form);
    if (!slot) {
        std::unique_ptr<FormWindow> window = m_factory(form, *this);
        // Closing a window through its frame unloads it; showing it again builds it anew.
        window->setAttribute(Qt::WA_DeleteOnClose);
        slot = window.release();
        slot->Form_Load();
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

void QtDisplaySurface::SetCaption(TextLabel& label, const Text& text) {
    label.setText(ToQString(text));
    label.setAccessibleName(label.text());
}

void QtDisplaySurface::ClearSurface(TextSurface& surface) {
    surface.Clear();
}

void QtDisplaySurface::PrintLine(TextSurface& surface, const PrintItems& items) {
    surface.Print(ToQString(FormatLine(items)));
}

void QtDisplaySurface::ShowMessage(const Text& prompt, const Text& title) {
    QMessageBox box(QMessageBox::NoIcon, ToQString(title), ToQString(prompt), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
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

} // namespace pardolin
