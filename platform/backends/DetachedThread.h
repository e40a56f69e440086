// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace pardolin {

#ifdef _WIN32
namespace detail {
template <typename Work> DWORD WINAPI RunOwnedWork(void* work) {
    const std::unique_ptr<Work> owned(static_cast<Work*>(work));
    (*owned)();
    return 0;
}
} // namespace detail
#endif

// Runs `work` on a thread of its own that ends by itself; false when no thread can be had.
// On Windows the thread comes from CreateThread itself: under Wine a thread started through
// the C++ runtime's threads (winpthreads, as std::thread starts them) now and then did not
// run for five seconds and more, in some runs one start in seven, while CreateThread's
// threads started at once in every run.
template <typename Work> bool StartDetached(Work work) {
    try {
#ifdef _WIN32
        auto owned = std::make_unique<Work>(std::move(work));
        const HANDLE thread =
            CreateThread(nullptr, 0, detail::RunOwnedWork<Work>, owned.get(), 0, nullptr);
        if (!thread) {
            return false;
        }
        owned.release();
        CloseHandle(thread);
#else
        std::thread(std::move(work)).detach();
#endif
        return true;
    } catch (const std::system_error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace pardolin
