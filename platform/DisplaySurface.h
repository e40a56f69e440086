// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/PrintItem.h"
#include "reports/Text.h"

namespace pardolin {

enum class FormId { Form2, Form1, Form12 };

// Controls as the toolkit implementation defines them; the logic only passes them back.
class TextLabel;
class TextSurface;

// What the windows' handlers need of the window toolkit.
class DisplaySurface {
  public:
    virtual ~DisplaySurface() = default;

    // Creates and loads the window when it does not exist, shows it modeless and without
    // owner, and brings it to the front.
    virtual void ShowForm(FormId form) = 0;
    // Hides the window; it keeps everything its controls show.
    virtual void HideForm(FormId form) = 0;
    virtual void SetCaption(TextLabel& label, const Text& text) = 0;
    // Erases the surface and moves its print position to the top-left corner.
    virtual void ClearSurface(TextSurface& surface) = 0;
    // Prints FormatLine(items) at the print position and moves it to the next line.
    virtual void PrintLine(TextSurface& surface, const PrintItems& items) = 0;
    // A modal box with one OK button and no icon; returns when the user has closed it.
    virtual void ShowMessage(const Text& prompt, const Text& title) = 0;
    // Ends the program at once: the caller does not go on and every window disappears.
    [[noreturn]] virtual void EndProgram() = 0;
};

} // namespace pardolin
