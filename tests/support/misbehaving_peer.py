#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A local socket whose peer misbehaves, for the tests: it takes connections and never says
a word, never takes them at all, or answers each with junk. Every connection it takes is
held open until it is ended.

  misbehaving_peer.py PATH silent|never-accepts|junk
"""
import socket
import sys
import time

path, manner = sys.argv[1], sys.argv[2]
server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
server.bind(path)
server.listen(0 if manner == "never-accepts" else 16)
held = []
while True:
    if manner == "never-accepts":
        time.sleep(3600)
        continue
    peer, _ = server.accept()
    if manner == "junk":
        peer.setblocking(False)
        try:
            peer.send(b"\xff" * 4096)
        except BlockingIOError:
            pass
    held.append(peer)
