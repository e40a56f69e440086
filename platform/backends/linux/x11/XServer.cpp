// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/x11/XServer.h"

#include <xcb/xcb.h>
// xkb.h names a struct member `explicit`, which C++ reserves; Qt's own X11 code renames
// it the same way.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <cstdlib>

namespace pardolin::linux_backend {
namespace {

struct FreeDeleter {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

struct ConnectionDeleter {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, ConnectionDeleter>;

// Property values are read in 32-bit units; this is far above any real settings block.
constexpr std::uint32_t kPropertyLongs = 64 * 1024;

xcb_intern_atom_cookie_t AskAtom(xcb_connection_t* connection, const std::string& name) {
    return xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(name.size()), name.data());
}

xcb_atom_t AtomOf(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_get_property_cookie_t AskProperty(xcb_connection_t* connection, xcb_window_t window,
                                      xcb_atom_t property) {
    return xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                            kPropertyLongs);
}

std::optional<std::string> PropertyOf(xcb_connection_t* connection,
                                      xcb_get_property_cookie_t cookie) {
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE || reply->format != 8) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(bytes, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

xcb_screen_t* Screen(xcb_connection_t* connection, int number) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; it.rem > 0; --number, xcb_screen_next(&it)) {
        if (number == 0) {
            return it.data;
        }
    }
    return nullptr;
}

// What xcb says of a connection that failed.
std::string ConnectionError(int error) {
    switch (error) {
    case XCB_CONN_CLOSED_EXT_NOTSUPPORTED:
        return "it lacks an extension asked for";
    case XCB_CONN_CLOSED_MEM_INSUFFICIENT:
        return "out of memory";
    case XCB_CONN_CLOSED_REQ_LEN_EXCEED:
        return "a request too long for it";
    case XCB_CONN_CLOSED_PARSE_ERR:
        return "a display name that does not parse";
    case XCB_CONN_CLOSED_INVALID_SCREEN:
        return "no such screen";
    default:
        return "refused, or the connection broke";
    }
}

// One connection; every request of a round is sent before its replies are awaited, so the
// whole conversation is three round trips.
std::optional<XServerFacts> Converse(const std::string& display, const Diagnostics& diagnostics) {
    int screenNumber = 0;
    const Connection owner(xcb_connect(display.c_str(), &screenNumber));
    xcb_connection_t* const connection = owner.get();
    if (!connection || xcb_connection_has_error(connection)) {
        diagnostics.Failed(Peer::XServer, "connecting to " + display,
                           ConnectionError(connection ? xcb_connection_has_error(connection) : 0));
        return std::nullopt;
    }
    const xcb_screen_t* screen = Screen(connection, screenNumber);
    if (!screen) {
        diagnostics.Failed(Peer::XServer, "connecting to " + display, "no such screen");
        return std::nullopt;
    }

    // Asking an extension the server lacks would close the connection.
    xcb_prefetch_extension_data(connection, &xcb_xkb_id);
    const auto rulesAtom = AskAtom(connection, "_XKB_RULES_NAMES");
    const auto selectionAtom = AskAtom(connection, "_XSETTINGS_S" + std::to_string(screenNumber));
    const auto settingsAtom = AskAtom(connection, "_XSETTINGS_SETTINGS");
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_xkb_id);
    const bool hasXkb = extension && extension->present;
    std::optional<xcb_xkb_use_extension_cookie_t> useXkb;
    std::optional<xcb_xkb_get_controls_cookie_t> controls;
    if (hasXkb) {
        useXkb = xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION);
        controls = xcb_xkb_get_controls(connection, XCB_XKB_ID_USE_CORE_KBD);
    }

    XServerFacts facts;
    const xcb_atom_t rules = AtomOf(connection, rulesAtom);
    const auto rulesNames = rules == XCB_ATOM_NONE
                                ? std::nullopt
                                : std::optional(AskProperty(connection, screen->root, rules));
    const xcb_atom_t selection = AtomOf(connection, selectionAtom);
    const auto selectionOwner = selection == XCB_ATOM_NONE
                                    ? std::nullopt
                                    : std::optional(xcb_get_selection_owner(connection, selection));
    const xcb_atom_t settings = AtomOf(connection, settingsAtom);
    if (hasXkb) {
        const Reply<xcb_xkb_use_extension_reply_t> xkb(
            xcb_xkb_use_extension_reply(connection, *useXkb, nullptr));
        const Reply<xcb_xkb_get_controls_reply_t> reply(
            xcb_xkb_get_controls_reply(connection, *controls, nullptr));
        if (xkb && xkb->supported && reply) {
            // Keys that do not repeat have neither a delay nor a rate, as on Wayland.
            if (reply->enabledControls & XCB_XKB_BOOL_CTRL_REPEAT_KEYS) {
                facts.repeatDelayMs = reply->repeatDelay;
                facts.repeatIntervalMs = reply->repeatInterval;
            }
        }
    }

    if (rulesNames) {
        facts.rulesNames = PropertyOf(connection, *rulesNames);
    }
    if (selectionOwner) {
        const Reply<xcb_get_selection_owner_reply_t> reply(
            xcb_get_selection_owner_reply(connection, *selectionOwner, nullptr));
        if (reply && reply->owner != XCB_WINDOW_NONE && settings != XCB_ATOM_NONE) {
            facts.xsettings =
                PropertyOf(connection, AskProperty(connection, reply->owner, settings));
        }
    }
    if (const int error = xcb_connection_has_error(connection)) {
        diagnostics.Failed(Peer::XServer, "the keyboard's facts", ConnectionError(error));
        return std::nullopt;
    }
    if (!hasXkb) {
        diagnostics.Failed(Peer::XServer, "the repeat settings", "it has no XKB extension");
    }
    return facts;
}

} // namespace

std::optional<XServerFacts> XServer::Read(const std::string& display,
                                          std::chrono::steady_clock::time_point deadline) {
    if (display.empty()) {
        return std::nullopt;
    }
    return m_attempt.Run(
        [display, diagnostics = m_diagnostics] { return Converse(display, diagnostics); }, deadline,
        m_diagnostics, Peer::XServer, "the keyboard's facts");
}

} // namespace pardolin::linux_backend
