// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>

namespace pardolin::linux_backend {

// Work that may block inside a library that knows no deadline (xcb; libpulse, which reads
// the X server's settings when it sets up) runs on a thread of its own and is waited for
// until a deadline. At most one attempt is ever under way: while an earlier one is still
// blocked, a new one fails at once instead of starting another thread and connection. A
// thread that cannot be had is a failed attempt, never an abort.
template <typename Result> class BoundedAttempt {
  public:
    // The work's answer, or nullopt when it had none by `deadline` or could not start.
    template <typename Work>
    std::optional<Result> Run(Work work, std::chrono::steady_clock::time_point deadline) {
        if (m_overdue) {
            const std::lock_guard lock(m_overdue->mutex);
            if (!m_overdue->finished) {
                return std::nullopt;
            }
        }
        m_overdue.reset();
        try {
            auto attempt = std::make_shared<Attempt>();
            std::thread([attempt, work = std::move(work)]() mutable {
                std::optional<Result> result = work();
                const std::lock_guard lock(attempt->mutex);
                attempt->result = std::move(result);
                attempt->finished = true;
                attempt->done.notify_all();
            }).detach();
            std::unique_lock lock(attempt->mutex);
            if (!attempt->done.wait_until(lock, deadline, [&] { return attempt->finished; })) {
                m_overdue = std::move(attempt);
                return std::nullopt;
            }
            return std::move(attempt->result);
        } catch (const std::system_error&) {
            return std::nullopt;
        } catch (const std::bad_alloc&) {
            return std::nullopt;
        }
    }

  private:
    struct Attempt {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::optional<Result> result;
    };
    // An attempt that outlived its deadline and may still be blocked.
    std::shared_ptr<Attempt> m_overdue;
};

} // namespace pardolin::linux_backend
