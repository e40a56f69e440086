// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

// What both Windows layers, the front end and the system queries, need of the loader.
namespace pardolin::windows {

// A library of the system's own, from the system folder only: never from beside the
// program or the current folder, where a stranger's copy may lie. nullptr when it cannot
// be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The same, by its full path in the system folder: the way for systems whose loader knows
// no LOAD_LIBRARY_SEARCH_SYSTEM32 (Windows 7 without KB2533623).
HMODULE LoadFromSystemFolder(const wchar_t* name);

} // namespace pardolin::windows
