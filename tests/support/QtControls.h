// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt program's controls as a test finds them: by the object names the windows give each
// control of their layouts.
#pragma once

#include "platform/FormLayout.h"
#include "platform/frontends/qt/QtDisplaySurface.h"

#include <QString>
#include <QStringList>
#include <QTextEdit>

namespace pardolin::testing {

// The widget of a control in its window's live instance; nullptr when there is none.
template <typename Widget = QWidget, ControlKind Kind>
Widget* ControlWidget(const QtDisplaySurface& display, ControlRef<Kind> control) {
    QtFormWindow* window = display.FindForm(control.form);
    if (!window) {
        return nullptr;
    }
    const std::string_view name = window->Logic().Layout().controls[control.index].name;
    return window->findChild<Widget*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

// The lines printed on a report surface, none while it is empty.
inline QStringList PrintedLines(const QTextEdit* surface) {
    const QString text = surface ? surface->toPlainText() : QString();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

} // namespace pardolin::testing
