// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplaySurface.h"
#include "platform/Form.h"

#include <algorithm>
#include <array>
#include <concepts>
#include <functional>
#include <memory>

namespace pardolin {

// What a window calls once its frame's close control has closed it.
template <typename Window> using ClosedHandler = std::function<void(Window& closed)>;

// What a front end lets its start-up choose for every window.
template <typename Window> using WindowOptions = typename Window::Options;

// A top-level window of a front end, built from its logic's layout with the front end's
// options for every window, as the display operations drive it. Show makes it visible,
// modeless and without owner, and brings it to the front. The control operations name a
// row of the layout of their kind (a report line, a text surface); a window checks that
// its control there is one, and fails loudly (std::logic_error) if not. Announce tells
// assistive tools the text without moving the focus.
template <typename Window>
concept NativeForm = std::constructible_from<Window, std::unique_ptr<Form>, ClosedHandler<Window>,
                                             WindowOptions<Window>> &&
    requires(Window& window, const Window& shown, std::size_t index, const Text& text) {
    { shown.Logic() } -> std::same_as<Form&>;
    window.Show();
    window.Hide();
    { shown.IsShown() } -> std::same_as<bool>;
    window.SetReportLine(index, text);
    window.ClearSurface(index);
    window.PrintLine(index, text);
    window.Announce(text);
};

// The display operations as every front end has them. It keeps the one instance of each
// window: a window is made and loaded (Form_Load) on first use, kept while hidden, and
// made anew after its frame's close control closed it. A front end adds its message box,
// its wait cursor and its way of ending the program.
template <NativeForm Window> class FormDisplay : public DisplaySurface {
  public:
    explicit FormDisplay(FormFactory factory, WindowOptions<Window> options = {})
        : m_factory(std::move(factory)), m_options(std::move(options)) {}
    FormDisplay(const FormDisplay&) = delete;
    FormDisplay& operator=(const FormDisplay&) = delete;

    void ShowForm(FormId form) override {
        std::unique_ptr<Window>& slot = Slot(form);
        if (!slot) {
            slot = std::make_unique<Window>(
                m_factory(form, *this), [this, form](Window& closed) { Closed(form, closed); },
                m_options);
            slot->Logic().Form_Load();
        }
        slot->Show();
    }
    void HideForm(FormId form) override {
        if (Window* window = FindForm(form)) {
            window->Hide();
        }
    }
    void SetCaption(ReportLineRef line, const Text& text) override {
        FindForm(line.form)->SetReportLine(line.index, text);
    }
    void ClearSurface(SurfaceRef surface) override {
        FindForm(surface.form)->ClearSurface(surface.index);
    }
    void PrintLine(SurfaceRef surface, const PrintItems& items) override {
        FindForm(surface.form)->PrintLine(surface.index, FormatLine(items));
    }
    void Announce(FormId form, const Text& text) override { FindForm(form)->Announce(text); }
    void ShowMessage(const Text& prompt, const Text& title) override {
        // The user is asked for something: the normal cursor, not the wait cursor.
        const bool busy = m_busy;
        SetBusy(false);
        RunMessageBox(prompt, title);
        SetBusy(busy);
    }
    void SetBusy(bool busy) override {
        if (busy != m_busy) {
            m_busy = busy;
            ShowWaitCursor(busy);
        }
    }

    // The window's live instance, or nullptr when there is none (not made yet, or closed).
    Window* FindForm(FormId form) const { return m_forms[static_cast<std::size_t>(form)].get(); }

  protected:
    // Whether any window of the program is visible.
    bool AnyShown() const {
        return std::any_of(m_forms.begin(), m_forms.end(),
                           [](const auto& window) { return window && window->IsShown(); });
    }
    // Hides every window, as the program ends.
    void HideAll() {
        for (const auto& window : m_forms) {
            if (window) {
                window->Hide();
            }
        }
    }

    // A modal box with one OK button and no icon; returns when the user has closed it.
    virtual void RunMessageBox(const Text& prompt, const Text& title) = 0;
    virtual void ShowWaitCursor(bool busy) = 0;
    // Takes a window that its frame closed; by then it is forgotten, so that showing it
    // again makes a new one. By default it goes at once.
    virtual void Release(std::unique_ptr<Window> closed) { closed.reset(); }

  private:
    std::unique_ptr<Window>& Slot(FormId form) { return m_forms[static_cast<std::size_t>(form)]; }
    void Closed(FormId form, const Window& closed) {
        // Only the live instance is forgotten: a window closed earlier may report late.
        if (std::unique_ptr<Window>& slot = Slot(form); slot.get() == &closed) {
            Release(std::move(slot));
        }
    }

    FormFactory m_factory;
    WindowOptions<Window> m_options;
    std::array<std::unique_ptr<Window>, 3> m_forms;
    bool m_busy = false;
};

} // namespace pardolin
