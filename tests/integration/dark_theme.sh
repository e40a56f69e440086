#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# On a dark desktop (Qt's GTK theme, Adwaita's dark variant) the report text must still
# read on its fixed back colours: pictures of both windows with their reports, and the
# contrast of the text in them, at least 4.5:1.
#   dark_theme.sh PROGRAM CONTRAST_TOOL
set -euo pipefail
program=$(realpath "$1")
contrast=$(realpath "$2")
pictures=$(mktemp -d)
trap 'rm -rf "$pictures"' EXIT

"$(dirname "$0")/../../scripts/screenshots" --only dark "$program" "$pictures" >/dev/null
status=0
"$contrast" "$pictures/dark/form1-keyboard.png" Form1 4.5 || status=1
"$contrast" "$pictures/dark/form12-sound-card.png" Form12 4.5 || status=1
if [[ $status -ne 0 ]]; then
    echo "FAIL: report text below 4.5:1 on a dark desktop"
    exit 1
fi
echo "PASS: report text reads on its back colours on a dark desktop"
