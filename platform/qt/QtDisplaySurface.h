// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplaySurface.h"
#include "platform/Form.h"
#include "platform/qt/FormWindow.h"

#include <QPointer>

#include <array>

namespace pardolin {

// The display operations on Qt Widgets. It keeps the one instance of each window: a window
// is made on first use, kept while hidden, and made anew after its frame's close control
// closed it.
class QtDisplaySurface : public DisplaySurface {
  public:
    explicit QtDisplaySurface(FormFactory factory);
    ~QtDisplaySurface() override;
    QtDisplaySurface(const QtDisplaySurface&) = delete;
    QtDisplaySurface& operator=(const QtDisplaySurface&) = delete;

    void ShowForm(FormId form) override;
    void HideForm(FormId form) override;
    void SetCaption(ControlRef label, const Text& text) override;
    void ClearSurface(ControlRef surface) override;
    void PrintLine(ControlRef surface, const PrintItems& items) override;
    void ShowMessage(const Text& prompt, const Text& title) override;
    [[noreturn]] void EndProgram() override;
    void SetBusy(bool busy) override;

    // The window's live instance, or nullptr when there is none (not made yet, or closed).
    FormWindow* FindForm(FormId form) const;
    // The control's widget in the window's live instance.
    QWidget* Control(ControlRef control) const;
    template <typename Widget> Widget* Control(ControlRef control) const {
        return static_cast<Widget*>(Control(control));
    }

  private:
    QPointer<FormWindow>& Slot(FormId form);

    FormFactory m_factory;
    std::array<QPointer<FormWindow>, 3> m_forms;
    bool m_busy = false;
};

} // namespace pardolin
