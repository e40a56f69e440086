#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Uses the running program as a screen reader user does, through the accessibility bus:
finds its windows by role and name, presses buttons through their accessible actions and
reads what the labels and the report say.

  screen_reader.py PID walk SINK TYPE RATE DELAY CARET   (the lines the keyboard window shows)
  screen_reader.py PID keyboard TYPE RATE DELAY CARET
  screen_reader.py PID keyboard-again TYPE RATE DELAY CARET
                                    (the keyboard window is open: 键盘信息 until it shows them)
  screen_reader.py PID title-bars   (each shown window's own title bar: minimize, close, and
                                     no maximize)
  screen_reader.py PID no-device
  screen_reader.py PID shown TITLE   (a window of that title is shown)
"""
import sys
import time

import pyatspi


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def wait(what, find, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # the tree changes while it is read
            found = None
        if found:
            return found
        time.sleep(0.1)
    fail("no " + what)


def application(pid):
    """The program on the accessibility bus: one application, whatever the theme loads."""
    apps = [app for app in pyatspi.Registry.getDesktop(0)
            if app is not None and app.get_process_id() == pid]
    if len(apps) > 1:
        fail("the program is %d applications: %s" % (len(apps), [app.name for app in apps]))
    return apps[0] if apps else None


def window(app, role, name):
    """A shown top-level window of the program."""
    for child in app:
        if (child is not None and child.getRoleName() == role and child.name == name
                and child.getState().contains(pyatspi.STATE_SHOWING)):
            return child
    return None


def find(parent, role, name=None):
    return pyatspi.findDescendant(
        parent, lambda a: a.getRoleName() == role and (name is None or a.name == name))


def press(parent, name):
    button = wait("button " + name, lambda: find(parent, "push button", name))
    button.queryAction().doAction(0)


def announce(accessible):
    """What a screen reader says when the window opens: its name and role."""
    print("announced: %s, %s" % (accessible.name, accessible.getRoleName()))


def open_keyboard_window(app):
    sound = wait("window 声卡信息统计", lambda: window(app, "frame", "声卡信息统计"))
    announce(sound)
    press(sound, "退 出")
    main = wait("window Pardolin", lambda: window(app, "frame", "Pardolin"))
    announce(main)
    press(main, "键盘信息统计")
    keyboard = wait("window 统计键盘信息", lambda: window(app, "frame", "统计键盘信息"))
    announce(keyboard)
    return main, keyboard


def shown_lines(keyboard, expected):
    prefixes = [line.split("=")[0].split(":")[0] for line in expected]
    labels = pyatspi.findAllDescendants(keyboard, lambda a: a.getRoleName() == "label")
    texts = [label.name for label in labels]
    report = [t for t in texts if any(t.startswith(p) for p in prefixes)]
    return report if len(report) == len(expected) else None


def check_keyboard_report(keyboard, expected):
    press(keyboard, "键盘信息")
    report = wait("keyboard report", lambda: shown_lines(keyboard, expected))
    for line in report:
        print("keyboard: " + line)
    if report != expected:
        fail("the keyboard window shows %s, expected %s" % (report, expected))
    return report


def walk(app, sink, expected):
    main, keyboard = open_keyboard_window(app)
    check_keyboard_report(keyboard, expected)
    press(main, "声卡信息")
    sound = wait("window 声卡信息统计", lambda: window(app, "frame", "声卡信息统计"))
    announce(sound)
    press(sound, "显示声卡信息")
    surface = find(sound, "text", "声卡信息")
    if surface is None:
        fail("no report surface named 声卡信息")
    text = wait("sound report", lambda: surface.queryText().getText(0, -1))
    lines = text.split("\n")
    print("report: %d lines, first: %s" % (len(lines), lines[0].rstrip()))
    if not lines[0].startswith("产品名称：" + sink) or lines[5] != "支持格式列表：":
        fail("the report reads: %s" % lines[:6])


def check_keyboard_again(app, expected):
    """Settings change while the window is open: 键盘信息 again, until the lines follow."""
    keyboard = wait("window 统计键盘信息", lambda: window(app, "frame", "统计键盘信息"))
    deadline = time.monotonic() + 15
    while True:
        press(keyboard, "键盘信息")
        time.sleep(0.3)
        shown = shown_lines(keyboard, expected)
        if shown == expected:
            break
        if time.monotonic() > deadline:
            fail("the keyboard window shows %s, expected %s" % (shown, expected))
    for line in expected:
        print("keyboard: " + line)


def check_title_bars(app):
    """Each shown window has its own title bar: minimize and close, and no maximize."""
    windows = [child for child in app if child is not None and child.getRoleName() == "frame"
               and child.getState().contains(pyatspi.STATE_SHOWING)]
    if not windows:
        fail("no window is shown")
    for frame in windows:
        buttons = [b.name for b in pyatspi.findAllDescendants(
            frame, lambda a: a.getRoleName() == "push button")]
        print("%s: %s" % (frame.name, ", ".join(buttons)))
        if "最小化" not in buttons or "关闭" not in buttons:
            fail("%s has no title bar of its own" % frame.name)
        if any("最大化" in b or "aximi" in b for b in buttons):
            fail("%s can be maximized" % frame.name)


def no_device(app):
    sound = wait("window 声卡信息统计", lambda: window(app, "frame", "声卡信息统计"))
    press(sound, "显示声卡信息")
    box = wait("message box", lambda: window(app, "alert", "Find Sound Blaster Card")
               or window(app, "dialog", "Find Sound Blaster Card"))
    announce(box)
    prompt = find(box, "label", "对不起，你计算机中没有安装声卡")
    if prompt is None:
        fail("the message box does not say 对不起，你计算机中没有安装声卡")
    ok = find(box, "push button")
    print("message box button: " + ok.name)
    if ok.name != "确定":
        fail("the message box's button reads %s" % ok.name)
    ok.queryAction().doAction(0)


def main():
    pid, command, arguments = int(sys.argv[1]), sys.argv[2], sys.argv[3:]
    app = wait("program on the accessibility bus", lambda: application(pid), 20)
    if command == "walk":
        walk(app, arguments[0], arguments[1:])
    elif command == "keyboard":
        check_keyboard_report(open_keyboard_window(app)[1], arguments)
    elif command == "keyboard-again":
        check_keyboard_again(app, arguments)
    elif command == "title-bars":
        check_title_bars(app)
    elif command == "no-device":
        no_device(app)
    elif command == "shown":
        announce(wait("window " + arguments[0], lambda: window(app, "frame", arguments[0])))
    else:
        fail("unknown command " + command)
    print("PASS: " + command)


main()
