// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtTextSurface.h"

#include "platform/frontends/Commands.h"
#include "platform/frontends/Metrics.h"
#include "platform/frontends/qt/QtText.h"

#include <QAccessibleWidget>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <mutex>

namespace pardolin {
namespace {

// Read-only text for screen readers: the printed lines, one per line.
class TextSurfaceAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit TextSurfaceAccessible(QtTextSurface* surface)
        : QAccessibleWidget(surface, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? Surface()->PlainText() : QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        return state;
    }

    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        return Surface()->PlainText().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Surface()->PlainText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

  private:
    const QtTextSurface* Surface() const { return static_cast<const QtTextSurface*>(widget()); }
};

QAccessibleInterface* AccessibleFor(const QString&, QObject* object) {
    if (auto* surface = qobject_cast<QtTextSurface*>(object)) {
        return new TextSurfaceAccessible(surface);
    }
    return nullptr;
}

} // namespace

QtTextSurface::QtTextSurface(QWidget* parent) : QWidget(parent) {
    static std::once_flag registered;
    std::call_once(registered, [] { QAccessible::installFactory(AccessibleFor); });
    QFont surfaceFont = font();
    surfaceFont.setPixelSize(kFontPixels);
    setFont(surfaceFont);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void QtTextSurface::Clear() {
    const QString before = TextForAssistiveTools();
    m_lines.clear();
    TextChanged(before);
}

void QtTextSurface::Print(const QString& line) {
    const QString before = TextForAssistiveTools();
    m_lines.append(line);
    TextChanged(before);
}

QString QtTextSurface::TextForAssistiveTools() const {
    // Only a listening screen reader needs the text as it was; a report click skips the work.
    return QAccessible::isActive() ? PlainText() : QString();
}

void QtTextSurface::CopyLines() const {
    QGuiApplication::clipboard()->setText(PlainText());
}

void QtTextSurface::TextChanged(const QString& before) {
    update();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, before, PlainText());
        QAccessible::updateAccessibility(&event);
    }
}

void QtTextSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int ascent = fontMetrics().ascent();
    int baseline = ascent + (kSurfaceLinePitch - fontMetrics().height()) / 2;
    for (const QString& line : m_lines) {
        if (baseline - ascent >= height()) {
            break;
        }
        painter.drawText(kSurfaceLeftMargin, baseline, line);
        baseline += kSurfaceLinePitch;
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void QtTextSurface::contextMenuEvent(QContextMenuEvent* event) {
    // The menu key is answered as a key, on every platform alike.
    if (event->reason() != QContextMenuEvent::Keyboard) {
        ShowMenu(event->globalPos());
    }
}

void QtTextSurface::keyPressEvent(QKeyEvent* event) {
    const bool menuKey = event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier;
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (event->matches(QKeySequence::Copy)) {
        CopyLines();
    } else if (menuKey || shiftF10) {
        // At the first line, where the keyboard user's attention is.
        ShowMenu(mapToGlobal(QPoint(kSurfaceLeftMargin, kSurfaceLinePitch)));
    } else {
        QWidget::keyPressEvent(event);
    }
}

void QtTextSurface::ShowMenu(const QPoint& globalPosition) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copy = menu->addAction(ToQString(Text(kCopyCommand)), this, &QtTextSurface::CopyLines);
    copy->setEnabled(!m_lines.isEmpty());
    menu->popup(globalPosition);
}

} // namespace pardolin
