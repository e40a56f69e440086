#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and peak memory of the program against the toolkit floor, on one private
# X server started with -noreset, the two run alternately.
#   bench/startup.sh BUILD_DIR [RUNS] [WARMUP]
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-15}
warmup=${3:-2}

source "$(dirname "$0")/../scripts/lib/session.sh"
start_x
# Nothing at start-up may touch a sound server; none is reachable here anyway.
QT_QPA_PLATFORM=xcb PULSE_SERVER="unix:$session_dir/no-server" \
    "$build/bench/startup_time" "$runs" "$warmup" "$build/app/pardolin" "$build/bench/floor"
