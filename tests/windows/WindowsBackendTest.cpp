// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows system queries against the platform's real calls (run under Wine here), end
// to end through the report functions, and the program's version record and icon.
#include "Told.h"

#include "platform/SystemBackend.h"
#include "platform/backends/windows/Module1.h"
#include "platform/windows/SystemLibrary.h"
#include "reports/KeyboardReport.h"
#include "reports/PrintItem.h"
#include "reports/SoundReport.h"

#include <windows.h>
// mmsystem.h builds on the types windows.h declares.
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace pardolin {
namespace {

std::wstring VersionString(const std::vector<char>& block, const wchar_t* name) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0) {
        return {};
    }
    return static_cast<const wchar_t*>(value);
}

TEST(VersionRecord, NamesTheProductAndVersionInChinesePrcUnicode) {
    wchar_t self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(self, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(self, 0, size, block.data()));

    EXPECT_EQ(VersionString(block, L"ProductName"), L"Pardolin");
    // The project's version, as the build gives it.
    EXPECT_EQ(VersionString(block, L"FileVersion"), L"" PARDOLIN_VERSION);
    EXPECT_EQ(VersionString(block, L"ProductVersion"), L"" PARDOLIN_VERSION);

    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 0x04B0);
}

// Both ways of loading a system library: the search flags, and the full path for systems
// whose loader lacks them. Each gives the system folder's copy, and none of anything else.
TEST(SystemLibraries, AreLoadedFromTheSystemFolderOnly) {
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    for (const auto load : {windows::LoadSystemLibrary, windows::LoadFromSystemFolder}) {
        const HMODULE winmm = load(L"winmm.dll");
        ASSERT_NE(winmm, nullptr);
        wchar_t path[MAX_PATH];
        ASSERT_GT(GetModuleFileNameW(winmm, path, MAX_PATH), 0u);
        EXPECT_EQ(_wcsnicmp(path, system, length), 0);
        EXPECT_EQ(load(L"pardolin_no_such_library.dll"), nullptr);
    }
    // A library that lies beside the program, and not in the system folder, is not taken.
    wchar_t self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const std::wstring beside =
        std::wstring(self).substr(0, std::wstring(self).rfind(L'\\') + 1) + L"pardolin_beside.dll";
    ASSERT_TRUE(CopyFileW(self, beside.c_str(), FALSE));
    EXPECT_EQ(windows::LoadSystemLibrary(L"pardolin_beside.dll"), nullptr);
    EXPECT_EQ(windows::LoadFromSystemFolder(L"pardolin_beside.dll"), nullptr);
    const HMODULE plain = LoadLibraryW(L"pardolin_beside.dll");
    EXPECT_NE(plain, nullptr) << "the plain search finds it";
    FreeLibrary(plain);
    DeleteFileW(beside.c_str());
}

TEST(VersionRecord, CarriesTheSixteenColourIcon) {
    const HRSRC group = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));
    ASSERT_NE(group, nullptr);
    const HICON icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(icon, nullptr);
    DestroyIcon(icon);
}

TEST(Names, DecodedFromTheCodePageByCharacter) {
    // "声卡输出" in the simplified-Chinese double-byte code page.
    std::array<char, 32> bytes{};
    const char gbk[] = "\xC9\xF9\xBF\xA8\xCA\xE4\xB3\xF6";
    std::memcpy(bytes.data(), gbk, 8);
    const std::array<char32_t, 32> name = Module1::DecodeName(bytes, 936);
    EXPECT_EQ(std::u32string(name.data(), 4), U"声卡输出");
    EXPECT_EQ(name[4], U'\0');

    // 32 bytes with no NUL: every character is kept.
    bytes.fill('x');
    const std::array<char32_t, 32> full = Module1::DecodeName(bytes, 1252);
    EXPECT_EQ(full[31], U'x');
}

// Set through the platform, read back through the backend, at the ends of each scale.
TEST(Keyboard, SettingsReadBackAsTheSystemWasSet) {
    const auto queries = CreateSystemQueries({});
    EXPECT_FALSE(KeyboardTypeName(queries->GetKeyboardType(0)).empty());
    struct Settings {
        UINT delay;
        UINT speed;
        UINT caretMs;
    };
    for (const Settings set : {Settings{0, 31, 250}, Settings{3, 0, 1200}, Settings{2, 17, 530}}) {
        ASSERT_TRUE(::SystemParametersInfoW(SPI_SETKEYBOARDDELAY, set.delay, nullptr, 0));
        ASSERT_TRUE(::SystemParametersInfoW(SPI_SETKEYBOARDSPEED, set.speed, nullptr, 0));
        ASSERT_TRUE(::SetCaretBlinkTime(set.caretMs));
        std::int32_t delay = -1;
        std::int32_t rate = -1;
        ASSERT_TRUE(queries->SystemParametersInfoA(SystemParameter::KeyboardDelay, 0, delay, 0));
        ASSERT_TRUE(queries->SystemParametersInfoA(SystemParameter::KeyboardSpeed, 0, rate, 0));
        EXPECT_EQ(delay, static_cast<std::int32_t>(set.delay));
        EXPECT_EQ(rate, static_cast<std::int32_t>(set.speed));
        EXPECT_EQ(queries->GetCaretBlinkTime(), set.caretMs);
    }
}

TEST(WaveOut, WithoutASoundServerThereIsNoDevice) {
    if (!std::getenv("PARDOLIN_EXPECT_NO_DEVICE")) {
        GTEST_SKIP() << "a sound server may be reachable";
    }
    const auto queries = CreateSystemQueries({});
    EXPECT_EQ(queries->waveOutGetNumDevs(), 0u);
    WaveCapsRecord record;
    EXPECT_NE(queries->waveOutGetDevCapsA(0, record, kWaveCapsRecordSize), WaveResult::NoError);
}

TEST(WaveOut, DeviceZeroDecodesToTheReportOfWhatWasRead) {
    if (!std::getenv("PARDOLIN_EXPECT_DEVICE")) {
        GTEST_SKIP() << "no private sound server was set up";
    }
    const auto queries = CreateSystemQueries({});
    ASSERT_GE(queries->waveOutGetNumDevs(), 1u);
    WaveCapsRecord record;
    ASSERT_EQ(queries->waveOutGetDevCapsA(0, record, kWaveCapsRecordSize), WaveResult::NoError);

    std::vector<std::u32string> lines;
    for (const PrintItems& items : BuildSoundReport(record)) {
        lines.push_back(FormatLine(items));
    }
    const std::u32string field = ProductNameField(record.szPname);
    EXPECT_NE(field, std::u32string(32, U' ')) << "the device has a name";
    EXPECT_EQ(lines[0], U"产品名称：" + field);
    EXPECT_EQ(lines[4], U"输出声道：" + ChannelText(record.wChannels));
    EXPECT_GE(record.wChannels, 1);
    const auto formats = static_cast<std::size_t>(
        std::popcount(static_cast<std::uint32_t>(record.dwFormats) & 0x0FFFu));
    const auto functions = static_cast<std::size_t>(
        std::popcount(static_cast<std::uint32_t>(record.dwSupport) & 0x1Fu));
    EXPECT_GE(formats, 1u);
    ASSERT_EQ(lines.size(), 7 + formats + functions);
    EXPECT_EQ(lines[6 + formats], U"扩展输出功能列表：");
    // Only the bytes the record declares were written, so dwSupport's top half is zero.
    EXPECT_EQ(static_cast<std::uint32_t>(record.dwSupport) >> 16, 0u);

    std::cout << "device 0: " << ToUtf8(field) << "| channels " << record.wChannels
              << ", formats 0x" << std::hex << record.dwFormats << ", support 0x"
              << record.dwSupport << std::dec << ", version "
              << SplitDriverVersion(record.vDriverVersion).major << "."
              << SplitDriverVersion(record.vDriverVersion).minor << "\n";
}

TEST(WaveOut, AFailedQuestionIsToldWithItsReasonAndAnAnsweredOneIsNot) {
    const auto queries = CreateSystemQueries({{}, false, testing::Told::Channel()});
    // winmm's first load can take longer than a click waits, the first time in a prefix.
    for (int tries = 0; tries < 50 && !queries->waveOutGetNumDevs(); ++tries) {
        Sleep(100);
    }
    testing::Told::Clear();
    WaveCapsRecord record;
    EXPECT_EQ(queries->waveOutGetDevCapsA(99, record, kWaveCapsRecordSize),
              WaveResult::BadDeviceId);
    ASSERT_EQ(testing::Told::All(),
              "\n  pardolin.winmm: waveOutGetDevCapsA(99): no such device (MMSYSERR_BADDEVICEID)");
    // Questions that are answered tell nothing, on any channel; nor do 300 questions one
    // after the other, each on a thread started as the last one ends.
    for (int question = 0; question < 300; ++question) {
        ASSERT_TRUE(queries->waveOutGetNumDevs()) << "question " << question;
    }
    std::int32_t delay = 0;
    EXPECT_TRUE(queries->SystemParametersInfoA(SystemParameter::KeyboardDelay, 0, delay, 0));
    EXPECT_EQ(testing::Told::Count(), 1u) << testing::Told::All();
}

TEST(WaveOut, A50ByteQueryWritesFiftyBytesOnly) {
    if (!std::getenv("PARDOLIN_EXPECT_DEVICE")) {
        GTEST_SKIP() << "no private sound server was set up";
    }
    // The platform record is 52 bytes; asked for 50, the system must leave the last two.
    std::array<unsigned char, sizeof(WAVEOUTCAPSA)> buffer;
    static_assert(sizeof(WAVEOUTCAPSA) == 52);
    buffer.fill(0xAB);
    ASSERT_EQ(::waveOutGetDevCapsA(0, reinterpret_cast<WAVEOUTCAPSA*>(buffer.data()), 50),
              MMSYSERR_NOERROR);
    EXPECT_EQ(buffer[50], 0xAB);
    EXPECT_EQ(buffer[51], 0xAB);
    EXPECT_NE(buffer[0] | buffer[1] | buffer[8], 0xAB) << "the front was written";
}

} // namespace
} // namespace pardolin
