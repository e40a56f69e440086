// SPDX-License-Identifier: GPL-3.0-or-later
// Twips to pixels, and what every front end relies on in the layout tables.
#include "app/Layouts.h"
#include "platform/DisplaySurface.h"

#include <gtest/gtest.h>

#include <set>
#include <type_traits>

namespace pardolin {
namespace {

// A control named for one kind cannot be handed where another kind is wanted.
template <typename Ref>
concept TakesACaption = requires(DisplaySurface& display, Ref ref) {
    display.SetCaption(ref, Text());
};
template <typename Ref>
concept TakesPrintedLines = requires(DisplaySurface& display, Ref ref) {
    display.PrintLine(ref, PrintItems());
};
static_assert(TakesACaption<ReportLineRef> && !TakesACaption<SurfaceRef> &&
              !TakesACaption<ButtonRef> && !TakesACaption<ControlRef<ControlKind::Label>>);
static_assert(TakesPrintedLines<SurfaceRef> && !TakesPrintedLines<ReportLineRef>);
// Only FindControl makes a reference, having checked the row's kind.
static_assert(!std::is_constructible_v<ReportLineRef, FormId, std::size_t>);

TEST(TwipsToPixels, RoundsToTheNearestPixelAsMulDivDoes) {
    struct Case {
        int twips;
        int dpi;
        int pixels;
    };
    for (const Case& c :
         {Case{15, 96, 1}, Case{7, 96, 0}, Case{8, 96, 1}, Case{22, 96, 1}, Case{23, 96, 2},
          Case{-7, 96, 0}, Case{5535, 96, 369}, Case{5535, 144, 554}, Case{7005, 144, 701},
          Case{6675, 120, 556}, Case{-8, 96, -1}, Case{2000000000, 192, 266666667}}) {
        EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
    }
}

TEST(Layouts, ContainersComeFirstHoldTheirControlsAndTabStopsAreDistinct) {
    for (const FormLayout* form : {&kForm2Layout, &kForm1Layout, &kForm12Layout}) {
        std::set<int> tabIndices;
        for (std::size_t i = 0; i < form->controls.size(); ++i) {
            const ControlLayout& row = form->controls[i];
            SCOPED_TRACE(std::string(row.name));
            EXPECT_TRUE(tabIndices.insert(row.tabIndex).second);
            if (row.container.empty()) {
                EXPECT_LE(row.place.left + row.place.width, form->client.width);
                EXPECT_LE(row.place.top + row.place.height, form->client.height);
                continue;
            }
            const std::optional<std::size_t> container = ContainerOf(*form, i);
            ASSERT_TRUE(container && *container < i) << "its frame is not listed before it";
            const ControlLayout& frame = form->controls[*container];
            EXPECT_EQ(frame.kind, ControlKind::GroupFrame);
            EXPECT_LE(row.place.left + row.place.width, frame.place.width);
            EXPECT_LE(row.place.top + row.place.height, frame.place.height);
        }
    }
}

} // namespace
} // namespace pardolin
