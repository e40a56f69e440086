#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program where the system cannot simply answer: a build moved elsewhere; the
# program copied without its sound module, then the module put back; a fresh home that
# must stay empty; a machine without any wave output device, its sound cards hidden from
# the program in a mount namespace of its own; a session bus and a compositor that never
# answer at start-up, and what the diagnostics say of them.
#   program.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/../../scripts/lib/session.sh"

stop_program() {
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
}
# Clicks a control whose place is recorded in twips, by window title.
click() {
    local window
    window=$(wait_window "$1")
    [[ -n $window ]] || fail "no window \"$1\""
    click_twips "$window" "$2" "$3" "$4" "$5"
}
# From the first window, by way of the main one.
keyboard_report() {
    click 声卡信息统计 1800 5160 1335 495 # 退 出
    click Pardolin 240 120 1575 735     # 键盘信息统计
    click 统计键盘信息 1080 1920 1335 495 # 键盘信息
}
sound_report() {
    click 声卡信息统计 120 5160 1455 495 # 显示声卡信息
    copy_report "$(wait_window 声卡信息统计)"
}

start_x
start_pulse "load-module module-null-sink sink_name=moved channels=2 sink_properties=device.description=Moved-Sink"
export HOME=$session_dir/home QT_QPA_PLATFORM=xcb
mkdir -p "$HOME"

# A moved build finds its module from where it now runs.
moved=$session_dir/moved
mkdir -p "$moved/app" "$moved/lib"
cp "$build/app/pardolin" "$moved/app/"
cp -r "$build/lib/pardolin" "$moved/lib/"
start_program "$moved/app/pardolin"
report=$(sound_report)
[[ $report == 产品名称：Moved-Sink* ]] || fail "the moved build reports: $report"
# X desktops know the windows by their class's instance, the desktop entry's id.
class=$(xprop -id "$(wait_window 声卡信息统计)" WM_CLASS)
[[ $class == 'WM_CLASS(STRING) = "in.pardol.Pardolin", "Pardolin"' ]] || fail "$class"
keyboard_report
stop_program
echo "PASS: a moved build reports the server's sink"

# Without its module the program cannot find out: the failure line, and it goes on. Once
# the module is where it belongs, the next click reads the device.
alone=$session_dir/alone
mkdir -p "$alone/bin"
cp "$build/app/pardolin" "$alone/bin/"
QT_LOGGING_RULES='pardolin.modules=true' start_program "$alone/bin/pardolin" 2>"$session_dir/alone.log"
report=$(sound_report)
[[ $report == 读取声卡信息失败 ]] || fail "without its module the program reports: $report"
grep -q "^pardolin.modules: loading pardolin-sound.so: .*cannot open shared object file" "$session_dir/alone.log" ||
    fail "the diagnostics do not say why: $(cat "$session_dir/alone.log")"
kill -0 "$program_pid" 2>/dev/null || fail "the program ended without its module"
mkdir -p "$alone/lib" && cp -r "$build/lib/pardolin" "$alone/lib/"
report=$(sound_report)
[[ $report == 产品名称：Moved-Sink* ]] || fail "with the module back the program reports: $report"
stop_program
echo "PASS: a module that cannot be loaded is a failed query, and is tried again"

written=$(find "$HOME" -mindepth 1)
[[ -z $written ]] || fail "the program wrote into a fresh home: $written"
echo "PASS: nothing written into a fresh home"

# No device at all: no sound server, and the machine's own cards hidden.
export PULSE_SERVER="unix:$session_dir/no-server-here"
hide_cards='[[ ! -d /dev/snd ]] || mount -t tmpfs -o mode=755 none /dev/snd; exec "$0" "$@"'
if [[ $(id -u) -eq 0 ]]; then
    namespace=(unshare --mount --propagation private)
else
    namespace=(unshare --user --map-root-user --mount --propagation private)
fi
"${namespace[@]}" true || fail "no mount namespace can be made here to hide the sound cards"
start_program "${namespace[@]}" bash -c "$hide_cards" "$build/app/pardolin"
click 声卡信息统计 120 5160 1455 495 # 显示声卡信息
box=$(wait_window "Find Sound Blaster Card")
[[ -n $box ]] || fail "no message box"
kill -0 "$program_pid" || fail "the program ended before the message was closed"
# No window manager runs here, so the box gets the keyboard focus directly.
xdotool windowfocus --sync "$box" key Return
wait_program_end
[[ $program_status == 0 ]] || fail "after the message was closed, the program's status: $program_status"
echo "PASS: without any device the message shows, and the program ends after it"

# Peers the toolkit would wait on for ever at start-up: a session bus and a Wayland
# compositor that take the connection and never say a word. The window comes all the same,
# on the X display; without an X display to show it on, the program says why and ends. The
# bus and the compositor asked are the ones the toolkit will use.
silent=$session_dir/silent-peer
/usr/bin/python3 "$(dirname "$0")/../support/misbehaving_peer.py" "$silent" silent &
session_pids+=($!)
for _ in $(seq 100); do
    [[ -S $silent ]] && break
    sleep 0.05
done
start_program env -u QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS="unix:path=$silent" \
    WAYLAND_DISPLAY="$silent" "$build/app/pardolin" 2>"$session_dir/quiet.log"
# Both are asked at once, each for a second at most.
window_within 2000 声卡信息统计
keyboard_report
stop_program
! grep -q 'pardolin\.' "$session_dir/quiet.log" || fail "diagnostics unasked: $(cat "$session_dir/quiet.log")"
# Asked for, the diagnostics say which peer failed, at which step, and why.
start_program env -u QT_QPA_PLATFORM QT_LOGGING_RULES='pardolin.*=true' \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$silent" "$build/app/pardolin" 2>"$session_dir/told.log"
keyboard_report
told="pardolin.bus: authenticating at $silent: no answer after"
wait_until 5 grep -qF "$told" "$session_dir/told.log" || fail "not told \"$told\": $(cat "$session_dir/told.log")"
stop_program
echo "PASS: diagnostics are told only when asked for"

# A bus address whose first entry only the toolkit can speak (unixexec:, here through
# socat to a real bus), and whose other entry does not answer: the toolkit gets the
# address, reaches the bus, and the windows reach assistive tools.
start_session_bus
start_accessibility
bus_socket=${DBUS_SESSION_BUS_ADDRESS#unix:path=}
bus_socket=${bus_socket%%,*}
start_program env -u QT_QPA_PLATFORM \
    DBUS_SESSION_BUS_ADDRESS="unixexec:path=/usr/bin/socat,argv1=STDIO,argv2=UNIX-CONNECT%3a$bus_socket;unix:path=$silent" \
    "$build/app/pardolin"
reader shown 声卡信息统计 >/dev/null || fail "through a unixexec: bus the windows reach no assistive tool"
stop_program

# Started by a compositor that hands the program its connection (WAYLAND_SOCKET), while
# WAYLAND_DISPLAY names one that never answers: the windows come on the compositor that
# handed it over.
mkdir -p -m 700 "$session_dir/weston"
printf '[core]\nidle-time=0\n[shell]\npanel-position=none\n' >"$session_dir/weston.ini"
XDG_RUNTIME_DIR=$session_dir/weston weston --backend=x11-backend.so --use-pixman --socket=wayland-handing \
    --config="$session_dir/weston.ini" --width=800 --height=600 >"$session_dir/weston.log" 2>&1 &
session_pids+=($!)
wait_until 10 test -S "$session_dir/weston/wayland-handing" || fail "weston did not start"
start_program env -u QT_QPA_PLATFORM DISPLAY= WAYLAND_DISPLAY="$silent" WAYLAND_DEBUG=client \
    /usr/bin/python3 "$(dirname "$0")/../support/hand_over_connection.py" \
    "$session_dir/weston/wayland-handing" "$build/app/pardolin" 2>"$session_dir/handed.log"
wait_until 10 grep -q 'set_title("声卡信息统计")' "$session_dir/handed.log" ||
    fail "handed a connection, the program shows no window: $(grep -v '^\[' "$session_dir/handed.log" | tail -3)"
kill -0 "$program_pid" 2>/dev/null || fail "handed a connection, the program ended"
stop_program
echo "PASS: the toolkit's own bus and compositor are the ones asked at start-up"

: >"$session_dir/plain-file"
for wayland in "$silent" "$session_dir/plain-file"; do
    status=0
    env -u QT_QPA_PLATFORM DISPLAY= WAYLAND_DISPLAY="$wayland" \
        timeout 20 "$build/app/pardolin" 2>"$session_dir/err" || status=$?
    [[ $status -eq 1 ]] || fail "with $wayland as the compositor and no X display: status $status"
    grep -q "does not answer" "$session_dir/err" || fail "the program does not say why: $(cat "$session_dir/err")"
done
echo "PASS: a silent bus or compositor never hangs the start"
