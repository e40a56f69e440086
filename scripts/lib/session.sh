# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts and tests that need a private X server or sound server of their
# own. Everything started through these functions ends when the sourcing shell exits.

session_pids=()
session_dir=$(mktemp -d)
session_lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

fail() {
    echo "FAIL: $*"
    exit 1
}

# wait_until SECONDS COMMAND...: polls the command until it succeeds.
wait_until() {
    local tries=$(($1 * 10))
    shift
    for _ in $(seq "$tries"); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# reader COMMAND...: the program's windows read through AT-SPI, as a screen reader reads
# them (tests/accessibility/screen_reader.py says what each command checks).
reader() {
    /usr/bin/python3 "$session_lib/../../tests/accessibility/screen_reader.py" "$program_pid" "$@"
}

end_session() {
    # Programs first, then the servers they talk to. What has not ended five seconds after
    # being asked (a server stuck in a call of its own never gets to its signal handler) is
    # killed.
    local i pid running
    for ((i = ${#session_pids[@]} - 1; i >= 0; i--)); do
        kill "${session_pids[i]}" 2>/dev/null || true
    done
    for _ in $(seq 50); do
        running=0
        for pid in "${session_pids[@]}"; do
            kill -0 "$pid" 2>/dev/null && running=1
        done
        ((running)) || break
        sleep 0.1
    done
    kill -9 "${session_pids[@]}" 2>/dev/null || true
    wait "${session_pids[@]}" 2>/dev/null || true
    # What a private bus started on demand (portals, dconf) has left its parent; it is known
    # by the session's runtime folder in its environment.
    local process
    for process in /proc/[0-9]*; do
        if grep -qz "^XDG_RUNTIME_DIR=$session_dir/" "$process/environ" 2>/dev/null; then
            kill -9 "${process#/proc/}" 2>/dev/null || true
        fi
    done
    rm -rf "$session_dir"
}
trap end_session EXIT

# start_x [SCREEN]: a private Xvfb that keeps xset/setxkbmap changes between clients
# (-noreset); exports DISPLAY.
start_x() {
    local screen=${1:-1280x1024x24} fd number
    exec {fd}<> <(:)
    Xvfb -displayfd "$fd" -noreset -nolisten tcp -screen 0 "$screen" 2>"$session_dir/xvfb.log" &
    session_pids+=($!)
    if ! read -r -t 10 -u "$fd" number; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    exec {fd}<&-
    export DISPLAY=":$number"
    unset WAYLAND_DISPLAY
    # A runtime folder of the session's own, as a desktop session has one.
    export XDG_RUNTIME_DIR=$session_dir/runtime
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
}

# start_pulse COMMANDS: a private pulseaudio on its own socket that runs the given server
# commands (load-module ...); exports PULSE_SERVER.
start_pulse() {
    local dir="$session_dir/pulse"
    mkdir -p "$dir"
    printf 'load-module module-native-protocol-unix auth-anonymous=1 socket=%s\n%s\n' \
        "$dir/native" "$1" >"$dir/server.pa"
    HOME=$dir XDG_RUNTIME_DIR=$dir DISPLAY= pulseaudio -n --daemonize=no --exit-idle-time=-1 \
        --use-pid-file=no --disable-shm=yes -F "$dir/server.pa" 2>"$dir/log" &
    session_pids+=($!)
    export PULSE_SERVER="unix:$dir/native"
    for _ in $(seq 100); do
        timeout 2 pactl info >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "pulseaudio did not start" >&2
    cat "$dir/log" >&2
    return 1
}

# start_program PROGRAM [ARGS...]: runs it in the background; its pid is in program_pid.
start_program() {
    "$@" &
    program_pid=$!
    session_pids+=("$program_pid")
}

# wait_program_end: waits up to ten seconds for the program started last to end; then
# program_status is its exit status, or "running".
wait_program_end() {
    program_status=running
    for _ in $(seq 200); do
        if ! kill -0 "$program_pid" 2>/dev/null; then
            program_status=0
            wait "$program_pid" || program_status=$?
            return 0
        fi
        sleep 0.05
    done
}

# wait_window TITLE: waits for a mapped window with exactly this title; prints its id.
wait_window() {
    timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

# window_within MS TITLE: fails unless a mapped window with exactly this title comes within
# MS milliseconds of now, looked for every 20 ms; says how long it took.
window_within() {
    local start ms
    start=$(date +%s%N)
    for _ in $(seq 500); do
        xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1 && break
        sleep 0.02
    done
    ms=$((($(date +%s%N) - start) / 1000000))
    [[ -n $(wait_window "$2") ]] || fail "no window $2 after $ms ms"
    echo "the window came after $ms ms"
    ((ms < $1)) || fail "the window $2 came after $ms ms"
}

# click_twips WINDOW LEFT TOP WIDTH HEIGHT [SCALE]: clicks the middle of a control whose
# place is recorded in twips (15 to a pixel at scale 1).
click_twips() {
    local window=$1 left=$2 top=$3 width=$4 height=$5 scale=${6:-1}
    xdotool mousemove --window "$window" $(((left + width / 2) * scale / 15)) \
        $(((top + height / 2) * scale / 15)) click 1
}

# copy_report WINDOW: copies the sound card window's report as a user would (a click on
# it, then Ctrl+C) and prints it. Needs xclip.
copy_report() {
    local window=$1 text
    printf '' | xclip -selection clipboard
    xdotool windowfocus --sync "$window"
    click_twips "$window" 120 240 6735 4695
    xdotool key --clearmodifiers ctrl+c
    for _ in $(seq 100); do
        text=$(xclip -o -selection clipboard 2>/dev/null || true)
        [[ -n $text ]] && break
        sleep 0.05
    done
    printf '%s\n' "$text"
}

# wine_locale NAME: the Unix locale that Wine takes the Windows locale, the language and
# the ANSI code page from: C.UTF-8 makes an English Windows, zh_CN.UTF-8 a Chinese (PRC)
# one with code page 936. A locale the system lacks is generated into the session from
# Debian's locale sources. Arguments reach Windows programs through its character set.
wine_locale() {
    if [[ $1 != C.UTF-8 ]] && ! locale -a | grep -qix "${1/.UTF-8/.utf8}"; then
        mkdir -p "$session_dir/locale"
        localedef -i "${1%%.*}" -f UTF-8 "$session_dir/locale/$1" 2>/dev/null ||
            { echo "the locale $1 could not be made (scripts/setup installs locales)" >&2; return 1; }
        export LOCPATH=$session_dir/locale
    fi
    # For the programs started from here; bash itself cannot see a LOCPATH set after it
    # started, and would warn.
    export LC_ALL=$1 2>/dev/null
}

# wine_prefix: makes the private Wine prefix that WINEPREFIX names, unless it exists, with
# the program's Chinese face ("Microsoft YaHei UI", which Wine lacks) drawn by a CJK font
# Debian has. Wine then runs quietly, without its browser and .NET stand-ins, and without
# its menu builder, which would write shortcuts and icons into the home folder.
wine_prefix() {
    : "${WINEPREFIX:?WINEPREFIX must name the private prefix}"
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    [[ -f $WINEPREFIX/system.reg ]] && return 0
    mkdir -p "$WINEPREFIX"
    DISPLAY= timeout 120 /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
    DISPLAY= timeout 60 /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Fonts\Replacements' \
        /v "Microsoft YaHei UI" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
    timeout 60 /usr/lib/wine/wineserver -w
}

# start_session_bus [NAME=VALUE...]: a private session message bus, whose activated
# services get the environment given; exports DBUS_SESSION_BUS_ADDRESS.
start_session_bus() {
    local fd address
    exec {fd}<> <(:)
    env "$@" dbus-daemon --session --nofork --address="unix:path=$session_dir/bus" \
        --print-address="$fd" 2>"$session_dir/bus.log" &
    session_pids+=($!)
    if ! read -r -t 10 -u "$fd" address; then
        echo "dbus-daemon did not start" >&2
        return 1
    fi
    exec {fd}<&-
    export DBUS_SESSION_BUS_ADDRESS=$address
}

# start_accessibility: the accessibility bus of the session bus, switched on as a screen
# reader switches it on, so that programs started afterwards expose themselves on it.
start_accessibility() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately 2>"$session_dir/accessibility.log" &
    session_pids+=($!)
    for _ in $(seq 100); do
        gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
            --method org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
        sleep 0.1
    done
    gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled '<true>' >/dev/null
}
