// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace pardolin {

enum class FormId { Form2, Form1, Form12 };

// A label shows a caption of the layout's; a report line is a label that a report fills,
// which can be reached, read and copied from the keyboard; a text surface receives printed
// lines.
enum class ControlKind { PushButton, Label, ReportLine, GroupFrame, TextSurface };

// A rectangle in twips, 1/1440 inch: 15 twips make one pixel at 96 dots per inch. A control's
// place is relative to its container; a window's client area is on the screen.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

// Twips to pixels at `dpi` dots per inch, rounded to the nearest pixel (halves away from
// zero) as the platform's MulDiv rounds.
constexpr int TwipsToPixels(int twips, int dpi) {
    const std::int64_t product = std::int64_t{twips} * dpi;
    return static_cast<int>((product + (product < 0 ? -720 : 720)) / 1440);
}

// A colour recorded as 0x00BBGGRR: blue in bits 16 to 23, green in 8 to 15, red in 0 to 7.
using BgrColour = std::uint32_t;

// One control of a window's layout.
struct ControlLayout {
    std::string_view name;
    ControlKind kind;
    std::string_view container; // the group frame that holds it; empty for the window itself
    std::u32string_view caption;
    Twips place;
    int tabIndex;
    std::optional<BgrColour> backColour; // empty: the desktop's
    // What assistive tools call the control while its caption says nothing.
    std::u32string_view accessibleName = {};
};

// A window's caption, its client area on the screen and its controls, containers first.
struct FormLayout {
    FormId id;
    std::u32string_view caption;
    Twips client;
    std::span<const ControlLayout> controls;
};

// The row of the group frame that holds the control at `index`; empty for a control the
// window holds itself, or one whose frame the layout lacks.
constexpr std::optional<std::size_t> ContainerOf(const FormLayout& layout, std::size_t index) {
    const std::string_view container = layout.controls[index].container;
    for (std::size_t i = 0; !container.empty() && i < layout.controls.size(); ++i) {
        if (layout.controls[i].name == container) {
            return i;
        }
    }
    return std::nullopt;
}

// The place of the control at `index` in its window's client area: a control in a frame is
// recorded relative to the frame.
constexpr Twips PlaceInWindow(const FormLayout& layout, std::size_t index) {
    Twips place = layout.controls[index].place;
    if (const auto frame = ContainerOf(layout, index)) {
        place.left += layout.controls[*frame].place.left;
        place.top += layout.controls[*frame].place.top;
    }
    return place;
}

template <ControlKind Kind> struct ControlRef;

// The control of that name and kind; naming one the layout lacks, or one of another kind,
// does not compile.
template <ControlKind Kind>
consteval ControlRef<Kind> FindControl(const FormLayout& layout, std::string_view name);

// A control as the handlers name it: its window and its row in that window's layout. Its
// kind is part of its type, and only FindControl makes one, having checked the row's kind
// while compiling: asking a control for what only another kind can do (a text for a
// notice, a printed line for a report line) does not compile.
template <ControlKind Kind> struct ControlRef {
    FormId form;
    std::size_t index;

  private:
    constexpr ControlRef(FormId inForm, std::size_t atIndex) : form(inForm), index(atIndex) {}
    friend consteval ControlRef FindControl<Kind>(const FormLayout&, std::string_view);
};
using ButtonRef = ControlRef<ControlKind::PushButton>;
using ReportLineRef = ControlRef<ControlKind::ReportLine>;
using SurfaceRef = ControlRef<ControlKind::TextSurface>;

template <ControlKind Kind>
consteval ControlRef<Kind> FindControl(const FormLayout& layout, std::string_view name) {
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        if (layout.controls[i].name == name) {
            if (layout.controls[i].kind != Kind) {
                throw "the control is of another kind";
            }
            return {layout.id, i};
        }
    }
    throw "no control of that name in the layout";
}

} // namespace pardolin
