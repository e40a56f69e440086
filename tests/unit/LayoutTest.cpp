// SPDX-License-Identifier: GPL-3.0-or-later
// Twips to pixels, and what every front end relies on in the layout tables.
#include "app/Layouts.h"
#include "platform/DisplaySurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

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
static_assert(TakesACaption<LabelRef> && !TakesACaption<SurfaceRef> && !TakesACaption<ButtonRef>);
static_assert(TakesPrintedLines<SurfaceRef> && !TakesPrintedLines<LabelRef>);

TEST(TwipsToPixels, RoundsToTheNearestPixelAsMulDivDoes) {
    struct Case {
        int twips;
        int dpi;
        int pixels;
    };
    for (const Case& c : {Case{15, 96, 1}, Case{7, 96, 0}, Case{8, 96, 1}, Case{5535, 96, 369},
                          Case{5535, 144, 554}, Case{7005, 144, 701}, Case{6675, 120, 556},
                          Case{-8, 96, -1}, Case{2000000000, 192, 266666667}}) {
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

// The notice on every window, followed by a line break except on the sound card window.
TEST(Layouts, EveryWindowShowsTheNotice) {
    EXPECT_TRUE(kNoticeText.starts_with(U"简易工具，无需盗版。站点地址："));
    for (const auto& [form, notice] : {std::pair{&kForm2Layout, kNoticeTextWithLineBreak},
                                       std::pair{&kForm1Layout, kNoticeTextWithLineBreak},
                                       std::pair{&kForm12Layout, kNoticeText}}) {
        const auto label =
            std::find_if(form->controls.begin(), form->controls.end(),
                         [](const ControlLayout& row) { return row.name == "Label1"; });
        ASSERT_NE(label, form->controls.end());
        EXPECT_EQ(label->caption, notice) << static_cast<int>(form->id);
    }
}

} // namespace
} // namespace pardolin
