#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The download for Windows users: one zip holding the program and its read-me, nothing else.
#   zip.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G ZIP -B "$out" >/dev/null)
contents=$(unzip -Z1 "$out/pardolin-1.00-win64.zip" | sort | tr '\n' ' ')
if [[ $contents != "README.txt pardolin.exe " ]]; then
    echo "FAIL: the zip holds: $contents"
    exit 1
fi
echo "PASS: pardolin-1.00-win64.zip holds $contents"
