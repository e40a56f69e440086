#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program through the real accessibility stack: a private session bus with its
# accessibility bus, the program with private servers, and screen_reader.py using it as a
# screen reader user would.
#   screen_reader.sh PROGRAM x11       on a private X server: both reports, the label's menu,
#                                      then the no-device path with its message box
#   screen_reader.sh PROGRAM wayland   as a client of weston, with no X display, the desktop's
#                                      settings portal running: the keyboard report
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/session.sh"

finish() {
    wait_program_end
    [[ $program_status == 0 ]] || { echo "FAIL: the program's status: $program_status"; exit 1; }
}

export HOME=$session_dir/home
mkdir -p "$HOME"
start_x
start_pulse "load-module module-null-sink sink_name=reader sink_properties=device.description=Reader-Sink"

case $2 in
x11)
    xset r rate 500 20
    start_session_bus
    start_accessibility
    export QT_QPA_PLATFORM=xcb
    # GNOME's default theme for Qt programs loads GTK, with an accessibility bridge of its
    # own; with no desktop settings, the caret is GTK's (a 1200 ms cycle).
    QT_QPA_PLATFORMTHEME=gtk3 start_program "$program"
    reader walk Reader-Sink "键盘的类型是  : Enhanced(IBM) 101-102-key keyboard" \
        "键盘的重复率  =  20字每分秒" "键盘重复延迟为   =  1 秒" "光标闪烁频率  =  600ms"
    kill "$program_pid"
    wait "$program_pid" 2>/dev/null || true

    PULSE_SERVER="unix:$session_dir/no-server-here" start_program "$program"
    reader no-device
    finish
    ;;
wayland)
    setxkbmap -model jp106 -layout jp
    config=$session_dir/config
    mkdir -p "$config"
    # The portal's GTK backend shows its settings through GSettings, kept in a key file here.
    desktop=(XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=keyfile XDG_CONFIG_HOME="$config")
    env "${desktop[@]}" gsettings set org.gnome.desktop.interface cursor-blink-time 840
    start_session_bus "${desktop[@]}"
    start_accessibility
    # The program does not start the portal; a desktop session has it running.
    gdbus call --session --dest org.freedesktop.portal.Desktop \
        --object-path /org/freedesktop/portal/desktop \
        --method org.freedesktop.portal.Settings.Read org.gnome.desktop.interface cursor-blink-time >/dev/null
    export XDG_RUNTIME_DIR
    weston --backend=x11-backend.so --use-pixman --socket=wayland-reader \
        --config="$here/weston.ini" --width=1024 --height=768 >"$session_dir/weston.log" 2>&1 &
    session_pids+=($!)
    for _ in $(seq 100); do
        [[ -S $XDG_RUNTIME_DIR/wayland-reader ]] && break
        sleep 0.1
    done
    WAYLAND_DISPLAY=wayland-reader DISPLAY= start_program "$program"
    reader keyboard "键盘的类型是  : Japanese keyboard" "键盘的重复率  =  31字每分秒" \
        "键盘重复延迟为   =  0 秒" "光标闪烁频率  =  420ms"
    ;;
esac
