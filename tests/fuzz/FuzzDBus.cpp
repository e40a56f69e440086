// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a message from the session bus; and any text as the argument of a call.
#include "platform/backends/linux/bus/DBusWire.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pardolin::linux_backend::dbus;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<std::size_t> length = MessageLength(bytes, 64 * 1024);
    if (length && *length > 0 && *length <= size) {
        if (const std::optional<Message> message = Parse(bytes.substr(0, *length))) {
            // The body lies within the message.
            if (message->body.data() < bytes.data() ||
                message->body.data() + message->body.size() > bytes.data() + *length) {
                __builtin_trap();
            }
            FirstArgument(*message);
        }
    }
    // What the program sends reads back the same, for any text without a NUL.
    if (bytes.find('\0') == std::string_view::npos) {
        const std::string call = Marshal({"d", "/p", "i.f", "M", {std::string(bytes)}}, 1);
        const std::optional<Message> message = Parse(call);
        const std::optional<Value> first = message ? FirstArgument(*message) : std::nullopt;
        if (!first || first->type != 's' || first->text != bytes) {
            __builtin_trap();
        }
    }
    return 0;
}
