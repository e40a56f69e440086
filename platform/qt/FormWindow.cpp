// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/FormWindow.h"

#include "platform/qt/QtText.h"
#include "platform/qt/TextLabel.h"
#include "platform/qt/TextSurface.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>

#include <algorithm>
#include <mutex>

namespace pardolin {
namespace {

// Qt lays windows out in logical pixels (96 to an inch) and scales them for dense screens.
constexpr int kLogicalDpi = 96;

QRect Pixels(const Twips& twips) {
    return {TwipsToPixels(twips.left, kLogicalDpi), TwipsToPixels(twips.top, kLogicalDpi),
            TwipsToPixels(twips.width, kLogicalDpi), TwipsToPixels(twips.height, kLogicalDpi)};
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

bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::TextSurface;
}

// Assistive tools see each window as a frame named by its caption, which screen readers
// announce when it opens; a plain widget would be a filler.
QAccessibleInterface* AccessibleFor(const QString&, QObject* object) {
    if (auto* window = qobject_cast<FormWindow*>(object)) {
        return new QAccessibleWidget(window, QAccessible::Window);
    }
    return nullptr;
}

} // namespace

FormWindow::FormWindow(std::unique_ptr<Form> logic) : m_logic(std::move(logic)) {
    static std::once_flag registered;
    std::call_once(registered, [] { QAccessible::installFactory(AccessibleFor); });
    const FormLayout& layout = m_logic->Layout();
    setWindowTitle(FromText(layout.caption));
    const QRect client = Pixels(layout.client);
    setFixedSize(client.size());
    // For a top-level window the geometry is that of its client area, frame excluded.
    setGeometry(client);

    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        m_controls.push_back(MakeControl(layout.controls[i], i));
    }

    std::vector<std::size_t> tabOrder;
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        if (TakesFocus(layout.controls[i].kind)) {
            tabOrder.push_back(i);
        }
    }
    std::sort(tabOrder.begin(), tabOrder.end(), [&layout](std::size_t a, std::size_t b) {
        return layout.controls[a].tabIndex < layout.controls[b].tabIndex;
    });
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(m_controls[tabOrder[i - 1]], m_controls[tabOrder[i]]);
    }
}

FormWindow::~FormWindow() = default;

QWidget* FormWindow::MakeControl(const ControlLayout& row, std::size_t index) {
    const std::optional<std::size_t> container = ContainerOf(m_logic->Layout(), index);
    QWidget* parent = container ? m_controls.at(*container) : this;
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
    case ControlKind::Label: {
        auto* label = new TextLabel(parent);
        label->setText(FromText(row.caption));
        label->setWordWrap(true);
        control = label;
        break;
    }
    case ControlKind::GroupFrame:
        control = new QGroupBox(FromText(row.caption), parent);
        break;
    case ControlKind::TextSurface:
        control = new TextSurface(parent);
        break;
    }
    control->setObjectName(Latin1(row.name));
    control->setGeometry(Pixels(row.place));
    if (row.backColour) {
        QPalette palette = control->palette();
        palette.setColor(QPalette::Window, FromBgr(*row.backColour));
        palette.setColor(QPalette::WindowText, FromBgr(kTextOnBackColour));
        control->setPalette(palette);
        control->setAutoFillBackground(true);
    }
    if (!row.accessibleName.empty()) {
        control->setAccessibleName(FromText(row.accessibleName));
    }
    return control;
}

void FormWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        emit closed();
    }
}

} // namespace pardolin
