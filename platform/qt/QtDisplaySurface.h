// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplaySurface.h"
#include "platform/qt/FormWindow.h"

#include <QPointer>

#include <array>
#include <functional>
#include <memory>

namespace pardolin {

// The display operations on Qt Widgets. It keeps the one instance of each window: a window
// is made on first use, kept while hidden, and made anew after its frame's close control
// destroyed it.
class QtDisplaySurface : public DisplaySurface {
  public:
    using FormFactory = std::function<std::unique_ptr<FormWindow>(FormId, DisplaySurface&)>;

    explicit QtDisplaySurface(FormFactory factory);
    ~QtDisplaySurface() override;
    QtDisplaySurface(const QtDisplaySurface&) = delete;
    QtDisplaySurface& operator=(const QtDisplaySurface&) = delete;

    void ShowForm(FormId form) override;
    void HideForm(FormId form) override;
    void SetCaption(TextLabel& label, const Text& text) override;
    void ClearSurface(TextSurface& surface) override;
    void PrintLine(TextSurface& surface, const PrintItems& items) override;
    void ShowMessage(const Text& prompt, const Text& title) override;
    [[noreturn]] void EndProgram() override;

    // The window's instance, or nullptr when it does not exist (not made yet, or closed).
    FormWindow* FindForm(FormId form) const;

  private:
    QPointer<FormWindow>& Slot(FormId form);

    FormFactory m_factory;
    std::array<QPointer<FormWindow>, 3> m_forms;
};

} // namespace pardolin
