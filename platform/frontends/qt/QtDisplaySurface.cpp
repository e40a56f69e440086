// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtDisplaySurface.h"

#include "platform/frontends/qt/QtText.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

namespace pardolin {

QtDisplaySurface::QtDisplaySurface(FormFactory factory, QtFormWindow::Options options)
    : FormDisplay(std::move(factory), options) {}

void QtDisplaySurface::RunMessageBox(const Text& prompt, const Text& title) {
    QMessageBox box(QMessageBox::NoIcon, ToQString(title), ToQString(prompt), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    // No icon at all, on the button neither, whatever the style's habit.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}

void QtDisplaySurface::ShowWaitCursor(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtDisplaySurface::EndProgram() {
    HideAll();
    std::fflush(stdout);
    std::fflush(stderr);
    // Leave without unwinding: the calling handler must not go on, and no event may be
    // delivered to a window after this point.
    std::quick_exit(EXIT_SUCCESS);
}

} // namespace pardolin
