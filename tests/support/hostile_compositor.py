#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A Wayland compositor of the least kind, for the tests: on PATH it offers one seat with a
keyboard, repeating 25 times a second after 600 ms, whose keymap is as MODE says.

  hostile_compositor.py PATH good|short|shrinking

  good       a Japanese keymap, of the size announced
  short      a file of 4096 bytes, announced as 64 KiB
  shrinking  16 KiB announced and sent, then cut to 4096 bytes at once
"""
import os
import select
import socket
import struct
import sys

GOOD_KEYMAP = b'xkb_keymap {\n\txkb_symbols "pc+jp+inet(evdev)" { };\n};\n\0'


def message(object_id, opcode, arguments=b""):
    return struct.pack("=II", object_id, (8 + len(arguments)) << 16 | opcode) + arguments


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("=I", len(data)) + data + b"\0" * (-len(data) % 4)


def keymap_file(mode):
    """The keymap's descriptor and the size announced for it."""
    fd = os.memfd_create("keymap")
    if mode == "good":
        os.write(fd, GOOD_KEYMAP)
        return fd, len(GOOD_KEYMAP)
    if mode == "short":
        os.write(fd, b"x" * 4096)
        return fd, 64 * 1024
    os.write(fd, b"x" * 16384)
    return fd, 16384


class Client:
    def __init__(self, connection, mode):
        self.connection, self.mode = connection, mode
        self.objects = {1: "display"}
        self.received = b""

    def handle(self, object_id, opcode, arguments):
        kind = self.objects.get(object_id)
        send = self.connection.sendall
        if kind == "display" and opcode == 0:  # sync
            (callback,) = struct.unpack("=I", arguments[:4])
            send(message(callback, 0, struct.pack("=I", 1)) + message(1, 1, struct.pack("=I", callback)))
        elif kind == "display" and opcode == 1:  # get_registry
            (registry,) = struct.unpack("=I", arguments[:4])
            self.objects[registry] = "registry"
            send(message(registry, 0, struct.pack("=I", 1) + string("wl_seat") + struct.pack("=I", 5)))
        elif kind == "registry" and opcode == 0:  # bind: name, interface, version, id
            (length,) = struct.unpack("=I", arguments[4:8])
            at = 8 + length + (-length % 4) + 4
            (seat,) = struct.unpack("=I", arguments[at:at + 4])
            self.objects[seat] = "seat"
            send(message(seat, 0, struct.pack("=I", 2)) + message(seat, 1, string("seat0")))
        elif kind == "seat" and opcode == 1:  # get_keyboard
            (keyboard,) = struct.unpack("=I", arguments[:4])
            self.objects[keyboard] = "keyboard"
            fd, size = keymap_file(self.mode)
            socket.send_fds(self.connection, [message(keyboard, 0, struct.pack("=II", 1, size))], [fd])
            if self.mode == "shrinking":
                os.ftruncate(fd, 4096)
            os.close(fd)
            send(message(keyboard, 5, struct.pack("=ii", 25, 600)))

    def readable(self):
        data = self.connection.recv(65536)
        if not data:
            return False
        self.received += data
        while len(self.received) >= 8:
            object_id, size_and_opcode = struct.unpack("=II", self.received[:8])
            size = size_and_opcode >> 16
            if size < 8 or len(self.received) < size:
                break
            self.handle(object_id, size_and_opcode & 0xFFFF, self.received[8:size])
            self.received = self.received[size:]
        return True


def main():
    path, mode = sys.argv[1], sys.argv[2]
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.bind(path)
    server.listen(16)
    clients = {}
    while True:
        readable, _, _ = select.select([server] + list(clients), [], [])
        for end in readable:
            if end is server:
                connection = server.accept()[0]
                clients[connection] = Client(connection, mode)
            elif not clients[end].readable():
                del clients[end]
                end.close()


main()
