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

workdir=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$workdir"
}
trap cleanup EXIT

exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -noreset -nolisten tcp -screen 0 1280x1024x24 2>/dev/null &
pids+=($!)
read -r -t 10 -u "$displayfd" number
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
export PULSE_SERVER="unix:$workdir/no-server-here"

"$program" 2>"$workdir/stderr" &
program_pid=$!
pids+=($program_pid)

sound=$(timeout 10 xdotool search --sync --onlyvisible --name '^声卡信息统计$' | head -n 1)
xdotool mousemove --window "$sound" $(((120 + 1455 / 2) / 15)) $(((5160 + 495 / 2) / 15)) click 1
box=$(timeout 10 xdotool search --sync --onlyvisible --name '^Find Sound Blaster Card$' | head -n 1)
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
[[ $status -eq 0 ]] || { echo "FAIL: exit status $status"; cat "$workdir/stderr"; exit 1; }
echo "PASS: message shown, program ended after it was closed"
