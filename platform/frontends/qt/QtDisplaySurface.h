// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/frontends/FormDisplay.h"
#include "platform/frontends/qt/QtFormWindow.h"

#include <QPushButton>

namespace pardolin {

class QtTextLabel;
class QtTextSurface;

// The display operations on Qt Widgets. A window closed through its frame goes once control
// is back in the event loop; showing it again before that makes a new one.
class QtDisplaySurface : public FormDisplay<QtFormWindow> {
  public:
    explicit QtDisplaySurface(FormFactory factory, QtFormWindow::Options options = {});

    [[noreturn]] void EndProgram() override;

    // A control's widget in its window's live instance.
    template <ControlKind Kind> QWidget* Control(ControlRef<Kind> control) const {
        return FindForm(control.form)->Control(control.index);
    }
    QPushButton* Button(ButtonRef button) const {
        return static_cast<QPushButton*>(Control(button));
    }
    QtTextLabel* Label(LabelRef label) const;
    QtTextSurface* Surface(SurfaceRef surface) const;

  protected:
    void RunMessageBox(const Text& prompt, const Text& title) override;
    void ShowWaitCursor(bool busy) override;
    // Closed from inside its own event handler: deleted once that has returned.
    void Release(std::unique_ptr<QtFormWindow> closed) override { closed.release()->deleteLater(); }
};

} // namespace pardolin
