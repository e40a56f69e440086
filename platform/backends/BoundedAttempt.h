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
#include <type_traits>

namespace pardolin {

// Work that may block inside a library that knows no deadline (xcb; libpulse, which reads
// the X server's settings when it sets up; winmm while its drivers load) runs on a thread
// of its own and is waited for until a deadline. At most one attempt is ever under way:
// while an earlier one is still blocked, a new one fails at once instead of starting
// another thread and connection. A thread that cannot be had is a failed attempt, never an
// abort.
class BoundedAttempt {
  public:
    // The work's answer (the work returns a std::optional), or nullopt when it had none by
    // `deadline` or could not start.
    template <typename Work>
    std::invoke_result_t<Work&> Run(Work work, std::chrono::steady_clock::time_point deadline) {
        using Answer = std::invoke_result_t<Work&>;
        if (m_overdue && !m_overdue->Finished()) {
            return std::nullopt;
        }
        m_overdue.reset();
        try {
            auto attempt = std::make_shared<Attempt>();
            auto answer = std::make_shared<Answer>();
            std::thread([attempt, answer, work = std::move(work)]() mutable {
                Answer result = work();
                attempt->Finish([&] { *answer = std::move(result); });
            }).detach();
            if (!attempt->WaitUntil(deadline)) {
                m_overdue = std::move(attempt);
                return std::nullopt;
            }
            return std::move(*answer);
        } catch (const std::system_error&) {
            return std::nullopt;
        } catch (const std::bad_alloc&) {
            return std::nullopt;
        }
    }

  private:
    class Attempt {
      public:
        // Stores the answer and says so, in one step for whoever waits.
        template <typename Store> void Finish(Store store) {
            const std::lock_guard lock(m_mutex);
            store();
            m_finished = true;
            m_done.notify_all();
        }
        bool WaitUntil(std::chrono::steady_clock::time_point deadline) {
            std::unique_lock lock(m_mutex);
            return m_done.wait_until(lock, deadline, [this] { return m_finished; });
        }
        bool Finished() {
            const std::lock_guard lock(m_mutex);
            return m_finished;
        }

      private:
        std::mutex m_mutex;
        std::condition_variable m_done;
        bool m_finished = false;
    };
    // An attempt that outlived its deadline and may still be blocked.
    std::shared_ptr<Attempt> m_overdue;
};

} // namespace pardolin
