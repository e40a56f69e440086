#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a machine without any wave output device: pressing "显示声卡信息"
# shows the message, and closing it ends the program with every window gone.
#   no_device.sh PROGRAM
set -euo pipefail
program=$1

if compgen -G "/proc/asound/card[0-9]*/pcm*p" >/dev/null; then
    echo "this machine has sound cards; the no-device path cannot be shown here"
    exit 77
fi

source "$(dirname "$0")/../../scripts/lib/session.sh"
start_x
export QT_QPA_PLATFORM=xcb PULSE_SERVER="unix:$session_dir/no-server-here"

start_program "$program"
sound=$(wait_window 声卡信息统计)
click_twips "$sound" 120 5160 1455 495
box=$(wait_window "Find Sound Blaster Card")
[[ -n $box ]] || { echo "FAIL: no message box"; exit 1; }
kill -0 "$program_pid" || { echo "FAIL: the program ended before the message was closed"; exit 1; }

# No window manager runs here, so the box gets the keyboard focus directly.
xdotool windowfocus --sync "$box" key Return
for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.05
done
if kill -0 "$program_pid" 2>/dev/null; then
    echo "FAIL: the program is still running after the message was closed"
    exit 1
fi
status=0
wait "$program_pid" || status=$?
[[ $status -eq 0 ]] || { echo "FAIL: exit status $status"; exit 1; }
echo "PASS: message shown, program ended after it was closed"
