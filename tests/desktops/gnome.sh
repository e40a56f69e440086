#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a native Wayland client of GNOME: the real gnome-shell (mutter) headless,
# its settings in dconf, written with gsettings, the real settings portal. One window stays
# open while the settings change under it; each time, the four keyboard lines are read
# through AT-SPI and compared with the settings. Also: the windows' app id is the desktop
# entry's, each window has its own title bar without a maximize button, and mutter has no
# complaint.
#   gnome.sh PROGRAM [PICTURE]    (PICTURE: a screenshot of the screen, the top bar included)
set -euo pipefail
program=$(realpath "$1")
picture=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/desktops.sh"
settings() {
    local schema=$1
    shift
    while (($#)); do
        gsettings set "$schema" "$1" "$2"
        shift 2
    done
}

private_desktop_home
install_desktop_entry "$program"
start_system_bus
# Exported before the bus starts: what it starts on demand (dconf, the portals) inherits
# the bus's environment.
export GSETTINGS_BACKEND=dconf XDG_CURRENT_DESKTOP=GNOME
start_session_bus
settings org.gnome.desktop.notifications show-banners false
settings org.gnome.desktop.interface enable-hot-corners false
# Japanese, fast: a 250 ms delay and 50 repeats a second; a 800 ms caret cycle.
settings org.gnome.desktop.input-sources sources "[('xkb', 'jp')]"
settings org.gnome.desktop.peripherals.keyboard repeat true delay 250 repeat-interval 20
settings org.gnome.desktop.interface cursor-blink true cursor-blink-time 800
start_gnome
start_accessibility
start_portal

before=$(wc -l <"$session_dir/gnome-shell.log")
WAYLAND_DEBUG=client start_program "$program" 2>"$session_dir/program.log"
reader keyboard "键盘的类型是  : Japanese keyboard" "键盘的重复率  =  31字每分秒" \
    "键盘重复延迟为   =  0 秒" "光标闪烁频率  =  400ms"
echo "PASS: Japanese, fast"

# The same window, the settings changed under it.
settings org.gnome.desktop.input-sources sources "[('xkb', 'us')]"
settings org.gnome.desktop.peripherals.keyboard delay 1000 repeat-interval 100
settings org.gnome.desktop.interface cursor-blink-time 1200
reader keyboard-again "键盘的类型是  : Enhanced(IBM) 101-102-key keyboard" \
    "键盘的重复率  =  8字每分秒" "键盘重复延迟为   =  3 秒" "光标闪烁频率  =  600ms"
echo "PASS: US, slow"

# Keys that do not repeat: mutter sends a rate and a delay of 0, and neither is a fact.
settings org.gnome.desktop.peripherals.keyboard repeat false
reader keyboard-again "键盘的类型是  : Enhanced(IBM) 101-102-key keyboard" \
    "键盘的重复率  =  未知" "键盘重复延迟为   =  未知" "光标闪烁频率  =  600ms"
echo "PASS: keys that do not repeat"

settings org.gnome.desktop.peripherals.keyboard repeat true
settings org.gnome.desktop.interface cursor-blink false
reader keyboard-again "键盘的类型是  : Enhanced(IBM) 101-102-key keyboard" \
    "键盘的重复率  =  8字每分秒" "键盘重复延迟为   =  3 秒" "光标闪烁频率  =  -1ms"
echo "PASS: a caret that does not blink"

reader title-bars
id=$(app_id "$session_dir/program.log")
[[ $id == in.pardol.Pardolin ]] || fail "the windows' app id is \"$id\""
complaints=$(tail -n +$((before + 1)) "$session_dir/gnome-shell.log" | grep -i critical || true)
[[ -z $complaints ]] || fail "mutter complains: $complaints"
echo "PASS: app id $id, title bars without maximize, no complaint from mutter"

if [[ -n $picture ]]; then
    gnome-screenshot -f "$picture" 2>/dev/null || fail "gnome-screenshot took no picture"
    echo "$picture"
fi
