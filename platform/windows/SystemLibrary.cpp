// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows/SystemLibrary.h"

#include <string>

namespace pardolin::windows {

HMODULE LoadSystemLibrary(const wchar_t* name) {
    // LoadLibraryExW takes the search flags where AddDllDirectory exists, which is how
    // Microsoft says to tell; elsewhere it fails with ERROR_INVALID_PARAMETER.
    static const bool searchFlagsKnown =
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
    if (searchFlagsKnown) {
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    return LoadFromSystemFolder(name);
}

HMODULE LoadFromSystemFolder(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    const std::wstring path = std::wstring(folder, length) + L'\\' + name;
    // The library's own dependencies are then looked for in its folder first.
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace pardolin::windows
