// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The D-Bus wire format, as far as the program speaks it: method calls with string
// arguments out, and the first argument of their replies in. Whatever comes in is read
// within its bounds and checked; a message that does not parse is no message.
namespace pardolin::linux_backend::dbus {

struct MethodCall {
    std::string destination;
    std::string path;
    std::string interface;
    std::string member;
    std::vector<std::string> arguments; // each a string ("s")
};

// The call as it goes on the wire, little-endian, with `serial`. The bus does not start a
// service for it.
std::string Marshal(const MethodCall& call, std::uint32_t serial);

enum class MessageType : std::uint8_t { MethodCall = 1, Return = 2, Error = 3, Signal = 4 };

// What the program needs of a message that came in. `body` points into the message.
struct Message {
    MessageType type{};
    std::uint32_t replySerial = 0; // 0 when it answers nothing
    std::string errorName;         // an error's
    std::string signature;
    bool bigEndian = false;
    std::string_view body;
};

// The whole length of the message at the front of `bytes`, once its first 16 bytes are in:
// nullopt while they are not; 0 when they cannot start a message, or announce more than
// `limit` bytes.
std::optional<std::size_t> MessageLength(std::string_view bytes, std::size_t limit);

// The message `bytes` holds, all of it; nullopt when it is malformed. A header field the
// program does not know is passed over whatever its type, as the protocol asks (it keeps
// the right to add fields); one it knows, of another type than the protocol gives it,
// makes the message malformed.
// `why`, when given, says what is wrong with a message that is not one.
std::optional<Message> Parse(std::string_view bytes, std::string* why = nullptr);

// A basic value: its type code (b, y, n, q, i, u, x, t, d, s, o, g) and content. Integers
// and truth values are in `integer`, texts in `text`; t beyond the range of x, and d, keep
// only their type.
struct Value {
    char type = 0;
    std::int64_t integer = 0;
    std::string text;
};

// The first argument of the message's body, taken out of the variants it is wrapped in
// (at most 8 deep); nullopt when there is none, it is malformed, or it is a container.
std::optional<Value> FirstArgument(const Message& message);

} // namespace pardolin::linux_backend::dbus
