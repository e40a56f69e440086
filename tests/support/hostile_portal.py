#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A desktop settings portal that misbehaves, for the tests: it owns the portal's name on
the session bus of DBUS_SESSION_BUS_ADDRESS and answers Read as MODE says.

  hostile_portal.py MODE

  good           GNOME's keys as a real portal answers them: <<true>>, <<840>>
  boolean-time   cursor-blink-time is the truth value true
  big-uint       cursor-blink-time is the uint32 2147483648
  max-uint       cursor-blink-time is the uint32 4294967295
  negative       cursor-blink-time is -840
  int16          cursor-blink-time is 840, an int16 (GSettings' key is an int32)
  deep           cursor-blink-time is 840 inside twelve variants
  huge           every key is a string of 10 MB
  error          every key is org.freedesktop.portal.Error.NotFound
  late           the good answers, a second late
  silent         no answer at all
  close          the portal goes away in the middle of the call
"""
import os
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

INTERFACE = """
<node>
  <interface name="org.freedesktop.portal.Settings">
    <method name="Read">
      <arg type="s" name="namespace" direction="in"/>
      <arg type="s" name="key" direction="in"/>
      <arg type="v" name="value" direction="out"/>
    </method>
    <property name="version" type="u" access="read"/>
  </interface>
</node>
"""

MODE = sys.argv[1]
silenced = []  # calls never to be answered, kept so that GLib does not answer them


def wrapped(value, times=2):
    for _ in range(times - 1):
        value = GLib.Variant("v", value)
    return GLib.Variant("(v)", (value,))


def good(namespace, key):
    if namespace == "org.gnome.desktop.interface" and key == "cursor-blink":
        return wrapped(GLib.Variant("b", True))
    if namespace == "org.gnome.desktop.interface" and key == "cursor-blink-time":
        return wrapped(GLib.Variant("i", 840))
    return None


def answer(namespace, key):
    time_key = namespace == "org.gnome.desktop.interface" and key == "cursor-blink-time"
    if MODE in ("good", "late"):
        return good(namespace, key)
    if MODE == "huge":
        return wrapped(GLib.Variant("s", "8" * 10_000_000))
    if not time_key:
        return None
    return {
        "boolean-time": lambda: wrapped(GLib.Variant("b", True)),
        "big-uint": lambda: wrapped(GLib.Variant("u", 2147483648)),
        "max-uint": lambda: wrapped(GLib.Variant("u", 4294967295)),
        "negative": lambda: wrapped(GLib.Variant("i", -840)),
        "int16": lambda: wrapped(GLib.Variant("n", 840)),
        "deep": lambda: wrapped(GLib.Variant("i", 840), 13),
    }.get(MODE, lambda: None)()


def on_call(connection, sender, path, interface, method, parameters, invocation):
    namespace, key = parameters.unpack()
    if MODE == "silent":
        silenced.append(invocation)
        return
    if MODE == "close":
        os._exit(0)
    value = answer(namespace, key)

    def reply():
        if value is None:
            invocation.return_dbus_error("org.freedesktop.portal.Error.NotFound",
                                         "no such setting")
        else:
            invocation.return_value(value)
        return False

    if MODE == "late":
        GLib.timeout_add(1000, reply)
    else:
        reply()


def main():
    connection = Gio.DBusConnection.new_for_address_sync(
        os.environ["DBUS_SESSION_BUS_ADDRESS"],
        Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    info = Gio.DBusNodeInfo.new_for_xml(INTERFACE).interfaces[0]
    connection.register_object("/org/freedesktop/portal/desktop", info, on_call,
                               lambda *args: GLib.Variant("u", 1), None)
    loop = GLib.MainLoop()
    Gio.bus_own_name_on_connection(connection, "org.freedesktop.portal.Desktop",
                                   Gio.BusNameOwnerFlags.NONE, None, lambda *args: loop.quit())
    loop.run()


main()
