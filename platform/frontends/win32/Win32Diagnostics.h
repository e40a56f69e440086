// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Diagnostics.h"

namespace pardolin::win32 {

// The diagnostics channel on Windows: each failed question as one line to OutputDebugString
// ("pardolin.winmm: waveOutGetDevCapsA(99): no such device (MMSYSERR_BADDEVICEID)"), which a
// debugger or DebugView shows; off unless the environment variable PARDOLIN_DIAGNOSTICS is
// set to anything. Nothing is written to a file.
Diagnostics Win32Diagnostics();

} // namespace pardolin::win32
