#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a native Wayland client of a wlroots compositor: the real sway with its
# headless backend, the keyboard set in its configuration and changed with swaymsg while a
# window is open. Each time the four keyboard lines are read through AT-SPI and compared
# with the settings; sway's tree gives the windows' app id.
#   sway.sh PROGRAM     (VIRTUAL_KEYBOARD names the helper that gives sway a keyboard)
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/desktops.sh"

private_desktop_home
# No settings portal on this desktop: GTK's settings file gives the caret.
mkdir -p "$XDG_CONFIG_HOME/gtk-3.0"
printf '[Settings]\ngtk-cursor-blink-time=840\n' >"$XDG_CONFIG_HOME/gtk-3.0/settings.ini"
cat >"$session_dir/sway.config" <<'CONFIG'
input type:keyboard {
    repeat_delay 400
    repeat_rate 30
    xkb_layout jp
}
CONFIG
start_session_bus
start_sway "$session_dir/sway.config"
start_accessibility

WAYLAND_DEBUG=client start_program "$program" 2>"$session_dir/program.log"
reader keyboard "键盘的类型是  : Japanese keyboard" "键盘的重复率  =  31字每分秒" \
    "键盘重复延迟为   =  1 秒" "光标闪烁频率  =  420ms"
echo "PASS: Japanese, from sway's configuration"

swaymsg -q 'input type:keyboard repeat_rate 0'
reader keyboard-again "键盘的类型是  : Japanese keyboard" "键盘的重复率  =  未知" \
    "键盘重复延迟为   =  未知" "光标闪烁频率  =  420ms"
echo "PASS: keys that do not repeat"

swaymsg -q 'input type:keyboard xkb_layout us'
swaymsg -q 'input type:keyboard repeat_delay 660'
swaymsg -q 'input type:keyboard repeat_rate 25'
reader keyboard-again "键盘的类型是  : Enhanced(IBM) 101-102-key keyboard" \
    "键盘的重复率  =  25字每分秒" "键盘重复延迟为   =  2 秒" "光标闪烁频率  =  420ms"
echo "PASS: US, changed while the window is open"

id=$(app_id "$session_dir/program.log")
tree=$(swaymsg -t get_tree | grep -o '"app_id": "[^"]*"' | sort -u)
[[ $id == in.pardol.Pardolin && $tree == '"app_id": "in.pardol.Pardolin"' ]] ||
    fail "the windows' app id is \"$id\", sway's tree says $tree"
echo "PASS: app id $id"
