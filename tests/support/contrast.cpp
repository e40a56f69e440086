// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a picture of one of the program's windows and measures how its report text stands
// out from the back colour it is drawn on: for every label and text surface that has a
// back colour of its own, the contrast ratio (as WCAG 2 defines it) between that colour
// and the text's ink, taken as the 80th percentile of the ratios of the pixels that are
// not the back colour (the strokes' cores, not their blended edges).
//   contrast IMAGE FORM MINIMUM      FORM: Form2, Form1 or Form12; fails below MINIMUM
#include "app/Layouts.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using namespace pardolin;

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(QRgb colour) {
    return 0.2126 * Linear(qRed(colour)) + 0.7152 * Linear(qGreen(colour)) +
           0.0722 * Linear(qBlue(colour));
}

double Contrast(QRgb a, QRgb b) {
    const double first = Luminance(a);
    const double second = Luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QRect Pixels(const Twips& place) {
    return {TwipsToPixels(place.left, 96), TwipsToPixels(place.top, 96),
            TwipsToPixels(place.width, 96), TwipsToPixels(place.height, 96)};
}

} // namespace

int main(int argc, char** argv) {
    const FormLayout* form = nullptr;
    for (const FormLayout* candidate : {&kForm2Layout, &kForm1Layout, &kForm12Layout}) {
        const char* names[] = {"Form2", "Form1", "Form12"};
        if (argc == 4 && std::strcmp(argv[2], names[static_cast<int>(candidate->id)]) == 0) {
            form = candidate;
        }
    }
    const QImage image = argc == 4 ? QImage(QString::fromLocal8Bit(argv[1])) : QImage();
    if (!form || image.isNull()) {
        std::fprintf(stderr, "usage: contrast IMAGE FORM MINIMUM\n");
        return 2;
    }
    const double minimum = std::atof(argv[3]);
    bool readable = true;
    for (std::size_t i = 0; i < form->controls.size(); ++i) {
        const ControlLayout& row = form->controls[i];
        const bool text = row.kind == ControlKind::Label || row.kind == ControlKind::ReportLine ||
                          row.kind == ControlKind::TextSurface;
        if (!row.backColour || !text) {
            continue;
        }
        const BgrColour bgr = *row.backColour;
        const QRgb back = qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
        std::vector<double> ink;
        const QRect area = Pixels(PlaceInWindow(*form, i)).intersected(image.rect());
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb pixel = image.pixel(x, y) & RGB_MASK;
                if (pixel != (back & RGB_MASK)) {
                    ink.push_back(Contrast(pixel, back));
                }
            }
        }
        if (ink.empty()) {
            std::printf("%.*s: no text\n", static_cast<int>(row.name.size()), row.name.data());
            readable = false;
            continue;
        }
        std::sort(ink.begin(), ink.end());
        const double ratio = ink[ink.size() * 8 / 10];
        std::printf("%.*s: %.2f:1\n", static_cast<int>(row.name.size()), row.name.data(), ratio);
        readable = readable && ratio >= minimum;
    }
    return readable ? 0 : 1;
}
