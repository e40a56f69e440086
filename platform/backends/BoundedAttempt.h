// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Diagnostics.h"
#include "platform/backends/DetachedThread.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <string_view>
#include <type_traits>

namespace pardolin {

// Work that may block inside a library that knows no deadline (xcb; libpulse, which reads
// the X server's settings when it sets up; winmm while its drivers load), or that should
// run beside other work, runs on a thread of its own and is waited for until a deadline.
// At most one attempt is ever under way: while an earlier one is still blocked, a new one
// fails at once instead of starting another thread and connection. A thread that cannot
// be had is a failed attempt, never an abort.
class BoundedAttempt {
    class Attempt;

  public:
    using Clock = std::chrono::steady_clock;

    // An attempt under way; Await takes its answer (the work returns a std::optional). An
    // attempt not awaited to its end counts as under way until its work is done.
    template <typename Answer> class Pending {
      public:
        Pending() = default;
        Pending(std::shared_ptr<Attempt> attempt, std::shared_ptr<Answer> answer,
                std::shared_ptr<Attempt>& overdue)
            : m_attempt(std::move(attempt)), m_answer(std::move(answer)), m_overdue(&overdue) {}
        Pending(Pending&& other) noexcept
            : m_attempt(std::move(other.m_attempt)), m_answer(std::move(other.m_answer)),
              m_overdue(other.m_overdue), m_answered(other.m_answered) {}
        Pending(const Pending&) = delete;
        Pending& operator=(const Pending&) = delete;
        Pending& operator=(Pending&&) = delete;
        ~Pending() {
            if (m_attempt && !m_attempt->Finished()) {
                *m_overdue = std::move(m_attempt);
            }
        }

        // Whether the work started: it does not while an earlier attempt is under way.
        bool Started() const { return m_attempt || m_answered; }
        // Whether Await had the work's answer, rather than giving up at its deadline.
        bool Answered() const { return m_answered; }

        // The answer, or nullopt when the work had none by `deadline` or never started.
        Answer Await(Clock::time_point deadline) {
            if (!m_attempt || !m_attempt->WaitUntil(deadline)) {
                return std::nullopt;
            }
            m_attempt.reset();
            m_answered = true;
            return std::move(*m_answer);
        }

      private:
        std::shared_ptr<Attempt> m_attempt;
        std::shared_ptr<Answer> m_answer;
        std::shared_ptr<Attempt>* m_overdue = nullptr;
        bool m_answered = false;
    };

    // Whether an earlier attempt is still under way.
    bool Busy() const { return m_overdue && !m_overdue->Finished(); }
    // Why Start gave no pending answer, as the diagnostics channel tells it.
    const char* WhyNotStarted() const {
        return Busy() ? "still no answer to an earlier question" : "no thread could be had";
    }

    // Starts `work` unless an earlier attempt is still under way.
    template <typename Work> Pending<std::invoke_result_t<Work&>> Start(Work work) {
        using Answer = std::invoke_result_t<Work&>;
        if (Busy()) {
            return {};
        }
        m_overdue.reset();
        try {
            auto attempt = std::make_shared<Attempt>();
            auto answer = std::make_shared<Answer>();
            if (!StartDetached([attempt, answer, work = std::move(work)]() mutable {
                    Answer result = work();
                    attempt->Finish([&] { *answer = std::move(result); });
                })) {
                return {};
            }
            return {std::move(attempt), std::move(answer), m_overdue};
        } catch (const std::bad_alloc&) {
            return {};
        }
    }

    // The work's answer, or nullopt when it had none by `deadline` or could not start.
    template <typename Work>
    std::invoke_result_t<Work&> Run(Work work, Clock::time_point deadline) {
        return Start(std::move(work)).Await(deadline);
    }

    // The same, telling on `peer`'s channel, for `step`, when the work had no answer by the
    // deadline or could not start (a failed answer of the work's says why itself).
    template <typename Work>
    std::invoke_result_t<Work&> Run(Work work, Clock::time_point deadline,
                                    const Diagnostics& diagnostics, Peer peer,
                                    std::string_view step) {
        const Clock::time_point start = Clock::now();
        auto pending = Start(std::move(work));
        if (!pending.Started()) {
            diagnostics.Failed(peer, step, WhyNotStarted());
            return std::nullopt;
        }
        auto answer = pending.Await(deadline);
        if (!pending.Answered()) {
            diagnostics.Failed(peer, step, NoAnswerAfter(Clock::now() - start));
        }
        return answer;
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
        bool WaitUntil(Clock::time_point deadline) {
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
