#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program as a native Wayland client of KDE Plasma's compositor: the real kwin_wayland
# with a virtual output, KDE's own configuration files (kcminputrc, kxkbrc, kdeglobals),
# the real settings portal with KDE's backend alone and beside GTK's, which Debian's Plasma
# brings along. Each case is a session of its own; the four keyboard lines are read through
# AT-SPI and compared with the configuration, and KWin is asked about the windows: their
# desktop file and that none can be maximized.
#   kde.sh PROGRAM
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)

if [[ $# -eq 1 ]]; then
    # case: keyboard, repeat, layout, caret, portals, the lines expected
    "$0" "$program" "RepeatDelay=400 RepeatRate=30" jp 800 "kde" \
        "键盘的类型是  : Japanese keyboard" "键盘的重复率  =  31字每分秒" \
        "键盘重复延迟为   =  1 秒" "光标闪烁频率  =  400ms"
    # GTK's backend answers GNOME's keys with its defaults: KDE's own value comes first.
    "$0" "$program" "RepeatDelay=400 RepeatRate=30" jp 800 "kde gtk" \
        "键盘的类型是  : Japanese keyboard" "键盘的重复率  =  31字每分秒" \
        "键盘重复延迟为   =  1 秒" "光标闪烁频率  =  400ms"
    # Keys that do not repeat: KWin still sends the delay, which is no fact then.
    "$0" "$program" "KeyRepeat=nothing RepeatDelay=660 RepeatRate=25" us 0 "kde gtk" \
        "键盘的类型是  : Enhanced(IBM) 101-102-key keyboard" "键盘的重复率  =  未知" \
        "键盘重复延迟为   =  未知" "光标闪烁频率  =  -1ms"
    exit 0
fi

keyboard=$2 layout=$3 caret=$4 portals=$5
shift 5
source "$here/../../scripts/lib/desktops.sh"
echo "--- kcminputrc $keyboard, layout $layout, CursorBlinkRate=$caret, portals: $portals"
private_desktop_home
printf '[Keyboard]\n%s\n' "$(tr ' ' '\n' <<<"$keyboard")" >"$XDG_CONFIG_HOME/kcminputrc"
printf '[Layout]\nLayoutList=%s\nUse=true\n' "$layout" >"$XDG_CONFIG_HOME/kxkbrc"
printf '[KDE]\nCursorBlinkRate=%s\n' "$caret" >"$XDG_CONFIG_HOME/kdeglobals"
only_portals $portals
# Exported before the bus starts: what it starts on demand (the portals) inherits the bus's
# environment. KDE's portal is a Qt 5 program, on the compositor too.
export XDG_CURRENT_DESKTOP=KDE WAYLAND_DISPLAY=wayland-kwin QT_QPA_PLATFORM=wayland
start_session_bus
start_kwin
start_accessibility
start_portal
unset QT_QPA_PLATFORM

WAYLAND_DEBUG=client start_program "$program" 2>"$session_dir/program.log"
reader keyboard "$@"
id=$(app_id "$session_dir/program.log")
[[ $id == in.pardol.Pardolin ]] || fail "the windows' app id is \"$id\""
windows=$(kwin_windows | grep '"caption":"\(Pardolin\|统计键盘信息\|声卡信息统计\)"' || true)
echo "$windows"
[[ -n $windows ]] || fail "KWin knows no window of the program"
if grep -v '"desktopFileName":"in.pardol.Pardolin"' <<<"$windows" | grep -q .; then
    fail "KWin does not link every window to the desktop entry"
fi
if grep -q '"maximizable":true' <<<"$windows"; then
    fail "a window can be maximized"
fi
echo "PASS: KWin links the windows to in.pardol.Pardolin, none can be maximized"
