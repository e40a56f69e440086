// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Appearance.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

namespace pardolin {
namespace {

// A CJK face Debian ships; every window's texts are laid out for it at this size.
constexpr auto kFontFamily = "WenQuanYi Micro Hei";
constexpr int kFontPixelSize = 12;

} // namespace

void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("Pardolin"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pardolin.xpm")));
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(kFontPixelSize);
    QApplication::setFont(font);
}

} // namespace pardolin
