// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/frontends/FormDisplay.h"
#include "platform/frontends/qt/QtFormWindow.h"

namespace pardolin {

// The display operations on Qt Widgets. A window closed through its frame goes once control
// is back in the event loop; showing it again before that makes a new one.
class QtDisplaySurface : public FormDisplay<QtFormWindow> {
  public:
    explicit QtDisplaySurface(FormFactory factory, QtFormWindow::Options options = {});

    [[noreturn]] void EndProgram() override;

  protected:
    void RunMessageBox(const Text& prompt, const Text& title) override;
    void ShowWaitCursor(bool busy) override;
    // Closed from inside its own event handler: deleted once that has returned.
    void Release(std::unique_ptr<QtFormWindow> closed) override { closed.release()->deleteLater(); }
};

} // namespace pardolin
