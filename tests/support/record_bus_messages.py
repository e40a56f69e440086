#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Records what a real session bus sends, for the D-Bus reader's unit test: the bus's reply
to Hello, its NameAcquired signal, and a settings portal's reply to Read passed on by the
bus, each as the bytes that came in.

  record_bus_messages.py PREFIX      (DBUS_SESSION_BUS_ADDRESS: unix:path=...; a settings
                                      portal, such as hostile_portal.py good, on that bus)

writes PREFIX-hello-reply.bin, PREFIX-name-acquired.bin and PREFIX-portal-reply.bin.
tests/unit/data/dbus/ holds them as recorded from Debian's dbus-daemon and dbus-broker.
"""
import os
import socket
import struct
import sys
import time


def string(text):
    data = text.encode()
    return struct.pack("<I", len(data)) + data + b"\0"


def pad(data, alignment):
    return data + b"\0" * (-len(data) % alignment)


def call(serial, destination, path, interface, member, arguments):
    body = b""
    for argument in arguments:
        body = pad(body, 4) + string(argument)
    fields = b""
    for code, kind, value in ((1, b"o", path), (2, b"s", interface), (3, b"s", member),
                              (6, b"s", destination)):
        fields = pad(fields, 8) + bytes([code, 1]) + kind + b"\0" + pad(b"", 4) + string(value)
    if arguments:
        signature = b"s" * len(arguments)
        fields = pad(fields, 8) + bytes([8, 1]) + b"g\0" + bytes([len(signature)]) + signature + b"\0"
    header = b"l\x01\x00\x01" + struct.pack("<III", len(body), serial, len(fields))
    return pad(header + fields, 8) + body


def messages(data):
    while len(data) >= 16:
        body, _, fields = struct.unpack("<III", data[4:16])
        length = 16 + fields + (-(16 + fields) % 8) + body
        yield data[:length]
        data = data[length:]


def main():
    prefix = sys.argv[1]
    path = os.environ["DBUS_SESSION_BUS_ADDRESS"].split("path=")[1].split(",")[0].split(";")[0]
    bus = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    bus.connect(path)
    bus.sendall(b"\0AUTH EXTERNAL " + str(os.getuid()).encode().hex().encode() + b"\r\n")
    assert bus.recv(4096).startswith(b"OK ")
    bus.sendall(b"BEGIN\r\n")
    bus.sendall(call(1, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                     "Hello", []))
    bus.sendall(call(2, "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                     "org.freedesktop.portal.Settings", "Read",
                     ["org.gnome.desktop.interface", "cursor-blink-time"]))
    received = b""
    bus.settimeout(0.2)
    deadline = time.monotonic() + 3
    while time.monotonic() < deadline:
        try:
            received += bus.recv(65536)
        except socket.timeout:
            pass
    names = {}
    for message in messages(received):
        kind = message[1]
        if kind == 4:
            names["name-acquired"] = message
        elif kind == 2 and "hello-reply" not in names:
            names["hello-reply"] = message
        elif kind == 2:
            names["portal-reply"] = message
    for name, message in names.items():
        with open("%s-%s.bin" % (prefix, name), "wb") as file:
            file.write(message)
    print(sorted(names))


main()
