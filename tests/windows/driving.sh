# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tests that drive the real pardolin.exe under Wine on a private X server:
# the session, and the verbs they drive and read it with; the caller names the probe helper
# in probe_exe.
source "$(dirname "$0")/../../scripts/lib/session.sh"
# An English Windows, unless WINE_LOCALE names another (zh_CN.UTF-8: a Chinese one).
wine_locale "${WINE_LOCALE:-C.UTF-8}"
wine_prefix
wine=/usr/lib/wine/wine64
finish() {
    local status=$?
    # A sound server a step has stopped takes no signal to end until it goes on.
    [[ -n ${pulse_pid:-} ]] && kill -CONT "$pulse_pid" 2>/dev/null || true
    if ((status != 0)); then
        # What the X server, Wine and the program's diagnostics said, for a failure seen
        # only on another machine.
        tail -n 20 "$session_dir/xvfb.log" 2>/dev/null || true
        grep -a -v ':seh:' "$session_dir/wine.log" 2>/dev/null | tail -n 20 || true
        sed -n 's/.*:OutputDebugString[AW] L\?"\(.*\)\\n"$/\1/p' "$session_dir/wine.log" 2>/dev/null || true
    fi
    end_session 2>/dev/null
    # What the tests change in the prefix they share, put back.
    "$wine" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
    "$wine" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1 || true
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Microsoft YaHei UI" /t REG_SZ \
        /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1 || true
    timeout 10 /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap finish EXIT

# start_pardolin PROGRAM: the program in the background, its diagnostics switched on; Wine
# passes what the program tells the debugger to wine.log, with its own messages.
start_pardolin() {
    PARDOLIN_DIAGNOSTICS=1 WINEDEBUG=-all,warn+seh start_program "$wine" "$1" 2>>"$session_dir/wine.log"
}
# The helper's output, with the console's line ends made Unix ones.
probe() {
    timeout 30 "$wine" "$probe_exe" "$@" | tr -d '\r'
}
# press TITLE CONTROL: a click in the middle of the control's recorded place, the window
# brought to the front first as a user would (no window manager does it here).
press() {
    local x y
    read -r x y < <(probe place "$1" "$2")
    xdotool windowraise "$(wait_window "$1")" mousemove "$x" "$y" click 1
}
# keys TITLE KEY...: keys typed into the window.
keys() {
    local window=$1
    shift
    xdotool windowfocus --sync "$(wait_window "$window")" key --delay 50 "$@"
}
# close TITLE: Alt+F4, as the frame's close control does, once a click on the window's
# notice has made it the active one.
close() {
    press "$1" Label1
    keys "$1" alt+F4
}
expect() {
    local what=$1 actual=$2 expected=$3
    [[ $actual == "$expected" ]] || fail "$what: \"$actual\", expected \"$expected\""
}
wait_exit() {
    wait_program_end
    expect "exit status" "$program_status" 0
}

