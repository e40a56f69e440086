// SPDX-License-Identifier: GPL-3.0-or-later
// Printed lines, the capability decoding and the sound card report: the report's texts
// come from one table (data/sound_reports.txt); the rules' edges are rows of the tables here.
#include "reports/KeyboardReport.h"
#include "reports/PrintItem.h"
#include "reports/SoundReport.h"
#include "reports/WaveDecoding.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <map>
#include <sstream>

namespace pardolin {
namespace {

std::string Named(const std::string& what) {
    std::string name;
    for (const char c : what) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

struct ReportCase {
    std::string what;
    WaveCapsRecord record;
    std::vector<Text> lines;
};

void PrintTo(const ReportCase& c, std::ostream* out) {
    *out << c.what;
}

// The cases of data/sound_reports.txt.
std::vector<ReportCase> ReportCases() {
    std::ifstream file(PARDOLIN_TEST_DATA "/sound_reports.txt");
    std::vector<ReportCase> cases;
    bool inLines = false;
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with("== ")) {
            cases.push_back({line.substr(3), {}, {}});
            inLines = false;
        } else if (cases.empty() || line.empty() || line.starts_with('#')) {
            continue;
        } else if (line == "--") {
            inLines = true;
        } else if (inLines) {
            cases.back().lines.push_back(FromUtf8(line.substr(0, line.rfind('|'))));
        } else {
            WaveCapsRecord& record = cases.back().record;
            const std::string field = line.substr(0, line.find(' '));
            const std::string value = line.substr(field.size() + 1);
            if (field == "szPname") {
                std::string bytes = value;
                for (std::size_t at; (at = bytes.find("\\0")) != std::string::npos;) {
                    bytes.replace(at, 2, 1, '\0');
                }
                const Text name = FromUtf8(bytes);
                std::copy_n(name.begin(), std::min(name.size(), record.szPname.size()),
                            record.szPname.begin());
                continue;
            }
            const std::map<std::string, std::function<void(long long)>> setters{
                {"wMid", [&](long long v) { record.wMid = static_cast<std::int16_t>(v); }},
                {"wPid", [&](long long v) { record.wPid = static_cast<std::int16_t>(v); }},
                {"vDriverVersion",
                 [&](long long v) { record.vDriverVersion = static_cast<std::int32_t>(v); }},
                {"wChannels",
                 [&](long long v) { record.wChannels = static_cast<std::int16_t>(v); }},
                {"dwFormats",
                 [&](long long v) { record.dwFormats = static_cast<std::int32_t>(v); }},
                {"dwSupport",
                 [&](long long v) { record.dwSupport = static_cast<std::int32_t>(v); }},
            };
            setters.at(field)(std::stoll(value));
        }
    }
    return cases;
}

class SoundReport : public ::testing::TestWithParam<ReportCase> {};

TEST_P(SoundReport, PrintsTheRecordLineByLine) {
    std::vector<Text> printed;
    for (const PrintItems& items : BuildSoundReport(GetParam().record)) {
        printed.push_back(FormatLine(items));
    }
    EXPECT_EQ(printed, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Table, SoundReport, ::testing::ValuesIn(ReportCases()),
                         [](const auto& info) { return Named(info.param.what); });

TEST(SoundReportTable, IsRead) {
    EXPECT_GE(ReportCases().size(), 10u) << "data/sound_reports.txt was not read whole";
}

struct FormatCase {
    const char* what;
    PrintItems items;
    Text expected;
};

void PrintTo(const FormatCase& c, std::ostream* out) {
    *out << c.what;
}

class FormatLineTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatLineTest, JoinsItemsWithSignPositionAndTrailingSpace) {
    EXPECT_EQ(FormatLine(GetParam().items), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FormatLineTest,
    ::testing::Values(
        FormatCase{"text alone gets no space", {Text(U"产品名称：")}, U"产品名称："},
        FormatCase{"zero", {std::int32_t{0}}, U" 0 "}, FormatCase{"one", {std::int16_t{1}}, U" 1 "},
        FormatCase{"minus one", {std::int32_t{-1}}, U"-1 "},
        FormatCase{"16-bit minimum", {std::int16_t{SHRT_MIN}}, U"-32768 "},
        FormatCase{"32-bit minimum", {std::int32_t{INT_MIN}}, U"-2147483648 "},
        FormatCase{"32-bit maximum", {std::int32_t{INT_MAX}}, U" 2147483647 "},
        FormatCase{"numbers between texts",
                   {Text(U"驱动程序版本："), std::int32_t{5}, Text(U"."), std::int32_t{10}},
                   U"驱动程序版本： 5 . 10 "},
        FormatCase{"trailing spaces of a text field are kept", {Text(U"a  ")}, U"a  "},
        FormatCase{"no items", {}, U""}),
    [](const auto& info) { return Named(info.param.what); });

// Each lookup at the edges of its table: its first and last rows (the report table has every
// row's text) and the values just outside.
struct LookupCase {
    const char* what;
    Text (*lookup)(std::int32_t);
    std::int32_t value;
    std::u32string_view text;
};

void PrintTo(const LookupCase& c, std::ostream* out) {
    *out << c.what;
}

class LookupTables : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupTables, GiveTheTextOfTheirRowAndNothingElse) {
    EXPECT_EQ(GetParam().lookup(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, LookupTables,
    ::testing::Values(
        LookupCase{"format 1", Listwaveformat, 1, U"11.025Khz,Mono,8bit,11Kb/Ps"},
        LookupCase{"format 2048", Listwaveformat, 2048, U"44.1Khz,Stereo,16bit,172Kb/Ps"},
        LookupCase{"format 0", Listwaveformat, 0, U""},
        LookupCase{"two formats", Listwaveformat, 3, U""},
        LookupCase{"format 4096", Listwaveformat, 4096, U""},
        LookupCase{"format -1", Listwaveformat, -1, U""},
        LookupCase{"format INT_MIN", Listwaveformat, INT_MIN, U""},
        LookupCase{"function 1", Listwavesupport, 1, U"Support Pitch"},
        LookupCase{"function 16", Listwavesupport, 16, U"Support Synchronization"},
        LookupCase{"function 0", Listwavesupport, 0, U""},
        LookupCase{"two functions", Listwavesupport, 3, U""},
        LookupCase{"function 32", Listwavesupport, 32, U""},
        LookupCase{"keyboard 1", KeyboardTypeName, 1, U"PC or compatible 83-key keyboard"},
        LookupCase{"keyboard 4", KeyboardTypeName, 4, U"Enhanced(IBM) 101-102-key keyboard"},
        LookupCase{"keyboard 7", KeyboardTypeName, 7, U"Japanese keyboard"},
        LookupCase{"keyboard 0", KeyboardTypeName, 0, U""},
        LookupCase{"keyboard 8", KeyboardTypeName, 8, U""},
        LookupCase{"keyboard -1", KeyboardTypeName, -1, U""}),
    [](const auto& info) { return Named(info.param.what); });

TEST(SoundReport, ChannelTextIsPaddedButNeverCut) {
    struct Case {
        std::int16_t channels;
        std::u32string_view text;
    };
    for (const Case& c : {Case{0, U" 0"}, Case{1, U" 1"}, Case{9, U" 9"}, Case{10, U" 10"},
                          Case{-1, U"-1"}, Case{-10, U"-10"}, Case{SHRT_MIN, U"-32768"}}) {
        EXPECT_EQ(ChannelText(c.channels), c.text) << c.channels;
    }
}

} // namespace
} // namespace pardolin
