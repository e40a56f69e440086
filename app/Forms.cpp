// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Forms.h"

#include "app/Form1.h"
#include "app/Form12.h"
#include "app/Form2.h"

namespace pardolin {

std::unique_ptr<Form> CreateForm(FormId form, DisplaySurface& display, SystemQueries& queries) {
    switch (form) {
    case FormId::Form2:
        return std::make_unique<Form2>(display);
    case FormId::Form1:
        return std::make_unique<Form1>(display, queries);
    case FormId::Form12:
        return std::make_unique<Form12>(display, queries);
    }
    return nullptr;
}

void ReturnToMainWindow(DisplaySurface& display, FormId from) {
    display.HideForm(from);
    display.ShowForm(FormId::Form2);
}

void StartUp(DisplaySurface& display) {
    display.ShowForm(FormId::Form12);
}

} // namespace pardolin
