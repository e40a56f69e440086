// SPDX-License-Identifier: GPL-3.0-or-later
// The three windows as they are laid out: caption, client area on the screen, and each
// control with its container, caption, place in twips, tab order and back colour. Every
// front end builds its windows from these tables and nothing else.
#pragma once

#include "platform/FormLayout.h"
#include "reports/NoticeText.h"

#include <array>

namespace pardolin {

namespace layout {

using enum ControlKind;
inline constexpr std::string_view kWindow = {};
inline constexpr std::optional<BgrColour> kDefault = std::nullopt;

// clang-format off

// The main window.
inline constexpr std::array kForm2Controls{
//                name        kind        container caption                   left  top   width height tab back
    ControlLayout{"Command1", PushButton, kWindow, U"键盘信息统计",          {240,  120,  1575, 735}, 0, kDefault},
    ControlLayout{"Command2", PushButton, kWindow, U"声卡信息",              {2160, 120,  1695, 735}, 1, kDefault},
    ControlLayout{"Label1",   Label,      kWindow, kNoticeTextWithLineBreak, {240,  960,  3495, 255}, 2, kDefault},
};

// The keyboard window. Its report lines start empty; assistive tools name them by what
// they will show.
inline constexpr std::array kForm1Controls{
//                name              kind        container caption                    left  top   width height tab back       accessible name
    ControlLayout{"Frame1",         GroupFrame, kWindow,  U"键盘信息显示",          {0,    0,    5535, 1935}, 2, 0x00E0E0E0},
    ControlLayout{"lblkeyboard",    ReportLine, "Frame1", U"",                      {120,  240,  5295, 255},  6, 0x0080FFFF, U"键盘的类型"},
    ControlLayout{"lblrepeatspeed", ReportLine, "Frame1", U"",                      {120,  600,  5295, 255},  5, 0x0080FFFF, U"键盘的重复率"},
    ControlLayout{"lblrepeatdelay", ReportLine, "Frame1", U"",                      {120,  1080, 5295, 255},  4, 0x0080FFFF, U"键盘重复延迟"},
    ControlLayout{"lblcaretflash",  ReportLine, "Frame1", U"",                      {120,  1560, 5295, 255},  3, 0x0080FFFF, U"光标闪烁频率"},
    ControlLayout{"Command1",       PushButton, kWindow,  U"键盘信息",              {1080, 1920, 1335, 495},  0, kDefault},
    ControlLayout{"Command2",       PushButton, kWindow,  U"退出",                  {3000, 1920, 1215, 495},  1, kDefault},
    ControlLayout{"Label1",         Label,      kWindow,  kNoticeTextWithLineBreak, {1080, 2520, 3615, 255},  7, kDefault},
};

// The sound card window. Picture1 is the only control that receives printed text.
inline constexpr std::array kForm12Controls{
//                name        kind         container caption           left  top   width height tab back       accessible name
    ControlLayout{"Frame1",   GroupFrame,  kWindow,  U"声卡信息显示", {0,    0,    6975, 5055}, 0, kDefault},
    ControlLayout{"Picture1", TextSurface, "Frame1", U"",             {120,  240,  6735, 4695}, 1, 0x00C0FFFF, U"声卡信息"},
    ControlLayout{"Command1", PushButton,  kWindow,  U"显示声卡信息", {120,  5160, 1455, 495},  2, kDefault},
    ControlLayout{"Command2", PushButton,  kWindow,  U"退 出",        {1800, 5160, 1335, 495},  3, kDefault},
    ControlLayout{"Label1",   Label,       kWindow,  kNoticeText,     {3600, 5160, 3135, 495},  4, kDefault},
};

// clang-format on

} // namespace layout

// clang-format off
//                                        window          caption           client area: left top  width height
inline constexpr FormLayout kForm2Layout {FormId::Form2,  U"Pardolin",     {8760, 5895, 4350, 1320}, layout::kForm2Controls};
inline constexpr FormLayout kForm1Layout {FormId::Form1,  U"统计键盘信息", {7815, 5130, 5670, 2805}, layout::kForm1Controls};
inline constexpr FormLayout kForm12Layout{FormId::Form12, U"声卡信息统计", {6675, 3225, 7005, 5760}, layout::kForm12Controls};
// clang-format on

} // namespace pardolin
