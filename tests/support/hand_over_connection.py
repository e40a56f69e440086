#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts a program the way a compositor starts one it hands a connection to: connected to
the compositor at SOCKET, with the descriptor in WAYLAND_SOCKET.

  hand_over_connection.py SOCKET PROGRAM [ARGS...]
"""
import os
import socket
import sys

connection = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
connection.connect(sys.argv[1])
fd = connection.detach()
os.set_inheritable(fd, True)
os.environ["WAYLAND_SOCKET"] = str(fd)
os.execvp(sys.argv[2], sys.argv[2:])
