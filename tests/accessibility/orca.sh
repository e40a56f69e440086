#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program as a blind user meets it: the real Orca screen reader on a private X
# server with a real window manager (mutter), its speech going through speech-dispatcher
# and espeak-ng to ALSA's null device, all on a private session and accessibility bus.
# orca_transcript.py types the keys and checks what Orca says.
#   orca.sh PROGRAM
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/session.sh"

export HOME=$session_dir/home XDG_CONFIG_HOME=$session_dir/config XDG_DATA_HOME=$session_dir/data \
    XDG_CACHE_HOME=$session_dir/cache LANG=C.UTF-8
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
unset LC_ALL AT_SPI_BUS_ADDRESS SESSION_MANAGER
start_x
start_pulse "load-module module-null-sink sink_name=orca channels=2 sink_properties=device.description=Orca-Sink"
start_session_bus
start_accessibility

# Orca follows the focus through the window manager's activation.
mutter --x11 --replace --sm-disable >"$session_dir/mutter.log" 2>&1 &
session_pids+=($!)
for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done

# Speech with espeak-ng, into the null device: nothing is heard, everything is logged.
speechd=$session_dir/speech-dispatcher
cp -r /etc/speech-dispatcher "$speechd"
cat >>"$speechd/speechd.conf" <<'CONF'
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
CONF
mkdir -p "$XDG_RUNTIME_DIR/speech-dispatcher"
speech-dispatcher -s -t 0 -C "$speechd" -L "$session_dir" \
    -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" >"$session_dir/speechd.log" 2>&1 &
session_pids+=($!)
for _ in $(seq 100); do
    [[ -S $XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock ]] && break
    sleep 0.05
done

log=$session_dir/orca.log
/usr/bin/python3 "$here/orca_entry.py" --debug-file "$log" >"$session_dir/orca.out" 2>&1 &
orca=$!
session_pids+=("$orca")
for _ in $(seq 600); do
    kill -0 "$orca" 2>/dev/null || break
    grep -q 'SPEECH OUTPUT:' "$log" 2>/dev/null && break
    sleep 0.05
done
grep -q 'SPEECH OUTPUT:' "$log" 2>/dev/null || { echo "FAIL: Orca did not start"; cat "$session_dir/orca.out"; exit 1; }

export QT_QPA_PLATFORM=xcb
start_program "$program"
status=0
/usr/bin/python3 "$here/orca_transcript.py" "$log" Orca-Sink || status=$?
if ((status != 0)); then
    tail -n 40 "$log"
fi
exit "$status"
