// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FormSetup.h"

#include "app/Layout.h"
#include "platform/qt/QtText.h"
#include "reports/NoticeText.h"

#include <QPushButton>
#include <QWidget>

namespace pardolin {

void SetUpForm(QWidget& form, const Text& caption, QRect clientTwips) {
    form.setWindowTitle(ToQString(caption));
    const QRect client = FromTwips(clientTwips);
    form.setFixedSize(client.size());
    // For a top-level window the geometry is that of its client area, frame excluded.
    form.setGeometry(client);
}

void NameControls(std::initializer_list<std::pair<QWidget*, const char*>> controls) {
    for (const auto& [control, name] : controls) {
        control->setObjectName(QString::fromLatin1(name));
    }
}

void Place(QWidget& control, QRect twips) {
    control.setGeometry(FromTwips(twips));
}

void SetUpButton(QPushButton& button, const QString& caption, QRect twips) {
    button.setText(caption);
    Place(button, twips);
    // Enter presses a focused button as Space does, in these plain windows too.
    button.setAutoDefault(true);
}

void SetBackColour(QWidget& control, std::uint32_t bgr) {
    QPalette palette = control.palette();
    palette.setColor(QPalette::Window, FromBgr(bgr));
    control.setPalette(palette);
    control.setAutoFillBackground(true);
}

Text NoticeCaption(NoticeEnd end) {
    return end == NoticeEnd::LineBreak ? NoticeText() + U"\r\n" : NoticeText();
}

} // namespace pardolin
