#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program in X sessions whose desktop runs an input method, as GNOME runs ibus-daemon
# and other desktops fcitx5, with the environment those desktops give their programs: the
# real daemon running, and stopped (as when an engine hangs). The window must come within
# two seconds whatever the daemon does, and a keyboard click must show what the X server
# has; each start's time is printed.
#   input_methods.sh PROGRAM
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/desktops.sh"

private_desktop_home
start_x
start_session_bus
start_accessibility
# The caret as GNOME keeps it, through its settings portal.
gsettings set org.gnome.desktop.interface cursor-blink-time 840
start_portal

# ibus-daemon says where its own bus is in a file under the home folder; fcitx5 takes a
# name on the session bus.
ibus_ready() {
    grep -qs "IBUS_DAEMON_PID=$im_pid" "$XDG_CONFIG_HOME"/ibus/bus/*
}
start_ibus() {
    rm -rf "$XDG_CONFIG_HOME/ibus/bus"
    ibus-daemon --xim --panel disable >"$session_dir/ibus.log" 2>&1 &
    im_pid=$!
    session_pids+=("$im_pid")
    wait_until 10 ibus_ready || fail "ibus-daemon did not start"
    export QT_IM_MODULE=ibus GTK_IM_MODULE=ibus XMODIFIERS=@im=ibus
}
start_fcitx5() {
    fcitx5 >"$session_dir/fcitx5.log" 2>&1 &
    im_pid=$!
    session_pids+=("$im_pid")
    wait_until 10 gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.GetNameOwner org.fcitx.Fcitx5 || fail "fcitx5 did not start"
    export QT_IM_MODULE=fcitx GTK_IM_MODULE=fcitx XMODIFIERS=@im=fcitx
}

# input method, its state
for row in "ibus running" "ibus stopped" "fcitx5 running" "fcitx5 stopped"; do
    read -r method state <<<"$row"
    "start_$method"
    [[ $state == stopped ]] && kill -STOP "$im_pid"
    # Set after the daemon started: it may set a layout of its own as it starts.
    xset r rate 250 30
    setxkbmap -model pc105 -layout jp
    echo "$row"
    start_program "$program"
    window_within 2000 声卡信息统计
    reader keyboard "键盘的类型是  : Japanese keyboard" "键盘的重复率  =  31字每分秒" \
        "键盘重复延迟为   =  0 秒" "光标闪烁频率  =  420ms"
    kill "$program_pid" && wait "$program_pid" 2>/dev/null || true
    kill -CONT "$im_pid" && kill "$im_pid" && wait "$im_pid" 2>/dev/null || true
    echo "PASS: $row"
done
