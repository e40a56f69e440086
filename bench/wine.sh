#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The native program under Wine: start-up of pardolin.exe against the floor program under
# the same Wine, bare and with the program's manifest (exec to first window mapped, run
# alternately on one private X server), then the report clicks in process, against a
# private PulseAudio null sink.
#   bench/wine.sh WINDOWS_BUILD_DIR LINUX_BUILD_DIR [RUNS] [WARMUP]
set -euo pipefail
windows=$(cd "$1" && pwd)
linux=$(cd "$2" && pwd)
runs=${3:-15}
warmup=${4:-3}

source "$(dirname "$0")/../scripts/lib/session.sh"
export WINEPREFIX=${WINEPREFIX:-$windows/wineprefix}
wine_prefix
start_x
start_pulse "load-module module-null-sink sink_name=bench channels=2 sink_properties=device.description=Bench"
wine=/usr/lib/wine/wine64
# One Wine server for all runs, as on a desktop where it already runs.
/usr/lib/wine/wineserver -p
trap 'end_session; /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

"$linux/bench/startup_time" "$runs" "$warmup" "$wine $windows/app/pardolin.exe" \
    "$wine $windows/bench/floor-manifest.exe" "$wine $windows/bench/floor.exe"
"$wine" "$windows/bench/click_latency.exe" 51 | tr -d '\r'
