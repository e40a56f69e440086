// SPDX-License-Identifier: GPL-3.0-or-later
#include "Servers.h"

#include <wayland-client.h>
#include <xcb/xcb.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <thread>

namespace pardolin::testing {

using namespace std::chrono_literals;

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pardolin-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void TempDir::Write(const std::string& relative, const std::string& contents) const {
    const std::filesystem::path path = std::filesystem::path(m_path) / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << contents;
}

Process::Process(const std::vector<std::string>& argv,
                 const std::vector<std::pair<std::string, std::string>>& environment,
                 int inheritFd) {
    m_pid = fork();
    if (m_pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (m_pid == 0) {
        for (const auto& [name, value] : environment) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        if (inheritFd >= 0) {
            fcntl(inheritFd, F_SETFD, 0);
        }
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
}

Process::~Process() {
    if (m_pid <= 0) {
        return;
    }
    kill(m_pid, SIGCONT);
    kill(m_pid, SIGTERM);
    if (!WaitFor([this] { return !Running(); }, 3s)) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

void Process::Signal(int signal) const {
    kill(m_pid, signal);
}

bool Process::Running() {
    if (m_pid <= 0) {
        return false;
    }
    if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
        m_pid = -1;
        return false;
    }
    return true;
}

bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

int RunCommand(const std::string& command) {
    const int status = std::system(("timeout 10 " + command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

XvfbServer::XvfbServer() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    m_process = std::make_unique<Process>(
        std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-noreset",
                                 "-nolisten", "tcp", "-screen", "0", "1280x1024x24"},
        std::vector<std::pair<std::string, std::string>>{}, fds[1]);
    close(fds[1]);
    // Xvfb writes its display number to the descriptor once it accepts clients.
    pollfd readable{fds[0], POLLIN, 0};
    std::string number;
    char buffer[16];
    while (poll(&readable, 1, 10000) > 0) {
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        number.append(buffer, static_cast<std::size_t>(got));
        if (number.find('\n') != std::string::npos) {
            break;
        }
    }
    close(fds[0]);
    if (number.empty() || number.front() < '0' || number.front() > '9') {
        throw std::runtime_error("Xvfb did not start");
    }
    m_display = ":" + number.substr(0, number.find('\n'));
}

PulseServer::PulseServer(const std::string& script, const std::string& socketDir)
    : m_socket((socketDir.empty() ? m_dir.Path() : socketDir) + "/native") {
    const std::string& socket = m_socket;
    std::filesystem::remove(socket);
    m_dir.Write("server.pa", "load-module module-native-protocol-unix auth-anonymous=1 socket=" +
                                 socket + "\n" + script);
    // Each sink takes a few descriptors; the server's own limit of 256 allows about 60.
    m_dir.Write(".config/pulse/daemon.conf", "rlimit-nofile = 4096\n");
    m_process = std::make_unique<Process>(
        std::vector<std::string>{"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                 "--use-pid-file=no", "--disable-shm=yes", "-F",
                                 m_dir.Path() + "/server.pa"},
        std::vector<std::pair<std::string, std::string>>{
            {"HOME", m_dir.Path()}, {"XDG_RUNTIME_DIR", m_dir.Path()}, {"DISPLAY", ""}});
    if (!WaitFor([&] { return RunCommand("env PULSE_SERVER=unix:" + socket + " pactl info") == 0; },
                 10s)) {
        throw std::runtime_error("pulseaudio did not start");
    }
}

namespace {

using Clock = std::chrono::steady_clock;

int ListenOnLoopback(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 64) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        return -1;
    }
    return fd;
}

int PortOf(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

// Whether some client owns the selection: how a settings manager announces itself.
bool SelectionOwned(const std::string& display, const std::string& selection) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    bool owned = false;
    if (!xcb_connection_has_error(connection)) {
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(selection.size()),
                            selection.c_str()),
            nullptr);
        if (atom) {
            xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
                connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
            owned = owner && owner->owner != XCB_WINDOW_NONE;
            std::free(owner);
            std::free(atom);
        }
    }
    xcb_disconnect(connection);
    return owned;
}

} // namespace

int FreeTcpPort() {
    const int fd = ListenOnLoopback(0);
    const int port = PortOf(fd);
    close(fd);
    return port;
}

LatencyProxy::LatencyProxy(int upstreamPort, std::chrono::milliseconds oneWay)
    : m_upstreamPort(upstreamPort), m_oneWay(oneWay), m_listener(ListenOnLoopback(0)) {
    if (m_listener < 0 || pipe2(m_stop, O_CLOEXEC) != 0) {
        throw std::runtime_error("the proxy cannot listen");
    }
    m_port = PortOf(m_listener);
    m_thread = std::thread([this] { Run(); });
}

LatencyProxy::~LatencyProxy() {
    close(m_stop[1]);
    m_thread.join();
    close(m_stop[0]);
    close(m_listener);
}

void LatencyProxy::Run() {
    // Bytes read from one end wait in the queue of the other end until they are due.
    struct Chunk {
        Clock::time_point due;
        std::string bytes;
    };
    std::map<int, int> peer;
    std::map<int, std::deque<Chunk>> outgoing;
    const auto drop = [&](int fd) {
        const int other = peer[fd];
        for (const int end : {fd, other}) {
            close(end);
            peer.erase(end);
            outgoing.erase(end);
        }
    };
    while (true) {
        std::vector<pollfd> fds{{m_stop[0], POLLIN, 0}, {m_listener, POLLIN, 0}};
        for (const auto& [fd, other] : peer) {
            fds.push_back({fd, POLLIN, 0});
        }
        int timeout = -1;
        for (const auto& [fd, queue] : outgoing) {
            if (!queue.empty()) {
                const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
                    queue.front().due - Clock::now());
                const int ms = static_cast<int>(std::max<long>(0, wait.count()));
                timeout = timeout < 0 ? ms : std::min(timeout, ms);
            }
        }
        poll(fds.data(), fds.size(), timeout);
        if (fds[0].revents != 0) {
            break;
        }
        if (fds[1].revents & POLLIN) {
            const int client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            address.sin_port = htons(static_cast<std::uint16_t>(m_upstreamPort));
            // Every chunk goes out when it is due, not when the kernel sees fit to send it.
            const int yes = 1;
            setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
            setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
            if (client >= 0 && server >= 0 &&
                connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
                peer[client] = server;
                peer[server] = client;
            } else {
                close(client);
                close(server);
            }
        }
        std::vector<int> closed;
        for (std::size_t i = 2; i < fds.size(); ++i) {
            if (fds[i].revents == 0) {
                continue;
            }
            char buffer[65536];
            const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got <= 0) {
                closed.push_back(fds[i].fd);
                continue;
            }
            outgoing[peer[fds[i].fd]].push_back(
                {Clock::now() + m_oneWay, std::string(buffer, static_cast<std::size_t>(got))});
        }
        for (auto& [fd, queue] : outgoing) {
            while (!queue.empty() && queue.front().due <= Clock::now()) {
                const std::string& bytes = queue.front().bytes;
                for (std::size_t sent = 0; sent < bytes.size();) {
                    const ssize_t wrote = write(fd, bytes.data() + sent, bytes.size() - sent);
                    if (wrote <= 0) {
                        break;
                    }
                    sent += static_cast<std::size_t>(wrote);
                }
                queue.pop_front();
            }
        }
        for (const int fd : closed) {
            if (peer.count(fd)) {
                drop(fd);
            }
        }
    }
    for (const auto& [fd, other] : peer) {
        close(fd);
    }
}

HungXServer::HungXServer() {
    // X display n listens on TCP port 6000 + n; take the first display number free there.
    for (int display = 50; display < 100 && m_listener < 0; ++display) {
        m_listener = ListenOnLoopback(6000 + display);
        m_display = "127.0.0.1:" + std::to_string(display);
    }
    if (m_listener < 0) {
        throw std::runtime_error("no display number is free");
    }
}

HungXServer::~HungXServer() {
    close(m_listener);
}

namespace {

// Whether the compositor offers a seat with a keyboard yet: it takes connections a little
// before its input is set up.
bool HasKeyboard(const std::string& runtimeDir, const std::string& socket) {
    wl_display* display = wl_display_connect((runtimeDir + "/" + socket).c_str());
    if (!display) {
        return false;
    }
    struct Seat {
        wl_seat* seat = nullptr;
        bool keyboard = false;
    } found;
    static const wl_seat_listener seatListener{
        [](void* data, wl_seat*, std::uint32_t capabilities) {
            static_cast<Seat*>(data)->keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
        },
        [](void*, wl_seat*, const char*) {}};
    static const wl_registry_listener registryListener{
        [](void* data, wl_registry* registry, std::uint32_t name, const char* interface,
           std::uint32_t) {
            auto& found = *static_cast<Seat*>(data);
            if (!found.seat && std::string(interface) == "wl_seat") {
                found.seat =
                    static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
                wl_seat_add_listener(found.seat, &seatListener, data);
            }
        },
        [](void*, wl_registry*, std::uint32_t) {}};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &found);
    wl_display_roundtrip(display);
    wl_display_roundtrip(display);
    if (found.seat) {
        wl_seat_destroy(found.seat);
    }
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return found.keyboard;
}

} // namespace

Compositor::Compositor(const std::string& xDisplay, const std::string& keyboardSettings) {
    chmod(m_dir.Path().c_str(), 0700);
    m_dir.Write("weston.ini", "[core]\nidle-time=0\n[shell]\npanel-position=none\n[keyboard]\n" +
                                  keyboardSettings + "\n");
    m_process = std::make_unique<Process>(
        std::vector<std::string>{"weston", "--backend=x11-backend.so", "--use-pixman",
                                 "--socket=" + m_socket, "--config=" + m_dir.Path() + "/weston.ini",
                                 "--width=1024", "--height=768"},
        std::vector<std::pair<std::string, std::string>>{
            {"DISPLAY", xDisplay}, {"XDG_RUNTIME_DIR", m_dir.Path()}, {"WAYLAND_DISPLAY", ""}});
    const std::string socket = m_dir.Path() + "/" + m_socket;
    if (!WaitFor(
            [&] { return std::filesystem::exists(socket) && HasKeyboard(m_dir.Path(), m_socket); },
            10s)) {
        throw std::runtime_error("weston did not start");
    }
}

PrivateBus::PrivateBus(const std::vector<std::pair<std::string, std::string>>& environment) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    m_process = std::make_unique<Process>(
        std::vector<std::string>{"dbus-daemon", "--session", "--nofork",
                                 "--address=unix:path=" + m_dir.Path() + "/bus",
                                 "--print-address=" + std::to_string(fds[1])},
        environment, fds[1]);
    close(fds[1]);
    pollfd readable{fds[0], POLLIN, 0};
    char buffer[512];
    while (m_address.find('\n') == std::string::npos && poll(&readable, 1, 10000) > 0) {
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        m_address.append(buffer, static_cast<std::size_t>(got));
    }
    close(fds[0]);
    if (m_address.find('\n') == std::string::npos) {
        throw std::runtime_error("dbus-daemon did not start");
    }
    m_address.resize(m_address.find('\n'));
}

FieldAddingBus::FieldAddingBus(const PrivateBus& upstream) {
    const std::string path = m_dir.Path() + "/bus";
    m_process = std::make_unique<Process>(
        std::vector<std::string>{"/usr/bin/python3", PARDOLIN_TEST_SUPPORT "/field_adding_bus.py",
                                 path, upstream.SocketPath()});
    if (!WaitFor([&] { return std::filesystem::exists(path); }, 10s)) {
        throw std::runtime_error("the field-adding bus did not start");
    }
}

HostilePortal::HostilePortal(const PrivateBus& bus, const std::string& mode) {
    m_process = std::make_unique<Process>(
        std::vector<std::string>{"/usr/bin/python3", PARDOLIN_TEST_SUPPORT "/hostile_portal.py",
                                 mode},
        std::vector<std::pair<std::string, std::string>>{
            {"DBUS_SESSION_BUS_ADDRESS", bus.Address()}});
    const std::string owned = "env DBUS_SESSION_BUS_ADDRESS=" + bus.Address() +
                              " gdbus call --session --dest org.freedesktop.DBus --object-path"
                              " /org/freedesktop/DBus --method org.freedesktop.DBus.NameHasOwner"
                              " org.freedesktop.portal.Desktop | grep -q true";
    if (!WaitFor([&] { return RunCommand(owned) == 0; }, 10s)) {
        throw std::runtime_error("the hostile portal did not start");
    }
}

MisbehavingPeer::MisbehavingPeer(std::string path, Manner manner) : m_path(std::move(path)) {
    const char* manners[] = {"silent", "never-accepts", "junk"};
    m_process = std::make_unique<Process>(
        std::vector<std::string>{"/usr/bin/python3", PARDOLIN_TEST_SUPPORT "/misbehaving_peer.py",
                                 m_path, manners[static_cast<int>(manner)]});
    if (!WaitFor([this] { return std::filesystem::exists(m_path); }, 10s)) {
        throw std::runtime_error("the misbehaving peer did not start");
    }
}

MisbehavingPeer::~MisbehavingPeer() {
    m_process.reset();
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
}

HostileCompositor::HostileCompositor(std::string path, const std::string& mode)
    : m_path(std::move(path)) {
    m_process = std::make_unique<Process>(std::vector<std::string>{
        "/usr/bin/python3", PARDOLIN_TEST_SUPPORT "/hostile_compositor.py", m_path, mode});
    if (!WaitFor([this] { return std::filesystem::exists(m_path); }, 10s)) {
        throw std::runtime_error("the hostile compositor did not start");
    }
}

XSettingsManager::XSettingsManager(const std::string& display, const std::string& settings) {
    m_dir.Write("xsettingsd.conf", settings);
    m_process = std::make_unique<Process>(
        std::vector<std::string>{"xsettingsd", "-c", m_dir.Path() + "/xsettingsd.conf"},
        std::vector<std::pair<std::string, std::string>>{{"DISPLAY", display}});
    if (!WaitFor([&] { return SelectionOwned(display, "_XSETTINGS_S0"); }, 10s)) {
        throw std::runtime_error("xsettingsd did not start");
    }
}

} // namespace pardolin::testing
