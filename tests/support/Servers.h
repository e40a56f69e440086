// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Resources.h"

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace pardolin::testing {

// What the scheduler may add to a wait the program bounds itself, on two busy cores (the
// test command runs the sanitizer build beside other work).
inline constexpr std::chrono::milliseconds kLoadMargin{400};

// A temporary directory, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    void Write(const std::string& relative, const std::string& contents) const;

  private:
    std::string m_path;
};

// A child process that is ended (and reaped) when this object goes.
class Process {
  public:
    Process(const std::vector<std::string>& argv,
            const std::vector<std::pair<std::string, std::string>>& environment = {},
            int inheritFd = -1);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    pid_t Pid() const { return m_pid; }
    void Signal(int signal) const;
    bool Running();

  private:
    pid_t m_pid = -1;
};

// Polls `ready` until it holds or `limit` has passed.
bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds limit);

// Runs a shell command with a time limit; its exit status, or -1.
int RunCommand(const std::string& command);

// A private X server on a free display, kept from resetting between clients so that xset
// and setxkbmap changes stay.
class XvfbServer {
  public:
    XvfbServer();
    const std::string& Display() const { return m_display; }

  private:
    std::string m_display;
    std::unique_ptr<Process> m_process;
};

// A private PulseAudio server on its own socket, set up by a script of server commands.
class PulseServer {
  public:
    // With `socketDir`, the server listens there instead of in a directory of its own, so
    // a later server can take over the address of one that was stopped.
    explicit PulseServer(const std::string& script, const std::string& socketDir = {});
    // The PULSE_SERVER address of this server.
    std::string Address() const { return "unix:" + m_socket; }
    Process& Daemon() { return *m_process; }

  private:
    TempDir m_dir;
    std::string m_socket;
    std::unique_ptr<Process> m_process;
};

// A free TCP port on the loopback interface, for a server about to be started.
int FreeTcpPort();

// A TCP proxy on the loopback interface that holds every chunk it passes on, in each
// direction, for `oneWay`: a server that far away, with a round trip of twice that.
class LatencyProxy {
  public:
    LatencyProxy(int upstreamPort, std::chrono::milliseconds oneWay);
    ~LatencyProxy();
    LatencyProxy(const LatencyProxy&) = delete;
    LatencyProxy& operator=(const LatencyProxy&) = delete;
    int Port() const { return m_port; }

  private:
    void Run();

    int m_upstreamPort;
    std::chrono::milliseconds m_oneWay;
    int m_listener = -1;
    int m_stop[2] = {-1, -1};
    int m_port = 0;
    std::thread m_thread;
};

// An X server that accepts connections and never says a word: DISPLAY points at it.
class HungXServer {
  public:
    HungXServer();
    ~HungXServer();
    HungXServer(const HungXServer&) = delete;
    HungXServer& operator=(const HungXServer&) = delete;
    const std::string& Display() const { return m_display; }

  private:
    int m_listener = -1;
    std::string m_display;
};

// A Wayland compositor (weston, drawing into a window of the given X server) on a socket
// of its own in a runtime folder of its own, set up by the [keyboard] lines given. Its
// keyboard has the X server's keymap.
class Compositor {
  public:
    Compositor(const std::string& xDisplay, const std::string& keyboardSettings);
    // WAYLAND_DISPLAY and XDG_RUNTIME_DIR of its clients.
    const std::string& Socket() const { return m_socket; }
    const std::string& RuntimeDir() const { return m_dir.Path(); }
    Process& Daemon() { return *m_process; }

  private:
    TempDir m_dir;
    std::string m_socket = "wayland-pardolin";
    std::unique_ptr<Process> m_process;
};

// A private session bus whose activated services get `environment`.
class PrivateBus {
  public:
    explicit PrivateBus(const std::vector<std::pair<std::string, std::string>>& environment = {});
    // DBUS_SESSION_BUS_ADDRESS of its clients.
    const std::string& Address() const { return m_address; }
    std::string SocketPath() const { return m_dir.Path() + "/bus"; }
    Process& Daemon() { return *m_process; }

  private:
    TempDir m_dir;
    std::string m_address;
    std::unique_ptr<Process> m_process;
};

// A bus in front of `upstream` that adds a header field of a kind the protocol does not
// define to every message it passes on (see field_adding_bus.py).
class FieldAddingBus {
  public:
    explicit FieldAddingBus(const PrivateBus& upstream);
    std::string Address() const { return "unix:path=" + m_dir.Path() + "/bus"; }

  private:
    TempDir m_dir;
    std::unique_ptr<Process> m_process;
};

// A settings portal on `bus` that misbehaves as `mode` says (see hostile_portal.py).
class HostilePortal {
  public:
    HostilePortal(const PrivateBus& bus, const std::string& mode);

  private:
    std::unique_ptr<Process> m_process;
};

// A local socket whose peer, a process of its own, misbehaves: it takes connections and
// never says a word, never takes them at all, or answers with junk.
class MisbehavingPeer {
  public:
    enum class Manner { Silent, NeverAccepts, Junk };
    MisbehavingPeer(std::string path, Manner manner);
    MisbehavingPeer(const MisbehavingPeer&) = delete;
    MisbehavingPeer& operator=(const MisbehavingPeer&) = delete;
    // Its socket goes with it, so that the next peer at the same path is the one asked.
    ~MisbehavingPeer();
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
    std::unique_ptr<Process> m_process;
};

// A compositor of the test's own whose keyboard's keymap is as `mode` says (see
// hostile_compositor.py): good, short or shrinking.
class HostileCompositor {
  public:
    HostileCompositor(std::string path, const std::string& mode);
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
    std::unique_ptr<Process> m_process;
};

// An XSETTINGS manager serving the given settings on `display`.
class XSettingsManager {
  public:
    XSettingsManager(const std::string& display, const std::string& settings);

  private:
    TempDir m_dir;
    std::unique_ptr<Process> m_process;
};

} // namespace pardolin::testing
