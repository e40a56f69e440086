// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct wl_callback;
struct wl_display;

namespace pardolin::linux_backend {

// One connection to a compositor, on which every wait is bounded by a deadline: libwayland
// itself waits for as long as the compositor takes.
class WaylandConnection {
  public:
    using Clock = std::chrono::steady_clock;
    enum class Progress { Answered, Waiting, Broken };

    // Takes over the connected descriptor; nullptr when libwayland cannot use it (it is
    // closed then).
    static std::unique_ptr<WaylandConnection> FromDescriptor(int fd);
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* Display() const { return m_display; }
    // Asks for a sync and dispatches the compositor's events until it comes, so that
    // everything asked before it has been answered; or until `deadline`.
    Progress Step(Clock::time_point deadline);
    // Goes on waiting for the sync of a step that was still Waiting.
    Progress Finish(Clock::time_point deadline);
    // Why the connection broke, once it has.
    std::string Why() const;

  private:
    explicit WaylandConnection(wl_display* display) : m_display(display) {}
    static void OnStepDone(void* data, wl_callback* callback, std::uint32_t);

    wl_display* m_display;
    wl_callback* m_pending = nullptr; // the sync that marks the end of the current step
};

// The interfaces the compositor offers (its globals, by name), asked on `connection`;
// nullopt when it has not said them all by `deadline`.
std::optional<std::vector<std::string>>
CompositorGlobals(WaylandConnection& connection, std::chrono::steady_clock::time_point deadline);

} // namespace pardolin::linux_backend
