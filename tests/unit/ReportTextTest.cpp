// SPDX-License-Identifier: GPL-3.0-or-later
// Printed lines, the capability decoding and the sound card report.
#include "reports/KeyboardReport.h"
#include "reports/PrintItem.h"
#include "reports/SoundReport.h"
#include "reports/WaveDecoding.h"

#include <gtest/gtest.h>

#include <climits>

namespace pardolin {
namespace {

std::array<char32_t, 32> Name(const Text& text) {
    std::array<char32_t, 32> field{};
    std::copy_n(text.begin(), std::min(text.size(), field.size()), field.begin());
    return field;
}

std::vector<Text> Printed(const WaveCapsRecord& record) {
    std::vector<Text> lines;
    for (const PrintItems& items : BuildSoundReport(record)) {
        lines.push_back(FormatLine(items));
    }
    return lines;
}

struct FormatCase {
    const char* what;
    PrintItems items;
    Text expected;
};

class FormatLineTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatLineTest, JoinsItemsWithSignPositionAndTrailingSpace) {
    EXPECT_EQ(FormatLine(GetParam().items), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FormatLineTest,
    ::testing::Values(
        FormatCase{"text alone gets no space", {Text(U"产品名称：")}, U"产品名称："},
        FormatCase{"zero", {std::int32_t{0}}, U" 0 "},
        FormatCase{"negative", {std::int32_t{-5}}, U"-5 "},
        FormatCase{"16-bit minimum", {std::int16_t{SHRT_MIN}}, U"-32768 "},
        FormatCase{"32-bit minimum", {std::int32_t{INT_MIN}}, U"-2147483648 "},
        FormatCase{"driver version example",
                   {Text(U"驱动程序版本："), std::int32_t{5}, Text(U"."), std::int32_t{10}},
                   U"驱动程序版本： 5 . 10 "},
        FormatCase{"trailing spaces of a text field are kept", {Text(U"a  ")}, U"a  "},
        FormatCase{"no items", {}, U""}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// Every row of the three lookup tables, word for word, and values outside them.
struct TableRow {
    Text (*lookup)(std::int32_t);
    std::int32_t value;
    std::u32string_view text;
};

class LookupTablesTest : public ::testing::TestWithParam<TableRow> {};

TEST_P(LookupTablesTest, GiveTheTextOfTheirRowAndNothingElse) {
    EXPECT_EQ(GetParam().lookup(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LookupTablesTest,
    ::testing::Values(TableRow{Listwaveformat, 1, U"11.025Khz,Mono,8bit,11Kb/Ps"},
                      TableRow{Listwaveformat, 2, U"11.025Khz,Stereo,8bit,22Kb/Ps"},
                      TableRow{Listwaveformat, 4, U"11.025Khz,Mono,16bit,22Kb/Ps"},
                      TableRow{Listwaveformat, 8, U"11.025Khz,Stereo,16bit,43Kb/Ps"},
                      TableRow{Listwaveformat, 16, U"22.05Khz,Mono,8bit,22Kb/Ps"},
                      TableRow{Listwaveformat, 32, U"22.05Khz,Stereo,8bit,43Kb/Ps"},
                      TableRow{Listwaveformat, 64, U"22.05Khz,Mono,16bit,43Kb/Ps"},
                      TableRow{Listwaveformat, 128, U"22.05Khz,Stereo,16bit,86Kb/Ps"},
                      TableRow{Listwaveformat, 256, U"44.1Khz,Mono,8bit,43Kb/Ps"},
                      TableRow{Listwaveformat, 512, U"44.1Khz,Stereo,8bit,86Kb/Ps"},
                      TableRow{Listwaveformat, 1024, U"44.1Khz,Mono,16bit,86Kb/Ps"},
                      TableRow{Listwaveformat, 2048, U"44.1Khz,Stereo,16bit,172Kb/Ps"},
                      TableRow{Listwaveformat, 0, U""}, TableRow{Listwaveformat, 3, U""},
                      TableRow{Listwaveformat, 4096, U""}, TableRow{Listwaveformat, -1, U""},
                      TableRow{Listwaveformat, INT_MIN, U""},
                      TableRow{Listwavesupport, 1, U"Support Pitch"},
                      TableRow{Listwavesupport, 2, U"Support Playback"},
                      TableRow{Listwavesupport, 4, U"Support Volume Control"},
                      TableRow{Listwavesupport, 8, U"Support Left-Right Channals"},
                      TableRow{Listwavesupport, 16, U"Support Synchronization"},
                      TableRow{Listwavesupport, 0, U""}, TableRow{Listwavesupport, 3, U""},
                      TableRow{Listwavesupport, 32, U""}, TableRow{Listwavesupport, -1, U""},
                      TableRow{KeyboardTypeName, 1, U"PC or compatible 83-key keyboard"},
                      TableRow{KeyboardTypeName, 2, U"Olivetti 102-key keyboard"},
                      TableRow{KeyboardTypeName, 3, U"AT or compatible 84-key keyboard"},
                      TableRow{KeyboardTypeName, 4, U"Enhanced(IBM) 101-102-key keyboard"},
                      TableRow{KeyboardTypeName, 5, U"Nokia 1050 keyboard"},
                      TableRow{KeyboardTypeName, 6, U"Nokia 9140 keyboard"},
                      TableRow{KeyboardTypeName, 7, U"Japanese keyboard"},
                      TableRow{KeyboardTypeName, 0, U""}, TableRow{KeyboardTypeName, 8, U""},
                      TableRow{KeyboardTypeName, 81, U""}, TableRow{KeyboardTypeName, -1, U""}),
    [](const auto& info) { return "Row" + std::to_string(info.index); });

TEST(SoundReport, PrintsTheWorkedExampleLineByLine) {
    WaveCapsRecord record;
    record.wMid = 1;
    record.wPid = 2;
    record.vDriverVersion = 1280;
    record.szPname = Name(U"Wave Out 1");
    record.wChannels = 2;
    record.dwFormats = 3;
    record.dwSupport = 12;
    const std::vector<Text> expected{
        U"产品名称：Wave Out 1" + Text(22, U' '),
        U"产品 Id： 2 ",
        U"驱动程序 Id： 1 ",
        U"驱动程序版本： 5 . 0 ",
        U"输出声道： 2",
        U"支持格式列表：",
        U"11.025Khz,Mono,8bit,11Kb/Ps",
        U"11.025Khz,Stereo,8bit,22Kb/Ps",
        U"扩展输出功能列表：",
        U"Support Volume Control",
        U"Support Left-Right Channals",
    };
    EXPECT_EQ(Printed(record), expected);
}

TEST(SoundReport, EmptyAndFullBitSetsAndBitsOutsideTheTables) {
    WaveCapsRecord record;
    std::vector<Text> lines = Printed(record);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[5], U"支持格式列表：");
    EXPECT_EQ(lines[6], U"扩展输出功能列表：");
    EXPECT_EQ(lines[0], U"产品名称：" + Text(32, U' '));
    EXPECT_EQ(lines[4], U"输出声道： 0");

    record.dwFormats = -1; // bits 12..31 set too
    record.dwSupport = -1;
    lines = Printed(record);
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[6], U"11.025Khz,Mono,8bit,11Kb/Ps");
    EXPECT_EQ(lines[17], U"44.1Khz,Stereo,16bit,172Kb/Ps");
    EXPECT_EQ(lines[18], U"扩展输出功能列表：");
    EXPECT_EQ(lines[23], U"Support Synchronization");
}

TEST(SoundReport, IdentifiersAndVersionPrintAsSignedNumbers) {
    WaveCapsRecord record;
    record.wPid = static_cast<std::int16_t>(0xFFFF);
    record.vDriverVersion = -1;
    const std::vector<Text> lines = Printed(record);
    EXPECT_EQ(lines[1], U"产品 Id：-1 ");
    EXPECT_EQ(lines[3], U"驱动程序版本： 0 .-1 ");

    EXPECT_EQ(SplitDriverVersion(1280).major, 5);
    EXPECT_EQ(SplitDriverVersion(-257).major, -1);
    EXPECT_EQ(SplitDriverVersion(-257).minor, -1);
    EXPECT_EQ(SplitDriverVersion(0x0A0B).minor, 0x0B);
}

TEST(SoundReport, NameFieldIsCutAtTheFirstNulAndPadded) {
    const Text full31(31, U'名');
    EXPECT_EQ(ProductNameField(Name(full31)), full31 + U" ");
    EXPECT_EQ(ProductNameField(Name(Text(U"ab\0cd", 5))), U"ab" + Text(30, U' '));
    // Without any NUL the whole field is the name; nothing is read beyond it.
    const Text full32(32, U'x');
    EXPECT_EQ(ProductNameField(Name(full32)), full32);
    // Characters outside the Basic Multilingual Plane count as one each.
    EXPECT_EQ(ProductNameField(Name(U"🔊 Out")).size(), 32u);
}

TEST(SoundReport, ChannelTextIsPaddedButNeverCut) {
    EXPECT_EQ(ChannelText(1), U" 1");
    EXPECT_EQ(ChannelText(2), U" 2");
    EXPECT_EQ(ChannelText(10), U" 10");
    EXPECT_EQ(ChannelText(0), U" 0");
    EXPECT_EQ(ChannelText(-3), U"-3");
    EXPECT_EQ(ChannelText(SHRT_MIN), U"-32768");
}

} // namespace
} // namespace pardolin
