// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/XServer.h"

#include <xcb/xcb.h>
// xkb.h names a struct member `explicit`, which C++ reserves; Qt's own X11 code renames
// it the same way.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <cstdlib>
#include <future>
#include <memory>
#include <thread>

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

xcb_atom_t ExistingAtom(xcb_connection_t* connection, const std::string& name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(name.size()), name.data()),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::optional<std::string> Property(xcb_connection_t* connection, xcb_window_t window,
                                    xcb_atom_t property) {
    if (property == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, window, property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, kPropertyLongs),
                               nullptr));
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

void ReadRepeat(xcb_connection_t* connection, XServerFacts& facts) {
    const Reply<xcb_xkb_use_extension_reply_t> use(xcb_xkb_use_extension_reply(
        connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
        nullptr));
    if (!use || !use->supported) {
        return;
    }
    const Reply<xcb_xkb_get_controls_reply_t> controls(xcb_xkb_get_controls_reply(
        connection, xcb_xkb_get_controls(connection, XCB_XKB_ID_USE_CORE_KBD), nullptr));
    if (controls) {
        facts.repeatDelayMs = controls->repeatDelay;
        facts.repeatIntervalMs = controls->repeatInterval;
    }
}

void ReadXSettings(xcb_connection_t* connection, int screen, XServerFacts& facts) {
    const xcb_atom_t selection = ExistingAtom(connection, "_XSETTINGS_S" + std::to_string(screen));
    if (selection == XCB_ATOM_NONE) {
        return;
    }
    const Reply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection), nullptr));
    if (!owner || owner->owner == XCB_WINDOW_NONE) {
        return;
    }
    facts.xsettings =
        Property(connection, owner->owner, ExistingAtom(connection, "_XSETTINGS_SETTINGS"));
}

std::optional<XServerFacts> ReadXServer(const std::string& display, XFact fact) {
    int screenNumber = 0;
    const Connection connection(xcb_connect(display.c_str(), &screenNumber));
    if (!connection || xcb_connection_has_error(connection.get())) {
        return std::nullopt;
    }
    const xcb_screen_t* screen = Screen(connection.get(), screenNumber);
    if (!screen) {
        return std::nullopt;
    }
    XServerFacts facts;
    switch (fact) {
    case XFact::RulesNames:
        facts.rulesNames = Property(connection.get(), screen->root,
                                    ExistingAtom(connection.get(), "_XKB_RULES_NAMES"));
        break;
    case XFact::Repeat:
        ReadRepeat(connection.get(), facts);
        break;
    case XFact::XSettings:
        ReadXSettings(connection.get(), screenNumber, facts);
        break;
    }
    if (xcb_connection_has_error(connection.get())) {
        return std::nullopt;
    }
    return facts;
}

} // namespace

std::optional<XServerFacts> QueryXServer(XFact fact, std::chrono::milliseconds budget) {
    const char* display = std::getenv("DISPLAY");
    if (!display || *display == '\0') {
        return std::nullopt;
    }
    // xcb offers no deadline for connecting or for a reply, so the conversation runs on a
    // thread of its own. A server that never answers keeps that thread (and only it) waiting.
    auto task = std::make_shared<std::packaged_task<std::optional<XServerFacts>()>>(
        [name = std::string(display), fact] { return ReadXServer(name, fact); });
    std::future<std::optional<XServerFacts>> answer = task->get_future();
    std::thread([task] { (*task)(); }).detach();
    if (answer.wait_for(budget) != std::future_status::ready) {
        return std::nullopt;
    }
    return answer.get();
}

} // namespace pardolin::linux_backend
