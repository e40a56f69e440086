#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The download for Windows users: one zip holding the program and its read-me, nothing else.
#   zip.sh BUILD_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
zip=pardolin-$2-win64.zip
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G ZIP -B "$out" >/dev/null)
contents=$(unzip -Z1 "$out/$zip" | sort | tr '\n' ' ')
if [[ $contents != "README.txt pardolin.exe " ]]; then
    echo "FAIL: the zip holds: $contents"
    exit 1
fi
echo "PASS: $zip holds $contents"
