// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/frontends/FormDisplay.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace pardolin {

class QtAnnouncement;

// A top-level window built from its logic's layout: one widget for each row, placed in its
// container, in the layout's tab order. Its buttons call the logic's handlers. It is the
// NativeForm of the Qt front end.
class QtFormWindow : public QWidget {
    Q_OBJECT
  public:
    struct Options {
        // A title bar of the window's own, for a compositor that draws none: the toolkit's
        // offers to maximize a window that cannot change size.
        bool drawTitleBar = false;
    };

    QtFormWindow(std::unique_ptr<Form> logic, ClosedHandler<QtFormWindow> closed,
                 const Options& options);
    ~QtFormWindow() override;

    Form& Logic() const { return *m_logic; }
    void Show();
    void Hide() { hide(); }
    bool IsShown() const { return isVisible(); }
    void SetReportLine(std::size_t index, const Text& text);
    void ClearSurface(std::size_t index);
    void PrintLine(std::size_t index, const Text& line);
    void Announce(const Text& text);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QWidget* MakeControl(const ControlLayout& row, std::size_t index);
    // The widget at `index`, which must be a control of `kind` made as a Widget.
    template <typename Widget> Widget& ControlOfKind(std::size_t index, ControlKind kind) const;

    std::unique_ptr<Form> m_logic;
    ClosedHandler<QtFormWindow> m_closed;
    QWidget* m_client = this; // what holds the layout's controls: the window's client area
    std::vector<QWidget*> m_controls;
    QtAnnouncement* m_announcement = nullptr;
    // A window newly shown on Wayland is activated once the compositor has it on screen.
    enum class Activation {
        None,
        AfterFirstPaint,
        AfterFirstFrame
    } m_activation = Activation::None;
};

} // namespace pardolin
