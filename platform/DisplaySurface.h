// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FormLayout.h"
#include "reports/PrintItem.h"
#include "reports/Text.h"

namespace pardolin {

// What the windows' handlers need of the window toolkit. Controls are named by their
// ControlRef, which says what kind of control each is.
class DisplaySurface {
  public:
    virtual ~DisplaySurface() = default;

    // Creates and loads the window when it does not exist, shows it modeless and without
    // owner, and brings it to the front.
    virtual void ShowForm(FormId form) = 0;
    // Hides the window; it keeps everything its controls show.
    virtual void HideForm(FormId form) = 0;
    // Replaces the whole text of a line a report fills.
    virtual void SetCaption(ReportLineRef line, const Text& text) = 0;
    // Erases the surface and moves its print position to the top-left corner.
    virtual void ClearSurface(SurfaceRef surface) = 0;
    // Prints FormatLine(items) at the print position and moves it to the next line.
    virtual void PrintLine(SurfaceRef surface, const PrintItems& items) = 0;
    // Tells assistive tools what a report has just shown in the window, without moving the
    // keyboard focus: a screen reader speaks it at once.
    virtual void Announce(FormId form, const Text& text) = 0;
    // A modal box with one OK button and no icon; returns when the user has closed it. The
    // normal cursor shows over it, busy or not.
    virtual void ShowMessage(const Text& prompt, const Text& title) = 0;
    // Ends the program at once: the caller does not go on and every window disappears.
    [[noreturn]] virtual void EndProgram() = 0;
    // Shows that the program is busy (the wait cursor) while a handler asks the system.
    virtual void SetBusy(bool busy) = 0;
};

// The wait cursor for the scope of a handler that asks the system.
class BusyCursor {
  public:
    explicit BusyCursor(DisplaySurface& display) : m_display(display) { m_display.SetBusy(true); }
    ~BusyCursor() { m_display.SetBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    DisplaySurface& m_display;
};

} // namespace pardolin
