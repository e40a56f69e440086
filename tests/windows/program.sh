#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real pardolin.exe under Wine on a private X server, found by its windows' titles and
# driven by real clicks and keys at the places its layouts record; what it shows is read
# back by a helper in the same prefix, which asks the system itself for comparison.
#   program.sh PROGRAM PROBE VERSION     (WINEPREFIX names the private prefix; WINE_LOCALE
#                                         zh_CN.UTF-8 makes it a Chinese Windows)
set -euo pipefail
program=$(realpath "$1")
probe_exe=$(realpath "$2")
version=$3
source "$(dirname "$0")/driving.sh"
# A Chinese Windows has the ANSI code page 936, and its message boxes' button says 确定.
if [[ $LC_ALL == zh_CN.UTF-8 ]]; then
    code_page=936 ok=确定
else
    code_page=1252 ok=OK
fi
expect "the ANSI code page" "$(probe code-page)" "$code_page"

# The executable itself: system libraries only, each function one Windows 7 has (see
# imports.txt), small, with its version record.
imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
for dll in $imports; do
    case $dll in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | winmm.dll | msvcrt.dll | advapi32.dll) ;;
    *) fail "imports $dll" ;;
    esac
done
listed=$(dirname "$0")/imports.txt
unlisted=$(x86_64-w64-mingw32-objdump -p "$program" |
    awk '/DLL Name/ {dll = tolower($3)} /^\t[ 0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ {print dll, $NF}' |
    LC_ALL=C sort -u | LC_ALL=C comm -23 - <(grep -v '^#' "$listed" | cut -d' ' -f1,2 | LC_ALL=C sort -u))
[[ -z $unlisted ]] || fail "imports functions imports.txt does not list: $unlisted"
newest=$(grep -v '^#' "$listed" | cut -d' ' -f3 | sort -V | tail -n 1)
[[ $(printf '%s\n' "$newest" 6.1 | sort -V | tail -n 1) == 6.1 ]] || fail "imports.txt lists a function of Windows $newest"
size=$(stat -c %s "$program")
((size <= 1024 * 1024)) || fail "the executable is $size bytes"
echo "PASS: $((size / 1024)) KB, imports: $imports"

start_x
start_pulse "load-module module-null-sink sink_name=winetest channels=2 sink_properties=device.description=WineTestSink
set-default-sink winetest"
pulse_pid=${session_pids[-1]}
expect "version record" "$(probe version "$program" | tr '\n' ' ')" \
    "ProductName=Pardolin FileVersion=$version ProductVersion=$version Translation=0x0804 0x04B0 "

start_pardolin "$program"
# Start-up: the sound card window alone, where its layout puts it, its surface empty.
probe window 声卡信息统计 >/dev/null || fail "the sound card window is not where it is recorded"
expect "windows called Pardolin" "$(probe count Pardolin)" 0
expect "keyboard windows" "$(probe count 统计键盘信息)" 0
expect "the surface at start-up" "$(probe text 声卡信息统计 Picture1)" ""
echo "PASS: start-up"

press 声卡信息统计 Command1 # 显示声卡信息
shown=$(probe sound-report) || fail "the sound report differs from the system's record: $shown"
report=$(probe text 声卡信息统计 Picture1)
# The report copied with Ctrl+C, and with "复制" from the menu Shift+F10 opens.
press 声卡信息统计 Picture1
keys 声卡信息统计 ctrl+c
expect "the copied report" "$(probe clipboard)" "$report"
keys 声卡信息统计 shift+F10 Return
expect "the report copied from the menu" "$(probe clipboard)" "$report"

# 退 出 hides it and brings up the main window; 声卡信息 shows the same one again.
press 声卡信息统计 Command2
probe hidden 声卡信息统计 || fail "退 出 left the sound card window shown"
probe window Pardolin >/dev/null || fail "the main window is not where it is recorded"
press Pardolin Command2
probe window 声卡信息统计 >/dev/null
expect "the report after hiding and showing" "$(probe text 声卡信息统计 Picture1)" "$report"
press 声卡信息统计 Command2

# 键盘信息统计 opens the keyboard window beside the main one, once.
press Pardolin Command1
probe window 统计键盘信息 >/dev/null || fail "the keyboard window is not where it is recorded"
press Pardolin Command1
expect "keyboard windows" "$(probe count 统计键盘信息)" 1
probe window Pardolin >/dev/null
press 统计键盘信息 Command1 # 键盘信息
shown=$(probe keyboard-report) || fail "the keyboard report differs from the system's values: $shown"
lines=$(probe text 统计键盘信息 lblcaretflash)
press 统计键盘信息 Command2 # 退出
probe hidden 统计键盘信息 || fail "退出 left the keyboard window shown"
press Pardolin Command1
expect "the caret line after leaving and coming back" "$(probe text 统计键盘信息 lblcaretflash)" "$lines"
echo "PASS: navigation and both reports"

# The keyboard: Tab and Shift+Tab follow the tab order, Enter and Space press buttons.
press Pardolin Command2
press 声卡信息统计 Picture1
expect "focus after a click on the report" "$(probe focus 声卡信息统计)" Picture1
keys 声卡信息统计 Tab
expect "focus after Tab" "$(probe focus 声卡信息统计)" Command1
keys 声卡信息统计 Tab
expect "focus after Tab" "$(probe focus 声卡信息统计)" Command2
keys 声卡信息统计 shift+Tab
expect "focus after Shift+Tab" "$(probe focus 声卡信息统计)" Command1
keys 声卡信息统计 Tab space
probe hidden 声卡信息统计 || fail "Space did not press 退 出"
keys Pardolin Return
probe window 统计键盘信息 >/dev/null
echo "PASS: keyboard"

# The frame's close control destroys a window; showing it again makes it anew.
press Pardolin Command2
close 声卡信息统计
probe hidden 声卡信息统计 || fail "Alt+F4 did not close the sound card window"
expect "sound card windows after closing" "$(probe count 声卡信息统计)" 0
press Pardolin Command2
expect "the surface of the new window" "$(probe text 声卡信息统计 Picture1)" ""
press 声卡信息统计 Command2
echo "PASS: closing through the frame"

# Only hidden windows left: the program ends.
close 统计键盘信息
probe hidden 统计键盘信息 || fail "Alt+F4 did not close the keyboard window"
kill -0 "$program_pid" || fail "the program ended while the main window was shown"
close Pardolin
wait_exit
echo "PASS: the program ends with its last visible window"

# No sound server and no card: the message, OK, and the program ends with status 0.
pulse_server=$PULSE_SERVER
export PULSE_SERVER="unix:$session_dir/no-server-here"
start_pardolin "$program"
press 声卡信息统计 Command1
expect "the message and its button" "$(probe message "Find Sound Blaster Card" | tr '\n' '|')" \
    "对不起，你计算机中没有安装声卡|$ok|"
kill -0 "$program_pid" || fail "the program ended before the message was closed"
# Being asked to close (taskkill) cannot take the window away while its message waits.
probe close 声卡信息统计
expect "sound card windows after Close under the message" "$(probe count 声卡信息统计)" 1
keys "Find Sound Blaster Card" Return
wait_exit
echo "PASS: without any device the message shows, and the program ends after it"

# A sound server slow to answer winmm's first question (stopped while the program starts,
# back 1.5 s after the click): the first click waits for the drivers and shows the device.
# One that stays stopped costs the first click its deadline and "读取声卡信息失败", the
# program going on; once it answers again, the next click shows the device.
export PULSE_SERVER=$pulse_server
kill -STOP "$pulse_pid"
start_pardolin "$program"
press 声卡信息统计 Command1
sleep 1.5
kill -CONT "$pulse_pid"
shown=$(probe sound-report) || fail "with a sound server slow to answer, the sound report differs: $shown"
close 声卡信息统计
wait_exit
kill -STOP "$pulse_pid"
start_pardolin "$program"
press 声卡信息统计 Command1
clicked=$(date +%s%N)
for _ in $(seq 100); do
    shown=$(probe text 声卡信息统计 Picture1)
    [[ -n $shown ]] && break
    sleep 0.1
done
waited=$((($(date +%s%N) - clicked) / 1000000))
expect "the first click with the sound server stopped" "$shown" 读取声卡信息失败
((waited < 5000)) || fail "the first click with the sound server stopped took $waited ms"
kill -CONT "$pulse_pid"
sleep 2
press 声卡信息统计 Command1
# The surface shows the last click's line until this click has cleared it.
for _ in $(seq 100); do
    [[ $(probe text 声卡信息统计 Picture1) != 读取声卡信息失败 ]] && break
    sleep 0.1
done
shown=$(probe sound-report) || fail "once the sound server answers again, the sound report differs: $shown"
close 声卡信息统计
wait_exit
echo "PASS: a sound server slow to answer, and one that does not (${waited} ms)"

# At 144 dots per inch everything is half as large again, and still where it is recorded.
export PULSE_SERVER=$pulse_server
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
start_pardolin "$program"
probe window 声卡信息统计 >/dev/null || fail "at 144 DPI the window is not where it is recorded"
press 声卡信息统计 Command1
shown=$(probe sound-report) || fail "at 144 DPI the sound report differs from the system's record: $shown"
close 声卡信息统计
wait_exit
"$wine" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
echo "PASS: at 144 DPI"

# The oldest Windows the program is for, Windows 7, as Wine tells it to the program.
export PULSE_SERVER=$pulse_server
"$wine" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win7 /f >/dev/null 2>&1
expect "the Windows version" "$(probe os-version)" 6.1
start_pardolin "$program"
press 声卡信息统计 Command1
shown=$(probe sound-report) || fail "on Windows 7 the sound report differs from the system's record: $shown"
press 声卡信息统计 Command2
press Pardolin Command1
press 统计键盘信息 Command1
shown=$(probe keyboard-report) || fail "on Windows 7 the keyboard report differs from the system's values: $shown"
close 统计键盘信息
close Pardolin
wait_exit
"$wine" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
echo "PASS: on Windows 7"

# The system's font changed while the windows are open: told so, they are made again for it
# and go on as recorded. (Wine keeps a program's copy of the system's settings from its
# first look, so only a new start shows the new face here; Windows gives it to the windows
# that are open.) Without the Chinese face, the windows use the system's message font.
"$wine" reg delete 'HKCU\Software\Wine\Fonts\Replacements' /v "Microsoft YaHei UI" /f >/dev/null 2>&1
keyboard_report() {
    start_pardolin "$program"
    press 声卡信息统计 Command2
    press Pardolin Command1
    press 统计键盘信息 Command1
    shown=$(probe keyboard-report) || fail "the keyboard report differs from the system's values: $shown"
}
read -r height face < <(probe message-font 11 Tahoma)
keyboard_report
before=$(probe text-end 统计键盘信息 lblkeyboard)
probe message-font 20 Tahoma >/dev/null
for title in Pardolin 统计键盘信息 声卡信息统计; do
    [[ $title == 声卡信息统计 ]] && press Pardolin Command2
    probe window "$title" >/dev/null || fail "after the font changed, $title is not as recorded"
done
press 统计键盘信息 Command1
shown=$(probe keyboard-report) || fail "after the font changed, the keyboard report differs: $shown"
close 声卡信息统计
close 统计键盘信息
close Pardolin
wait_exit
keyboard_report
changed=$(probe text-end 统计键盘信息 lblkeyboard)
[[ $changed != "$before" ]] || fail "started with a new message font, the keyboard line still ends at $changed"
probe window 统计键盘信息 >/dev/null || fail "with the new font the keyboard window is not as recorded"
close 统计键盘信息
close Pardolin
wait_exit
probe message-font "$height" "$face" >/dev/null
"$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Microsoft YaHei UI" /t REG_SZ \
    /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
echo "PASS: a new system font, told to the open windows and taken by a new start ($before -> $changed pixels)"
