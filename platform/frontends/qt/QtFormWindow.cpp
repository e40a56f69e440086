// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtFormWindow.h"

#include "platform/frontends/Accessibility.h"
#include "platform/frontends/Metrics.h"
#include "platform/frontends/TabOrder.h"
#include "platform/frontends/qt/QtAnnouncement.h"
#include "platform/frontends/qt/QtGroupFrame.h"
#include "platform/frontends/qt/QtText.h"
#include "platform/frontends/qt/QtTextLabel.h"
#include "platform/frontends/qt/QtTextSurface.h"
#include "platform/frontends/qt/QtTitleBar.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QWindow>

#include <mutex>

namespace pardolin {
namespace {

// Qt lays windows out in logical pixels and scales them for dense screens itself.
QRect Pixels(const Twips& twips) {
    return {TwipsToPixels(twips.left, kLayoutDpi), TwipsToPixels(twips.top, kLayoutDpi),
            TwipsToPixels(twips.width, kLayoutDpi), TwipsToPixels(twips.height, kLayoutDpi)};
}

QColor FromBgr(BgrColour bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString FromText(std::u32string_view text) {
    return ToQString(Text(text));
}

// Assistive tools see each window as a frame named by its caption, which screen readers
// announce when it opens; a plain widget would be a filler. A window's announcements are
// notifications, which screen readers speak as they show.
QAccessibleInterface* AccessibleFor(const QString&, QObject* object) {
    if (auto* window = qobject_cast<QtFormWindow*>(object)) {
        return new QAccessibleWidget(window, QAccessible::Window);
    }
    if (auto* announcement = qobject_cast<QtAnnouncement*>(object)) {
        return new QAccessibleWidget(announcement, QAccessible::Notification);
    }
    return nullptr;
}

} // namespace

QtFormWindow::QtFormWindow(std::unique_ptr<Form> logic, ClosedHandler<QtFormWindow> closed,
                           const Options& options)
    : m_logic(std::move(logic)), m_closed(std::move(closed)) {
    static std::once_flag registered;
    std::call_once(registered, [] { QAccessible::installFactory(AccessibleFor); });
    const FormLayout& layout = m_logic->Layout();
    setWindowTitle(FromText(layout.caption));
    QRect client = Pixels(layout.client);
    if (options.drawTitleBar) {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        auto* titleBar = new QtTitleBar(this);
        titleBar->setGeometry(0, 0, client.width(), QtTitleBar::kHeight);
        m_client = new QWidget(this);
        m_client->setGeometry(0, QtTitleBar::kHeight, client.width(), client.height());
        client.setHeight(client.height() + QtTitleBar::kHeight);
    }
    setFixedSize(client.size());
    // For a top-level window the geometry is that of its client area, frame excluded.
    setGeometry(client);

    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        m_controls.push_back(MakeControl(layout.controls[i], i));
    }
    m_announcement = new QtAnnouncement(this);

    QWidget* previous = nullptr;
    for (const std::size_t index : ControlsInTabOrder(layout)) {
        if (TakesFocus(layout.controls[index])) {
            if (previous) {
                setTabOrder(previous, m_controls[index]);
            }
            previous = m_controls[index];
        }
    }
}

QtFormWindow::~QtFormWindow() = default;

QWidget* QtFormWindow::MakeControl(const ControlLayout& row, std::size_t index) {
    const std::optional<std::size_t> container = ContainerOf(m_logic->Layout(), index);
    QWidget* parent = container ? m_controls.at(*container) : m_client;
    QWidget* control = nullptr;
    switch (row.kind) {
    case ControlKind::PushButton: {
        auto* button = new QPushButton(FromText(row.caption), parent);
        // Enter presses a focused button as Space does, in these plain windows too.
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, index] { m_logic->Click(index); });
        control = button;
        break;
    }
    case ControlKind::Label:
    case ControlKind::ReportLine: {
        const QString name = ToQString(AccessibleName(row, Text(row.caption)));
        auto* label = new QtTextLabel(name, parent);
        label->setText(FromText(row.caption));
        label->setWordWrap(true);
        label->setAccessibleName(name);
        control = label;
        break;
    }
    case ControlKind::GroupFrame:
        control = new QtGroupFrame(FromText(row.caption), parent);
        break;
    case ControlKind::TextSurface:
        control = new QtTextSurface(FromText(row.accessibleName), parent);
        break;
    }
    if (TakesFocus(row)) {
        // After the label's text interaction flags, which set a focus policy of their own.
        control->setFocusPolicy(Qt::StrongFocus);
    }
    control->setObjectName(Latin1(row.name));
    control->setGeometry(Pixels(row.place));
    if (row.backColour) {
        // Labels and frames paint the window's colours, a text its base's.
        QPalette palette = control->palette();
        palette.setColor(QPalette::Window, FromBgr(*row.backColour));
        palette.setColor(QPalette::Base, FromBgr(*row.backColour));
        palette.setColor(QPalette::WindowText, FromBgr(kTextOnBackColour));
        palette.setColor(QPalette::Text, FromBgr(kTextOnBackColour));
        control->setPalette(palette);
        control->setAutoFillBackground(true);
    }
    return control;
}

void QtFormWindow::Show() {
    if (isVisible() || QGuiApplication::platformName() != QLatin1String("wayland")) {
        show();
        raise();
        activateWindow();
        return;
    }
    // Asked to activate a window it has not mapped yet, a compositor may refuse (mutter
    // complains): the request waits for the window's first frame.
    m_activation = Activation::AfterFirstPaint;
    show();
}

void QtFormWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (m_activation == Activation::AfterFirstPaint) {
        // Delivered when the compositor has shown the frame being painted.
        m_activation = Activation::AfterFirstFrame;
        windowHandle()->requestUpdate();
    }
}

bool QtFormWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::UpdateRequest && m_activation == Activation::AfterFirstFrame) {
        m_activation = Activation::None;
        activateWindow();
    }
    return handled;
}

template <typename Widget>
Widget& QtFormWindow::ControlOfKind(std::size_t index, ControlKind kind) const {
    auto* widget = index < m_controls.size() && m_logic->Layout().controls[index].kind == kind
                       ? qobject_cast<Widget*>(m_controls[index])
                       : nullptr;
    if (!widget) {
        // A fault of the program's own: the typed control references exclude it. No
        // exception may pass through the toolkit's event handling, so it ends here.
        qFatal("no control of that kind at row %zu", index);
    }
    return *widget;
}

void QtFormWindow::SetReportLine(std::size_t index, const Text& text) {
    auto& line = ControlOfKind<QtTextLabel>(index, ControlKind::ReportLine);
    line.setText(ToQString(text));
    line.setAccessibleName(ToQString(AccessibleName(m_logic->Layout().controls[index], text)));
}

void QtFormWindow::ClearSurface(std::size_t index) {
    ControlOfKind<QtTextSurface>(index, ControlKind::TextSurface).Clear();
}

void QtFormWindow::PrintLine(std::size_t index, const Text& line) {
    ControlOfKind<QtTextSurface>(index, ControlKind::TextSurface).Print(ToQString(line));
}

void QtFormWindow::Announce(const Text& text) {
    m_announcement->Announce(ToQString(text));
}

void QtFormWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted() && m_closed) {
        m_closed(*this);
    }
}

} // namespace pardolin
