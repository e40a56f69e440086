// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/backends/linux/bus/DBusWire.h"

namespace pardolin::linux_backend::dbus {
namespace {

constexpr std::size_t kFixedHeader = 16;
constexpr int kMaxVariantDepth = 8;
constexpr std::uint8_t kNoAutoStart = 0x2;

// The D-Bus limit on nested containers: 32 arrays and 32 structs, 64 in all.
constexpr int kMaxContainerDepth = 64;

enum HeaderField : std::uint8_t {
    kInvalidField = 0,
    kPath = 1,
    kInterface = 2,
    kMember = 3,
    kErrorName = 4,
    kReplySerial = 5,
    kDestination = 6,
    kSender = 7,
    kSignature = 8,
    kUnixFds = 9,
};

constexpr std::size_t AlignedTo(std::size_t at, std::size_t alignment) {
    return (at + alignment - 1) / alignment * alignment;
}

class Writer {
  public:
    void Pad(std::size_t alignment) { m_bytes.resize(AlignedTo(m_bytes.size(), alignment), '\0'); }
    void Byte(std::uint8_t byte) { m_bytes.push_back(static_cast<char>(byte)); }
    void Uint32(std::uint32_t value) {
        Pad(4);
        for (int shift = 0; shift < 32; shift += 8) {
            Byte(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void String(std::string_view text) {
        Uint32(static_cast<std::uint32_t>(text.size()));
        m_bytes.append(text);
        Byte(0);
    }
    void Signature(std::string_view signature) {
        Byte(static_cast<std::uint8_t>(signature.size()));
        m_bytes.append(signature);
        Byte(0);
    }
    void Field(HeaderField code, char type, std::string_view value) {
        Pad(8);
        Byte(code);
        Signature(std::string_view(&type, 1));
        type == 'g' ? Signature(value) : String(value);
    }
    void Patch(std::size_t at, std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            m_bytes[at++] = static_cast<char>(value >> shift);
        }
    }
    std::string& Bytes() { return m_bytes; }

  private:
    std::string m_bytes;
};

// Reads a message's fields in its byte order, never past its end. Offsets count from the
// start of the message (the body starts at a multiple of 8, so they do from there too).
class Reader {
  public:
    Reader(std::string_view data, bool bigEndian, std::size_t at = 0)
        : m_data(data), m_bigEndian(bigEndian), m_at(at) {}

    std::size_t At() const { return m_at; }
    std::size_t Size() const { return m_data.size(); }
    bool Align(std::size_t alignment) {
        const std::size_t next = AlignedTo(m_at, alignment);
        if (next > m_data.size()) {
            return false;
        }
        m_at = next;
        return true;
    }
    std::optional<std::uint64_t> Unsigned(std::size_t width) {
        if (!Align(width) || m_data.size() - m_at < width) {
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t at = m_bigEndian ? i : width - 1 - i;
            value = (value << 8) | static_cast<unsigned char>(m_data[m_at + at]);
        }
        m_at += width;
        return value;
    }
    std::optional<std::string_view> String() {
        const auto length = Unsigned(4);
        return length ? Text(*length) : std::nullopt;
    }
    std::optional<std::string_view> Signature() {
        const auto length = Unsigned(1);
        return length ? Text(*length) : std::nullopt;
    }

  private:
    // `length` bytes and the NUL that ends them.
    std::optional<std::string_view> Text(std::uint64_t length) {
        if (length >= m_data.size() - m_at || m_data[m_at + length] != '\0') {
            return std::nullopt;
        }
        const std::string_view text = m_data.substr(m_at, length);
        m_at += length + 1;
        return text;
    }

    std::string_view m_data;
    bool m_bigEndian;
    std::size_t m_at;
};

std::size_t WidthOf(char type) {
    switch (type) {
    case 'y':
        return 1;
    case 'n':
    case 'q':
        return 2;
    case 'b':
    case 'i':
    case 'u':
    case 'h':
        return 4;
    case 'x':
    case 't':
    case 'd':
        return 8;
    default:
        return 0;
    }
}

std::size_t AlignmentOf(char type) {
    switch (type) {
    case 's':
    case 'o':
    case 'a':
        return 4;
    case 'g':
    case 'v':
        return 1;
    case '(':
    case '{':
        return 8;
    default:
        return WidthOf(type);
    }
}

bool IsBasic(char type) {
    return WidthOf(type) != 0 || type == 's' || type == 'o' || type == 'g';
}

// The length of the single complete type at the front of `signature`; nullopt when it has
// none, or nests containers deeper than D-Bus allows.
std::optional<std::size_t> CompleteTypeLength(std::string_view signature, int depth) {
    if (signature.empty() || depth > kMaxContainerDepth) {
        return std::nullopt;
    }
    const char type = signature.front();
    if (IsBasic(type) || type == 'v') {
        return 1;
    }
    if (type == 'a' && signature.size() > 1 && signature[1] == '{') {
        // A dictionary entry, only ever an array's element: a basic key, then one value.
        if (signature.size() < 3 || !IsBasic(signature[2])) {
            return std::nullopt;
        }
        const auto value = CompleteTypeLength(signature.substr(3), depth + 1);
        if (!value || 3 + *value >= signature.size() || signature[3 + *value] != '}') {
            return std::nullopt;
        }
        return 3 + *value + 1;
    }
    if (type == 'a') {
        const auto element = CompleteTypeLength(signature.substr(1), depth + 1);
        return element ? std::optional(1 + *element) : std::nullopt;
    }
    if (type == '(') {
        std::size_t at = 1;
        while (at < signature.size() && signature[at] != ')') {
            const auto member = CompleteTypeLength(signature.substr(at), depth + 1);
            if (!member) {
                return std::nullopt;
            }
            at += *member;
        }
        // A struct has one member at least.
        return at < signature.size() && at > 1 ? std::optional(at + 1) : std::nullopt;
    }
    return std::nullopt;
}

// Whether `signature` is exactly one complete type.
bool IsSingleCompleteType(std::string_view signature) {
    return CompleteTypeLength(signature, 0) == signature.size();
}

// Reads past one value of the complete type `type`, checking it as it goes.
bool SkipValue(Reader& reader, std::string_view type, int depth) {
    if (depth > kMaxContainerDepth) {
        return false;
    }
    switch (type.front()) {
    case 'a': {
        const auto length = reader.Unsigned(4);
        const std::string_view element = type.substr(1);
        if (!length || !reader.Align(AlignmentOf(element.front()))) {
            return false;
        }
        const std::size_t end = reader.At() + *length;
        if (end > reader.Size()) {
            return false;
        }
        // Every element takes a byte at least, so this ends.
        while (reader.At() < end) {
            if (!SkipValue(reader, element, depth + 1)) {
                return false;
            }
        }
        return reader.At() == end;
    }
    case '(':
    case '{': {
        if (!reader.Align(8)) {
            return false;
        }
        for (std::size_t at = 1; type[at] != ')' && type[at] != '}';) {
            const std::size_t member = *CompleteTypeLength(type.substr(at), depth + 1);
            if (!SkipValue(reader, type.substr(at, member), depth + 1)) {
                return false;
            }
            at += member;
        }
        return true;
    }
    case 'v': {
        const auto signature = reader.Signature();
        return signature && IsSingleCompleteType(*signature) &&
               SkipValue(reader, *signature, depth + 1);
    }
    case 's':
    case 'o':
        return reader.String().has_value();
    case 'g':
        return reader.Signature().has_value();
    default:
        return reader.Unsigned(WidthOf(type.front())).has_value();
    }
}

// The type a header field the program knows must have; 0 for a field it does not know,
// whose value it passes over, as the protocol asks.
char RequiredType(std::uint64_t code) {
    switch (code) {
    case kPath:
        return 'o';
    case kInterface:
    case kMember:
    case kErrorName:
    case kDestination:
    case kSender:
        return 's';
    case kReplySerial:
    case kUnixFds:
        return 'u';
    case kSignature:
        return 'g';
    default:
        return 0;
    }
}

// One basic value, or a variant holding one.
std::optional<Value> ReadValue(Reader& reader, char type, int depth) {
    Value value{type, 0, {}};
    if (type == 'v') {
        const auto signature = reader.Signature();
        if (!signature || signature->size() != 1 || depth >= kMaxVariantDepth) {
            return std::nullopt;
        }
        return ReadValue(reader, signature->front(), depth + 1);
    }
    if (type == 's' || type == 'o' || type == 'g') {
        const auto text = type == 'g' ? reader.Signature() : reader.String();
        if (!text) {
            return std::nullopt;
        }
        value.text = std::string(*text);
        return value;
    }
    const std::size_t width = WidthOf(type);
    const auto bits = width ? reader.Unsigned(width) : std::nullopt;
    if (!bits) {
        return std::nullopt;
    }
    switch (type) {
    case 'b':
        if (*bits > 1) {
            return std::nullopt;
        }
        value.integer = static_cast<std::int64_t>(*bits);
        break;
    case 'n':
        value.integer = static_cast<std::int16_t>(*bits);
        break;
    case 'i':
        value.integer = static_cast<std::int32_t>(*bits);
        break;
    case 't':
    case 'd':
        break; // their type is all the program needs to know of them
    default:   // the unsigned ones, and 'x', whose 64 bits are its two's complement already
        value.integer = static_cast<std::int64_t>(*bits);
        break;
    }
    return value;
}

} // namespace

std::string Marshal(const MethodCall& call, std::uint32_t serial) {
    Writer body;
    for (const std::string& argument : call.arguments) {
        body.String(argument);
    }
    Writer message;
    message.Byte('l');
    message.Byte(static_cast<std::uint8_t>(MessageType::MethodCall));
    message.Byte(kNoAutoStart);
    message.Byte(1); // protocol version
    message.Uint32(static_cast<std::uint32_t>(body.Bytes().size()));
    message.Uint32(serial);
    message.Uint32(0); // the length of the header fields, known below
    message.Field(kPath, 'o', call.path);
    message.Field(kInterface, 's', call.interface);
    message.Field(kMember, 's', call.member);
    message.Field(kDestination, 's', call.destination);
    if (!call.arguments.empty()) {
        message.Field(kSignature, 'g', std::string(call.arguments.size(), 's'));
    }
    message.Patch(12, static_cast<std::uint32_t>(message.Bytes().size() - kFixedHeader));
    message.Pad(8);
    message.Bytes() += body.Bytes();
    return std::move(message.Bytes());
}

std::optional<std::size_t> MessageLength(std::string_view bytes, std::size_t limit) {
    if (bytes.size() < kFixedHeader) {
        return std::nullopt;
    }
    if ((bytes[0] != 'l' && bytes[0] != 'B') || bytes[3] != 1) {
        return 0;
    }
    Reader reader(bytes.substr(0, kFixedHeader), bytes[0] == 'B', 4);
    const std::uint64_t bodyLength = *reader.Unsigned(4);
    reader.Unsigned(4); // the serial
    const std::uint64_t fieldsLength = *reader.Unsigned(4);
    if (bodyLength > limit || fieldsLength > limit) {
        return 0;
    }
    const std::uint64_t length = AlignedTo(kFixedHeader + fieldsLength, 8) + bodyLength;
    return length > limit ? 0 : static_cast<std::size_t>(length);
}

std::optional<Message> Parse(std::string_view bytes, std::string* why) {
    const auto refuse = [why](std::string reason) -> std::optional<Message> {
        if (why) {
            *why = std::move(reason);
        }
        return std::nullopt;
    };
    const std::optional<std::size_t> length = MessageLength(bytes, bytes.size());
    if (!length || *length != bytes.size()) {
        if (bytes.size() >= kFixedHeader && (bytes[0] != 'l' && bytes[0] != 'B')) {
            return refuse("no byte-order mark");
        }
        if (bytes.size() >= kFixedHeader && bytes[3] != 1) {
            return refuse("protocol version " + std::to_string(bytes[3]));
        }
        return refuse("its length is not its size");
    }
    Message message;
    message.bigEndian = bytes[0] == 'B';
    message.type = static_cast<MessageType>(bytes[1]);
    // Past the body's length and the serial: where the body starts and ends follows from
    // the lengths MessageLength has checked.
    Reader reader(bytes, message.bigEndian, 12);
    const std::size_t fieldsEnd = kFixedHeader + *reader.Unsigned(4);
    while (reader.Align(8) && reader.At() < fieldsEnd) {
        const auto code = reader.Unsigned(1);
        const auto type = reader.Signature();
        if (!code || *code == kInvalidField) {
            return refuse("a header field of code 0");
        }
        if (!type || !IsSingleCompleteType(*type)) {
            return refuse("header field " + std::to_string(*code) + " is not of one type");
        }
        const char required = RequiredType(*code);
        if (required == 0) {
            if (!SkipValue(reader, *type, 1) || reader.At() > fieldsEnd) {
                return refuse("header field " + std::to_string(*code) + " is malformed");
            }
            continue;
        }
        // A field the protocol defines, of another type, makes the message malformed.
        if (*type != std::string_view(&required, 1)) {
            return refuse("header field " + std::to_string(*code) + " is of type " +
                          std::string(*type) + ", not " + required);
        }
        const std::optional<Value> value = ReadValue(reader, required, kMaxVariantDepth);
        if (!value || reader.At() > fieldsEnd) {
            return refuse("header field " + std::to_string(*code) + " is malformed");
        }
        if (*code == kReplySerial) {
            message.replySerial = static_cast<std::uint32_t>(value->integer);
        } else if (*code == kSignature) {
            message.signature = value->text;
        } else if (*code == kErrorName) {
            message.errorName = value->text;
        }
    }
    message.body = bytes.substr(AlignedTo(fieldsEnd, 8));
    return message;
}

std::optional<Value> FirstArgument(const Message& message) {
    if (message.signature.empty()) {
        return std::nullopt;
    }
    // The body starts at a multiple of 8, so its own offsets align as the message's do.
    Reader reader(message.body, message.bigEndian);
    return ReadValue(reader, message.signature.front(), 0);
}

} // namespace pardolin::linux_backend::dbus
