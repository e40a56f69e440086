#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader on Windows gets from the real pardolin.exe under Wine, read through
# MSAA as Narrator and NVDA read it: the accessible objects of the controls before and after
# each report, and the events that tell of the new facts while the focus stays on the button.
# Driven with real keys only.
#   accessibility.sh PROGRAM PROBE MSAA     (WINEPREFIX names the private prefix)
set -euo pipefail
program=$(realpath "$1")
probe_exe=$(realpath "$2")
msaa_exe=$(realpath "$3")
source "$(dirname "$0")/driving.sh"

msaa() {
    timeout 30 "$wine" "$msaa_exe" "$@" | tr -d '\r'
}
# control TITLE ROW: the accessible object of one control, "role|name|value|state".
control() {
    msaa dump "$1" | sed -n "s/^$2|//p"
}
# during TITLE KEY...: the events raised while the keys are typed into the window.
during() {
    local title=$1 log=$session_dir/events
    shift
    # Straight into a file: through a pipe, Wine's console loses the events.
    timeout 30 "$wine" "$msaa_exe" events "$title" 4 >"$log" &
    local listener=$!
    for _ in $(seq 100); do
        grep -q '^ready' "$log" 2>/dev/null && break
        sleep 0.05
    done
    # Wine's server takes a moment to deliver to a new hook.
    sleep 1
    keys "$title" "$@"
    wait "$listener"
    grep -v '^ready' "$log" | tr -d '\r' | tee -a "$session_dir/transcript"
}
contains() {
    local what=$1 haystack=$2 needle=$3
    [[ $haystack == *"$needle"* ]] || fail "$what: no \"$needle\" in: $haystack"
}

start_x
start_pulse "load-module module-null-sink sink_name=reader channels=2"
start_pardolin "$program"
readonly text=42 # ROLE_SYSTEM_TEXT

# The report surface has the focus at start: a read-only text named 声卡信息, still empty.
surface=$(control 声卡信息统计 Picture1)
echo "surface before: $surface"
expect "the surface before a report" "$surface" "$text|声卡信息||focused,readonly,focusable"

# Tab to 显示声卡信息 and press it: the focus stays on the button; the surface's value
# changes, and the window's live region says the report's first line.
events=$(during 声卡信息统计 Tab Return)
surface=$(control 声卡信息统计 Picture1)
echo "surface after: $surface"
report=$(probe text 声卡信息统计 Picture1)
first=${report%%$'\n'*}
[[ $first == 产品名称：* && $report == *$'\n'支持格式列表：* ]] || fail "the report reads: $report"
contains "the events of the report" "$events" "focus|Command1|"
# The value as the helper writes it: each line end shown as \r\n.
contains "the events of the report" "$events" "value|Picture1|$text|声卡信息|${report//$'\n'/\\r\\n}|"
contains "the events of the report" "$events" "live|announcer|"
contains "the announcement" "$(grep '^live|' <<<"$events")" "|$first|"
contains "the surface after a report" "$surface" "$text|声卡信息|$first"
echo "PASS: the sound report is read out while the focus stays on the button"

# Back on the surface, Down moves the caret a line; the menu opens with 复制 selected,
# and Return copies the report.
keys 声卡信息统计 shift+Tab
expect "the caret at first" "$(msaa caret 声卡信息统计 Picture1)" 0
keys 声卡信息统计 Down
expect "the caret after Down" "$(msaa caret 声卡信息统计 Picture1)" 1
# Wine raises no events for menus: that Return copies shows that 复制 was selected.
keys 声卡信息统计 shift+F10 Return
expect "the report copied from the menu" "$(probe clipboard)" "$report"
# Closed with Escape, the menu gives the focus back to the report, and says so.
contains "the events of the menu closing" "$(during 声卡信息统计 shift+F10 Escape)" "focus|Picture1|"
echo "PASS: the report is read line by line and copied from the keyboard"

# The keyboard window: its lines are named before the first report, the notice without its
# line break; after 键盘信息 the lines' values change and the live region says all four.
keys 声卡信息统计 Tab Tab space
keys Pardolin Return
for row in lblkeyboard:键盘的类型 lblrepeatspeed:键盘的重复率 lblrepeatdelay:键盘重复延迟 \
    lblcaretflash:光标闪烁频率; do
    expect "${row%%:*} before a report" "$(control 统计键盘信息 "${row%%:*}")" \
        "$text|${row#*:}||readonly,focusable"
done
notice=$(control 统计键盘信息 Label1)
[[ $notice == *"|简易工具，无需盗版。站点地址：pardol.in|"* ]] || fail "the notice reads: $notice"
events=$(during 统计键盘信息 Return)
lines=()
for row in lblkeyboard lblrepeatspeed lblrepeatdelay lblcaretflash; do
    line=$(probe text 统计键盘信息 "$row")
    contains "the events of the keyboard report" "$events" "value|$row|$text|"
    contains "the keyboard line $row" "$(control 统计键盘信息 "$row")" "|$line|"
    lines+=("$line")
done
announced=$(printf '%s\\n' "${lines[@]}")
contains "the announcement" "$(grep '^live|' <<<"$events")" "|${announced%\\n}|"
echo "PASS: the keyboard report is read out while the focus stays on the button"

# Tab goes on from the buttons to the lines, in the table's tab order; each is copied from
# its menu.
keys 统计键盘信息 Tab Tab
expect "focus after the buttons" "$(probe focus 统计键盘信息)" lblcaretflash
keys 统计键盘信息 shift+F10 Return
expect "the caret line copied" "$(probe clipboard)" "${lines[3]}"
echo "PASS: the keyboard lines are reached and copied from the keyboard"
echo "--- transcript"
cat "$session_dir/transcript"
