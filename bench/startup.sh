#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and peak memory of the program against the toolkit floor, on one private
# X server started with -noreset, the two run alternately.
#   bench/startup.sh BUILD_DIR [RUNS] [WARMUP]
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-15}
warmup=${3:-2}

exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -noreset -nolisten tcp -screen 0 1280x1024x24 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT
read -r -t 10 -u "$displayfd" number
# Nothing at start-up may touch a sound server; none is reachable here anyway.
DISPLAY=":$number" QT_QPA_PLATFORM=xcb PULSE_SERVER="unix:/nonexistent/pardolin" \
    "$build/bench/startup_time" "$runs" "$warmup" "$build/app/pardolin" "$build/bench/floor"
