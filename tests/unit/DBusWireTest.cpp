// SPDX-License-Identifier: GPL-3.0-or-later
// The D-Bus reader against messages recorded from the real buses, against messages with
// header fields of kinds it does not know, and against every way a message can break.
#include "platform/backends/linux/bus/DBusWire.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace pardolin::linux_backend::dbus {
namespace {

std::string Recorded(const std::string& name) {
    std::ifstream file(std::string(PARDOLIN_TEST_DATA "/dbus/") + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Messages as a peer writes them, in either byte order, aligned from their start.
class Writer {
  public:
    explicit Writer(bool bigEndian) : m_bigEndian(bigEndian) {}
    Writer& Pad(std::size_t alignment) {
        m_bytes.resize((m_bytes.size() + alignment - 1) / alignment * alignment, '\0');
        return *this;
    }
    Writer& Byte(std::uint8_t byte) {
        m_bytes.push_back(static_cast<char>(byte));
        return *this;
    }
    Writer& Uint32(std::uint32_t value) {
        Pad(4);
        for (int i = 0; i < 4; ++i) {
            Byte(static_cast<std::uint8_t>(value >> (8 * (m_bigEndian ? 3 - i : i))));
        }
        return *this;
    }
    Writer& String(std::string_view text) {
        Uint32(static_cast<std::uint32_t>(text.size()));
        m_bytes.append(text);
        return Byte(0);
    }
    Writer& Signature(std::string_view signature) {
        Byte(static_cast<std::uint8_t>(signature.size()));
        m_bytes.append(signature);
        return Byte(0);
    }
    std::string& Bytes() { return m_bytes; }

  private:
    bool m_bigEndian;
    std::string m_bytes;
};

// A header field: its code, the signature of its variant, and its value.
struct Field {
    std::uint8_t code;
    std::string signature;
    std::function<void(Writer&)> value;
};

// A reply to call 7 whose body is `body` (of signature `signature`), with `extra` header
// fields after the usual ones.
std::string Reply(bool bigEndian, const std::string& signature,
                  const std::function<void(Writer&)>& body, const std::vector<Field>& extra = {}) {
    Writer message(bigEndian);
    message.Byte(bigEndian ? 'B' : 'l').Byte(2).Byte(0).Byte(1);
    message.Uint32(0).Uint32(1).Uint32(0); // body length and fields' length come later
    std::vector<Field> fields{{5, "u", [](Writer& w) { w.Uint32(7); }},
                              {8, "g", [&](Writer& w) { w.Signature(signature); }}};
    fields.insert(fields.end(), extra.begin(), extra.end());
    for (const Field& field : fields) {
        message.Pad(8).Byte(field.code).Signature(field.signature);
        field.value(message);
    }
    const std::size_t fieldsLength = message.Bytes().size() - 16;
    message.Pad(8);
    const std::size_t bodyStart = message.Bytes().size();
    body(message);
    Writer lengths(bigEndian);
    lengths.Uint32(static_cast<std::uint32_t>(message.Bytes().size() - bodyStart))
        .Uint32(1)
        .Uint32(static_cast<std::uint32_t>(fieldsLength));
    message.Bytes().replace(4, 12, lengths.Bytes());
    return message.Bytes();
}

const std::function<void(Writer&)> kInteger840 = [](Writer& w) { w.Uint32(840); };

// `depth` variants around the int32 840.
std::function<void(Writer&)> InVariants(int depth) {
    return [depth](Writer& w) {
        for (int i = 0; i < depth - 1; ++i) {
            w.Signature("v");
        }
        w.Signature("i").Uint32(840);
    };
}

struct Case {
    const char* what;
    std::string bytes;
    bool parses;
    std::optional<MessageType> type = {};
    std::uint32_t replySerial = 0;
    std::optional<char> firstType = {}; // of the first argument, when it can be read
    std::string firstText = {};
    std::int64_t firstInteger = 0;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.what;
}

std::string Changed(std::string bytes, std::size_t at, char byte) {
    bytes.at(at) = byte;
    return bytes;
}

std::vector<Case> Cases() {
    const std::string hello = Recorded("dbus-daemon-hello-reply.bin");
    const auto unknown = [](std::uint8_t code, std::string signature,
                            std::function<void(Writer&)> value) {
        return Reply(false, "i", kInteger840, {{code, std::move(signature), std::move(value)}});
    };
    return {
        // As the real buses send them.
        {"dbus-daemon: Hello's reply", hello, true, MessageType::Return, 1, 's', ":1.5"},
        {"dbus-daemon: NameAcquired", Recorded("dbus-daemon-name-acquired.bin"), true,
         MessageType::Signal, 0, 's', ":1.5"},
        {"dbus-daemon: a portal's reply passed on", Recorded("dbus-daemon-portal-reply.bin"), true,
         MessageType::Return, 2, 'i', "", 840},
        {"dbus-broker: Hello's reply", Recorded("dbus-broker-hello-reply.bin"), true,
         MessageType::Return, 1, 's', ":1.3"},
        {"dbus-broker: NameAcquired", Recorded("dbus-broker-name-acquired.bin"), true,
         MessageType::Signal, 0, 's', ":1.3"},
        {"dbus-broker: a portal's reply passed on", Recorded("dbus-broker-portal-reply.bin"), true,
         MessageType::Return, 2, 'i', "", 840},
        {"big-endian", Reply(true, "s", [](Writer& w) { w.String("big"); }), true,
         MessageType::Return, 7, 's', "big"},
        // Header fields the protocol may add later are passed over, whatever their type.
        {"an unknown field of a dictionary",
         unknown(200, "a{sv}",
                 [](Writer& w) { w.Uint32(16).Pad(8).String("k").Signature("u").Uint32(1); }),
         true, MessageType::Return, 7, 'i', "", 840},
        {"an unknown field of an empty array of structs",
         unknown(201, "a(yy)", [](Writer& w) { w.Uint32(0).Pad(8); }), true, MessageType::Return, 7,
         'i', "", 840},
        {"an unknown field of a struct in a variant",
         unknown(202, "v", [](Writer& w) { w.Signature("(ii)").Pad(8).Uint32(1).Uint32(2); }), true,
         MessageType::Return, 7, 'i', "", 840},
        {"an unknown field of a basic type",
         unknown(203, "t", [](Writer& w) { w.Pad(8).Uint32(1).Uint32(2); }), true,
         MessageType::Return, 7, 'i', "", 840},
        // Values wrapped in variants, up to the depth a value may have here.
        {"eight variants deep", Reply(false, "v", InVariants(8)), true, MessageType::Return, 7, 'i',
         "", 840},
        {"nine variants deep", Reply(false, "v", InVariants(9)), true, MessageType::Return, 7},
        // Values at the edges of their types.
        {"a boolean of 1", Reply(false, "b", [](Writer& w) { w.Uint32(1); }), true,
         MessageType::Return, 7, 'b', "", 1},
        {"a boolean of 2", Reply(false, "b", [](Writer& w) { w.Uint32(2); }), true,
         MessageType::Return, 7},
        {"an int16 of -1", Reply(false, "n", [](Writer& w) { w.Byte(0xFF).Byte(0xFF); }), true,
         MessageType::Return, 7, 'n', "", -1},
        // Broken messages, and broken first arguments.
        {"another byte-order mark", Changed(hello, 0, 'x'), false},
        {"another protocol version", Changed(hello, 3, 2), false},
        {"cut short by a byte", hello.substr(0, hello.size() - 1), false},
        {"a string without its NUL", Changed(hello, hello.size() - 1, 'x'), true,
         MessageType::Return, 1},
        {"a string longer than its message", Changed(hello, hello.size() - 8, '\x7f'), true,
         MessageType::Return, 1},
        {"a field the protocol gives another type",
         unknown(5, "s", [](Writer& w) { w.String("7"); }), false},
        {"field code 0", unknown(0, "u", [](Writer& w) { w.Uint32(1); }), false},
        {"a field of two types", unknown(204, "uu", [](Writer& w) { w.Uint32(1).Uint32(1); }),
         false},
        {"a dictionary with a container for a key",
         unknown(205, "a{vs}", [](Writer& w) { w.Uint32(0).Pad(8); }), false},
        {"an array running past the fields", unknown(206, "ay", [](Writer& w) { w.Uint32(4096); }),
         false},
        {"an empty struct", unknown(207, "()", [](Writer& w) { w.Pad(8); }), false},
        {"an array whose element runs past its length",
         unknown(209, "au", [](Writer& w) { w.Uint32(2).Uint32(5); }), false},
        {"containers 65 deep",
         unknown(208, std::string(65, 'a') + "y", [](Writer& w) { w.Uint32(0); }), false},
    };
}

class DBusMessages : public ::testing::TestWithParam<Case> {};

TEST_P(DBusMessages, ReadAsTheProtocolSays) {
    const Case& c = GetParam();
    const std::optional<Message> message = Parse(c.bytes);
    ASSERT_EQ(message.has_value(), c.parses);
    if (!message) {
        return;
    }
    EXPECT_EQ(message->type, c.type);
    EXPECT_EQ(message->replySerial, c.replySerial);
    const std::optional<Value> first = FirstArgument(*message);
    ASSERT_EQ(first.has_value(), c.firstType.has_value());
    if (first) {
        EXPECT_EQ(first->type, *c.firstType);
        EXPECT_EQ(first->text, c.firstText);
        EXPECT_EQ(first->integer, c.firstInteger);
    }
}

INSTANTIATE_TEST_SUITE_P(Recorded, DBusMessages, ::testing::ValuesIn(Cases()),
                         [](const auto& info) {
                             std::string name;
                             for (const char c : std::string(info.param.what)) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(DBusCall, ReadsBackAsWrittenAndItsLengthIsKnownFromItsStart) {
    const MethodCall call{"org.freedesktop.portal.Desktop",
                          "/org/freedesktop/portal/desktop",
                          "org.freedesktop.portal.Settings",
                          "Read",
                          {"org.gnome.desktop.interface", "cursor-blink-time"}};
    const std::string bytes = Marshal(call, 7);
    EXPECT_EQ(MessageLength(bytes.substr(0, 16), 65536), bytes.size());
    EXPECT_EQ(MessageLength(bytes.substr(0, 15), 65536), std::nullopt);
    EXPECT_EQ(MessageLength(bytes, bytes.size() - 1), std::size_t{0}) << "more than the limit";
    EXPECT_EQ(MessageLength(bytes, bytes.size()), bytes.size());
    const std::optional<Message> message = Parse(bytes);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->type, MessageType::MethodCall);
    EXPECT_EQ(message->signature, "ss");
    const std::optional<Value> first = FirstArgument(*message);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text, "org.gnome.desktop.interface");
}

} // namespace
} // namespace pardolin::linux_backend::dbus
