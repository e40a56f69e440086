// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtTitleBar.h"

#include "platform/frontends/qt/QtText.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

namespace pardolin {
namespace {

constexpr int kButtonSize = 24;
constexpr int kIconSize = 16;
constexpr int kGap = 7;

QToolButton* TitleButton(QWidget* bar, QStyle::StandardPixmap icon, const Text& name) {
    auto* button = new QToolButton(bar);
    button->setIcon(bar->style()->standardIcon(icon, nullptr, bar));
    button->setAutoRaise(true);
    // As in every title bar: for the mouse; the keyboard has the window manager's keys.
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(ToQString(name));
    button->setAccessibleName(ToQString(name));
    return button;
}

} // namespace

QtTitleBar::QtTitleBar(QWidget* window)
    : QWidget(window), m_minimize(TitleButton(this, QStyle::SP_TitleBarMinButton, U"最小化")),
      m_close(TitleButton(this, QStyle::SP_TitleBarCloseButton, U"关闭")) {
    setObjectName(QStringLiteral("titleBar"));
    connect(m_minimize, &QToolButton::clicked, window, &QWidget::showMinimized);
    connect(m_close, &QToolButton::clicked, window, &QWidget::close);
}

void QtTitleBar::resizeEvent(QResizeEvent*) {
    const int top = (kHeight - kButtonSize) / 2;
    m_close->setGeometry(width() - top - kButtonSize, top, kButtonSize, kButtonSize);
    m_minimize->setGeometry(m_close->x() - kButtonSize, top, kButtonSize, kButtonSize);
}

void QtTitleBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, height() - 1, width(), height() - 1);
    const int iconTop = (kHeight - kIconSize) / 2;
    window()->windowIcon().paint(&painter, kGap, iconTop, kIconSize, kIconSize);
    const QRect caption(kGap * 2 + kIconSize, 0, m_minimize->x() - kGap * 3 - kIconSize, kHeight);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(
        caption, Qt::AlignVCenter | Qt::AlignLeft,
        fontMetrics().elidedText(window()->windowTitle(), Qt::ElideRight, caption.width()));
}

void QtTitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        window()->windowHandle()->startSystemMove();
    }
}

} // namespace pardolin
