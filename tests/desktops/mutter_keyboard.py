#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Gives headless mutter a keyboard, and keeps it: a seat without input devices has no
keyboard, and its clients get no keymap and no repeat settings. A RemoteDesktop session
makes virtual devices on its first event, and keeps them while this client runs. The first
event is Escape, which also closes the overview GNOME starts in. Prints READY then."""
import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

SESSION = "org.gnome.Mutter.RemoteDesktop.Session"
ESCAPE = 1  # its evdev code

bus = Gio.bus_get_sync(Gio.BusType.SESSION)


def call(path, interface, method, arguments=None, reply=None):
    return bus.call_sync("org.gnome.Mutter.RemoteDesktop", path, interface, method, arguments,
                         GLib.VariantType(reply) if reply else None, 0, 5000, None)


path = call("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop",
            "CreateSession", None, "(o)").unpack()[0]
call(path, SESSION, "Start")
for pressed in (True, False):
    call(path, SESSION, "NotifyKeyboardKeycode", GLib.Variant("(ub)", (ESCAPE, pressed)))
print("READY", flush=True)
loop = GLib.MainLoop()
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, 15, loop.quit)
loop.run()
