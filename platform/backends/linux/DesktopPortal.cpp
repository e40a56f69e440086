// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/DesktopPortal.h"

#include "platform/backends/linux/Deadline.h"

#include <dbus/dbus.h>

#include <sys/stat.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>

namespace pardolin::linux_backend {
namespace {

using Clock = std::chrono::steady_clock;

struct ConnectionDeleter {
    void operator()(DBusConnection* connection) const {
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }
};
using Connection = std::unique_ptr<DBusConnection, ConnectionDeleter>;

struct MessageDeleter {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, MessageDeleter>;

// A DBusError that frees itself.
class Error {
  public:
    Error() { dbus_error_init(&m_error); }
    ~Error() { dbus_error_free(&m_error); }
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;
    DBusError* Get() { return &m_error; }
    bool Named(const char* name) const { return dbus_error_has_name(&m_error, name); }

  private:
    DBusError m_error;
};

// The session bus as the session names it, its local sockets only: libdbus would wait on a
// TCP connect without a deadline, and "autolaunch:" would start a bus.
std::optional<std::string> SessionBusAddress() {
    if (const char* addresses = std::getenv("DBUS_SESSION_BUS_ADDRESS"); addresses && *addresses) {
        std::string local;
        std::istringstream entries(addresses);
        for (std::string entry; std::getline(entries, entry, ';');) {
            if (entry.rfind("unix:", 0) == 0) {
                local += (local.empty() ? "" : ";") + entry;
            }
        }
        return local.empty() ? std::nullopt : std::optional(local);
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat status {};
    if (runtime && *runtime == '/' && stat((std::string(runtime) + "/bus").c_str(), &status) == 0 &&
        S_ISSOCK(status.st_mode)) {
        return std::string("unix:path=") + runtime + "/bus";
    }
    return std::nullopt;
}

Message Call(DBusConnection* connection, Message call, Clock::time_point deadline, Error& error) {
    const int timeout = MillisecondsUntil(deadline);
    if (!call || timeout <= 0) {
        return nullptr;
    }
    return Message(
        dbus_connection_send_with_reply_and_block(connection, call.get(), timeout, error.Get()));
}

// An integer or a truth value, looked for through the variants it may be wrapped in (older
// portals wrap Read's answer twice); a number written as text counts too.
std::optional<int> IntegerIn(DBusMessageIter* iter) {
    switch (dbus_message_iter_get_arg_type(iter)) {
    case DBUS_TYPE_VARIANT: {
        DBusMessageIter inner;
        dbus_message_iter_recurse(iter, &inner);
        return IntegerIn(&inner);
    }
    case DBUS_TYPE_BOOLEAN: {
        dbus_bool_t value = FALSE;
        dbus_message_iter_get_basic(iter, &value);
        return value ? 1 : 0;
    }
    case DBUS_TYPE_INT32:
    case DBUS_TYPE_UINT32: {
        dbus_int32_t value = 0;
        dbus_message_iter_get_basic(iter, &value);
        return value;
    }
    case DBUS_TYPE_STRING: {
        const char* text = nullptr;
        dbus_message_iter_get_basic(iter, &text);
        int value = 0;
        const char* end = text + std::strlen(text);
        const auto [stop, failure] = std::from_chars(text, end, value);
        return failure == std::errc() && stop == end ? std::optional(value) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// One setting of the portal. ReadOne came with version 2 of the interface; older portals
// only know Read.
class Portal {
  public:
    Portal(DBusConnection* connection, Clock::time_point deadline)
        : m_connection(connection), m_deadline(deadline) {}

    std::optional<int> Read(const char* space, const char* key) {
        if (m_readOne) {
            Error error;
            if (Message reply = Ask("ReadOne", space, key, error)) {
                return ValueOf(reply.get());
            }
            if (!error.Named(DBUS_ERROR_UNKNOWN_METHOD)) {
                return std::nullopt;
            }
            m_readOne = false;
        }
        Error error;
        const Message reply = Ask("Read", space, key, error);
        return reply ? ValueOf(reply.get()) : std::nullopt;
    }

  private:
    Message Ask(const char* method, const char* space, const char* key, Error& error) {
        Message call(dbus_message_new_method_call("org.freedesktop.portal.Desktop",
                                                  "/org/freedesktop/portal/desktop",
                                                  "org.freedesktop.portal.Settings", method));
        if (!call || !dbus_message_append_args(call.get(), DBUS_TYPE_STRING, &space,
                                               DBUS_TYPE_STRING, &key, DBUS_TYPE_INVALID)) {
            return nullptr;
        }
        // A portal that does not run is not started for this.
        dbus_message_set_auto_start(call.get(), FALSE);
        return Call(m_connection, std::move(call), m_deadline, error);
    }

    static std::optional<int> ValueOf(DBusMessage* reply) {
        DBusMessageIter iter;
        return dbus_message_iter_init(reply, &iter) ? IntegerIn(&iter) : std::nullopt;
    }

    DBusConnection* m_connection;
    Clock::time_point m_deadline;
    bool m_readOne = true;
};

} // namespace

std::optional<CaretSettings> ReadPortalCaret(Clock::time_point deadline) {
    const std::optional<std::string> address = SessionBusAddress();
    if (!address) {
        return std::nullopt;
    }
    Error error;
    // Private: a connection of its own, closed when done, that never ends the program when
    // the bus goes away.
    const Connection connection(dbus_connection_open_private(address->c_str(), error.Get()));
    if (!connection) {
        return std::nullopt;
    }
    // The bus answers nobody who has not said hello.
    Error helloError;
    if (!Call(connection.get(),
              Message(dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS,
                                                   DBUS_INTERFACE_DBUS, "Hello")),
              deadline, helloError)) {
        return std::nullopt;
    }
    Portal portal(connection.get(), deadline);
    CaretSettings gnome;
    if (const auto blinks = portal.Read("org.gnome.desktop.interface", "cursor-blink")) {
        gnome.blinks = *blinks != 0;
    }
    gnome.cycleMs = portal.Read("org.gnome.desktop.interface", "cursor-blink-time");
    if (gnome.blinks || gnome.cycleMs) {
        return gnome;
    }
    // KDE's value is Qt's flash time: one whole cycle, 0 for no blinking.
    if (const auto rate = portal.Read("org.kde.kdeglobals.KDE", "CursorBlinkRate")) {
        return CaretSettings{std::nullopt, *rate};
    }
    return std::nullopt;
}

} // namespace pardolin::linux_backend
