// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/frontends/qt/QtTextSurface.h"

#include "platform/frontends/Metrics.h"
#include "platform/frontends/qt/QtCopyCommands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTextDocumentFragment>

namespace pardolin {
namespace {

// Every printed line: the fixed pitch, whatever the font's own line spacing, and the margin.
QTextBlockFormat LineFormat() {
    QTextBlockFormat format;
    format.setLineHeight(kSurfaceLinePitch, QTextBlockFormat::FixedHeight);
    format.setLeftMargin(kSurfaceLeftMargin);
    return format;
}

} // namespace

QtTextSurface::QtTextSurface(const QString& name, QWidget* parent) : QTextEdit(parent) {
    setAccessibleName(name);
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    setFocusPolicy(Qt::StrongFocus);
    setTabChangesFocus(true);
    setLineWrapMode(QTextEdit::NoWrap);
    setFrameStyle(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUndoRedoEnabled(false);
    document()->setDocumentMargin(0);
    QFont surfaceFont = font();
    surfaceFont.setPixelSize(kFontPixels);
    setFont(surfaceFont);
    // At the caret's line, where the keyboard user's attention is.
    new QtCopyCommands(this, name,
                       {[this] { return m_printed > 0; }, [this] { CopyLines(); },
                        [this] { selectAll(); },
                        [this] { return viewport()->mapToGlobal(cursorRect().bottomLeft()); }},
                       viewport());
}

void QtTextSurface::Clear() {
    clear();
    m_printed = 0;
}

void QtTextSurface::Print(const QString& line) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    // An empty document has one empty block already: the first line goes there.
    if (m_printed == 0) {
        end.setBlockFormat(LineFormat());
    } else {
        end.insertBlock(LineFormat());
    }
    end.insertText(line);
    if (++m_printed == 1) {
        // The caret stays at the top, where a report is read from.
        moveCursor(QTextCursor::Start);
    }
}

void QtTextSurface::CopyLines() const {
    const QTextCursor cursor = textCursor();
    QGuiApplication::clipboard()->setText(cursor.hasSelection() ? cursor.selection().toPlainText()
                                                                : toPlainText());
}

void QtTextSurface::paintEvent(QPaintEvent* event) {
    QTextEdit::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(viewport());
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = viewport()->rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void QtTextSurface::focusInEvent(QFocusEvent* event) {
    QTextEdit::focusInEvent(event);
    viewport()->update();
}

void QtTextSurface::focusOutEvent(QFocusEvent* event) {
    QTextEdit::focusOutEvent(event);
    viewport()->update();
}

} // namespace pardolin
