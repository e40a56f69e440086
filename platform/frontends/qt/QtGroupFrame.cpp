// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtGroupFrame.h"

#include <QPainter>
#include <qdrawutil.h>

namespace pardolin {
namespace {

// Where the caption starts, and the room on each side of it.
constexpr int kCaptionInset = 6;
constexpr int kCaptionPadding = 2;

} // namespace

QtGroupFrame::QtGroupFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void QtGroupFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    // An etched line in the theme's shades, whose top edge runs through the middle of the
    // caption. (Styles place their own group frame below the caption.)
    qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true, 1);
    const QRect caption(kCaptionInset, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding,
                        metrics.height());
    painter.fillRect(caption, palette().brush(backgroundRole()));
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(caption, Qt::AlignCenter, title());
}

} // namespace pardolin
