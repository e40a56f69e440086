#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A session bus that adds a header field of its own to every message it sends, for the
tests: it listens on PATH and passes each connection on to the real bus at UPSTREAM, and
into each message from the bus it puts a field 100 of type a{sv}, of a kind the protocol
does not define (yet). The protocol keeps the right to add such fields, and asks readers to
pass over the ones they do not know.

  field_adding_bus.py PATH UPSTREAM
"""
import select
import socket
import struct
import sys

EXTRA_CODE = 100


def with_extra_field(message):
    """The little-endian message with the field added after its own."""
    fields_end = 16 + struct.unpack("<I", message[12:16])[0]
    body_start = fields_end + (-fields_end % 8)
    entry = struct.pack("<I", 5) + b"added\0" + b"\x01u\0"
    entry += b"\0" * (-len(entry) % 4) + struct.pack("<I", 1)
    field = b"\0" * (-fields_end % 8) + bytes([EXTRA_CODE, 5]) + b"a{sv}\0"
    field += b"\0" * (-(fields_end + len(field)) % 4) + struct.pack("<I", len(entry))
    field += b"\0" * (-(fields_end + len(field)) % 8) + entry
    new_end = fields_end + len(field)
    return (message[:12] + struct.pack("<I", new_end - 16) + message[16:fields_end] + field
            + b"\0" * (-new_end % 8) + message[body_start:])


class Connection:
    def __init__(self, client, upstream):
        self.client, self.bus = client, socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.bus.connect(upstream)
        self.from_bus = b""
        self.begun = False  # the client has said BEGIN: the bus sends messages from here on

    def client_sent(self, data):
        self.begun = self.begun or b"BEGIN\r\n" in data
        self.bus.sendall(data)

    def bus_sent(self, data):
        if not self.begun:
            self.client.sendall(data)
            return
        self.from_bus += data
        while len(self.from_bus) >= 16:
            body, _, fields = struct.unpack("<III", self.from_bus[4:16])
            length = 16 + fields + (-(16 + fields) % 8) + body
            if len(self.from_bus) < length:
                break
            self.client.sendall(with_extra_field(self.from_bus[:length]))
            self.from_bus = self.from_bus[length:]


def main():
    path, upstream = sys.argv[1], sys.argv[2]
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.bind(path)
    server.listen(16)
    ends = {}
    while True:
        readable, _, _ = select.select([server] + list(ends), [], [])
        for end in readable:
            if end is server:
                connection = Connection(server.accept()[0], upstream)
                ends[connection.client] = (connection, connection.client_sent)
                ends[connection.bus] = (connection, connection.bus_sent)
                continue
            connection, passed = ends[end]
            data = end.recv(65536)
            if data:
                passed(data)
            else:
                for other in (connection.client, connection.bus):
                    ends.pop(other, None)
                    other.close()


main()
