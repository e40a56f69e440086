// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FormLayout.h"

namespace pardolin {

// The density at which the pixel sizes below are given: one pixel is 15 twips, as in the
// layouts. Each front end scales them to the screen it draws on.
inline constexpr int kLayoutDpi = 96;

// A length given in pixels at kLayoutDpi, at `dpi`.
constexpr int PixelsAt(int layoutPixels, int dpi) {
    return TwipsToPixels(layoutPixels * (1440 / kLayoutDpi), dpi);
}

// Every window's texts are laid out for a CJK face of this pixel size.
inline constexpr int kFontPixels = 12;

// The text surface prints a line every kSurfaceLinePitch pixels, each kSurfaceLeftMargin
// from its left edge: the 24 lines of the longest report fit in its 313 pixels.
inline constexpr int kSurfaceLinePitch = 13;
inline constexpr int kSurfaceLeftMargin = 3;

// The text colour of every control that has a back colour of its own: the system's normal
// dark text, which reads on each of the light back colours whatever the desktop's theme
// (the theme's own text colour may be light on a dark desktop). Other controls follow the
// theme.
inline constexpr BgrColour kTextOnBackColour = 0x00000000;

} // namespace pardolin
