// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplaySurface.h"
#include "platform/Form.h"
#include "platform/win32/FormWindow.h"

#include <array>
#include <memory>

namespace pardolin {

// The display operations on plain Win32. It keeps the one instance of each window: a window
// is made on first use, kept while hidden, and made anew after its frame's close control
// destroyed it. The program ends when no window is visible any more.
class Win32DisplaySurface : public DisplaySurface {
  public:
    explicit Win32DisplaySurface(FormFactory factory);
    ~Win32DisplaySurface() override;
    Win32DisplaySurface(const Win32DisplaySurface&) = delete;
    Win32DisplaySurface& operator=(const Win32DisplaySurface&) = delete;

    void ShowForm(FormId form) override;
    void HideForm(FormId form) override;
    void SetCaption(ControlRef label, const Text& text) override;
    void ClearSurface(ControlRef surface) override;
    void PrintLine(ControlRef surface, const PrintItems& items) override;
    void ShowMessage(const Text& prompt, const Text& title) override;
    [[noreturn]] void EndProgram() override;
    void SetBusy(bool busy) override;

    // Runs the windows until the program ends; its exit status.
    int RunMessageLoop();
    // The window's live instance, or nullptr when there is none (not made yet, or closed).
    const win32::FormWindow* FindForm(FormId form) const {
        return m_forms[static_cast<std::size_t>(form)].get();
    }

  private:
    std::unique_ptr<win32::FormWindow>& Slot(FormId form);
    win32::FormWindow& Live(FormId form) const;
    void Destroyed(FormId form);
    bool IsOurs(HWND window) const;

    FormFactory m_factory;
    std::array<std::unique_ptr<win32::FormWindow>, 3> m_forms;
    bool m_busy = false;
};

} // namespace pardolin
