#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program in an LXQt session on X, where the caret's cycle is LXQt's own: cursorFlashTime
# in lxqt.conf, as LXQt ships it in its system folder and its settings panel
# (lxqt-config-input) writes it in the user's. A settings portal runs beside it and answers
# with GNOME's default, which must not win. The window stays open while the files change.
#   lxqt.sh PROGRAM
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/desktops.sh"

private_desktop_home
# As startlxqt sets them.
export XDG_CURRENT_DESKTOP=LXQt XDG_CONFIG_DIRS="$session_dir/system:/etc/xdg"
mkdir -p "$session_dir/system/lxqt" "$XDG_CONFIG_HOME/lxqt"
# lxqt.conf [Qt] as LXQt's system file has it, with CURSOR for its cycle (none when empty).
system_conf() {
    {
        printf '[General]\ntheme=Clearlooks\nicon_theme=breeze\n\n[Qt]\n'
        [[ -n $1 ]] && printf 'cursorFlashTime=%s\n' "$1"
        printf 'doubleClickInterval=400\nfont="Sans,11,-1,5,50,0,0,0,0,0"\nstyle=Fusion\nwheelScrollLines=3\n'
    } >"$session_dir/system/lxqt/lxqt.conf"
}
# The user's lxqt.conf as lxqt-config-input writes it: the whole file through QSettings,
# its keys in order.
user_conf() {
    printf '[General]\n__userfile__=true\n\n[Qt]\ncursorFlashTime=%s\ndoubleClickInterval=400\nwheelScrollLines=3\n' \
        "$1" >"$XDG_CONFIG_HOME/lxqt/lxqt.conf.new"
    mv "$XDG_CONFIG_HOME/lxqt/lxqt.conf.new" "$XDG_CONFIG_HOME/lxqt/lxqt.conf"
}

start_x
xset r rate 500 20
only_portals gtk
start_session_bus
start_accessibility
start_portal
system_conf ""

start_program "$program"
lines=("键盘的类型是  : Enhanced(IBM) 101-102-key keyboard" "键盘的重复率  =  20字每分秒"
    "键盘重复延迟为   =  1 秒")
# Nothing of LXQt's says: the portal's GNOME default.
reader keyboard "${lines[@]}" "光标闪烁频率  =  600ms"
# cursorFlashTime, in the system's file, then in the user's, then changed there.
for row in "system 1300 650" "user 900 450" "user 1500 750" "user 0 -1"; do
    read -r where cycle shown <<<"$row"
    "${where}_conf" "$cycle"
    reader keyboard-again "${lines[@]}" "光标闪烁频率  =  ${shown}ms"
    echo "PASS: cursorFlashTime=$cycle in the $where's lxqt.conf"
done
