// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/frontends/FormDisplay.h"
#include "platform/frontends/win32/Win32FormWindow.h"

namespace pardolin {

// The display operations on plain Win32. The program ends when no window is visible any
// more once one was closed through its frame.
class Win32DisplaySurface : public FormDisplay<win32::Win32FormWindow> {
  public:
    explicit Win32DisplaySurface(FormFactory factory);

    [[noreturn]] void EndProgram() override;

    // Runs the windows until the program ends; its exit status.
    int RunMessageLoop();

  protected:
    void RunMessageBox(const Text& prompt, const Text& title) override;
    void ShowWaitCursor(bool busy) override;
    void Release(std::unique_ptr<win32::Win32FormWindow> closed) override;

  private:
    bool IsOurs(HWND window) const;
};

} // namespace pardolin
