// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/TextSurface.h"

#include <QPainter>

namespace pardolin {
namespace {

constexpr int kLeftMargin = 3;
// The largest glyph size whose lines still stay apart at the fixed pitch.
constexpr int kFontPixelSize = 12;

// Control characters from a device name would move or hide text; each shows as one
// replacement character, so fixed-width fields keep their width.
QString Printable(QString line) {
    for (QChar& c : line) {
        if (c.category() == QChar::Other_Control) {
            c = QChar::ReplacementCharacter;
        }
    }
    return line;
}

} // namespace

TextSurface::TextSurface(QWidget* parent) : QWidget(parent) {
    QFont surfaceFont = font();
    surfaceFont.setPixelSize(kFontPixelSize);
    setFont(surfaceFont);
    setAutoFillBackground(true);
}

void TextSurface::Clear() {
    m_lines.clear();
    update();
}

void TextSurface::Print(const QString& line) {
    m_lines.append(Printable(line));
    update();
}

void TextSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int ascent = fontMetrics().ascent();
    int baseline = ascent + (kLinePitch - fontMetrics().height()) / 2;
    for (const QString& line : m_lines) {
        if (baseline - ascent >= height()) {
            break;
        }
        painter.drawText(kLeftMargin, baseline, line);
        baseline += kLinePitch;
    }
}

} // namespace pardolin
