// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FormLayout.h"

#include <functional>
#include <memory>

namespace pardolin {

class DisplaySurface;

// A window's logic as a front end drives it: its layout, its load handler and its buttons.
class Form {
  public:
    virtual ~Form() = default;

    virtual const FormLayout& Layout() const = 0;
    // Runs once for each instance of the window, when it is made.
    virtual void Form_Load() {}
    // The push button at this row of the layout was pressed.
    virtual void Click(std::size_t control) = 0;
};

// Makes the logic of a window; its handlers act through `display`.
using FormFactory = std::function<std::unique_ptr<Form>(FormId form, DisplaySurface& display)>;

} // namespace pardolin
