// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRect>

#include <cstdint>

namespace pardolin {

// The layouts are recorded in twips: 15 twips make one pixel at 96 dots per inch. Qt scales
// logical pixels on high-density screens itself.
constexpr int kTwipsPerPixel = 15;

constexpr int FromTwips(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// A rectangle recorded in twips, in logical pixels.
constexpr QRect FromTwips(QRect twips) {
    return {FromTwips(twips.x()), FromTwips(twips.y()), FromTwips(twips.width()),
            FromTwips(twips.height())};
}

// Colours are recorded as 0x00BBGGRR.
inline QColor FromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

} // namespace pardolin
