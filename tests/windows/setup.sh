#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The setup program as a user of a Chinese Windows meets it, under Wine in a fresh prefix:
# made by cpack; its first page; installed silently, its files, shortcut and uninstall
# entry checked and the installed program started; installed again over itself, and into
# a folder whose path has spaces and Chinese; uninstalled silently, and nothing left.
#   setup.sh BUILD_DIR PROBE VERSION [PICTURE]    (PICTURE: the first page, as a PNG)
set -euo pipefail
build=$(cd "$1" && pwd)
probe_exe=$(realpath "$2")
version=$3
picture=${4:-}
# A fresh prefix, and a home of its own that Wine must leave empty.
export WINEPREFIX=$build/wineprefix-setup HOME=$build/wine-home WINE_LOCALE=zh_CN.UTF-8
rm -rf "$WINEPREFIX" "$HOME"
mkdir -p "$HOME"
source "$(dirname "$0")/driving.sh"

setup=$session_dir/pardolin-$version-win64-setup.exe
(cd "$build" && cpack -G NSIS -B "$session_dir" >/dev/null)
size=$(stat -c %s "$setup")
((size <= 400 * 1024)) || fail "the setup program is $size bytes"
expect "the setup program's version record" "$(probe version "$setup" | tr '\n' ' ')" \
    "ProductName=Pardolin FileVersion=$version ProductVersion=$version Translation=0x0804 0x04B0 "
echo "PASS: $(basename "$setup"), $((size / 1024)) KB"

user=$(id -un)
profile=$WINEPREFIX/drive_c/users/$user
shortcut="C:\\users\\$user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Pardolin.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pardolin'
unix_path() {
    local path=${1#C:\\}
    echo "$WINEPREFIX/drive_c/${path//\\//}"
}
# The uninstall entry's values, sorted, as reg.exe exports them (in UTF-16).
entry() {
    rm -f "$profile/Temp/entry.reg"
    "$wine" reg export "$key" "C:\\users\\$user\\Temp\\entry.reg" /y >/dev/null 2>&1 || return 0
    iconv -f UTF-16 -t UTF-8 "$profile/Temp/entry.reg" | tr -d '\r' | grep '^"' | sort
}
# check_copy FOLDER: the one copy installed is in FOLDER (a Windows path), whole.
check_copy() {
    local folder=$1 dir escaped
    dir=$(unix_path "$folder")
    expect "files in $folder" "$(ls -A "$dir" | tr '\n' ' ')" "pardolin.exe uninstall.exe "
    cmp -s "$dir/pardolin.exe" "$build/app/pardolin.exe" || fail "pardolin.exe is not the one built"
    escaped=${folder//\\/\\\\}
    expect "the uninstall entry" "$(entry)" "$(sort <<ENTRY
"DisplayName"="Pardolin"
"DisplayVersion"="$version"
"DisplayIcon"="$escaped\\\\pardolin.exe"
"Publisher"="Pardolin developers"
"InstallLocation"="$escaped"
"UninstallString"="\\"$escaped\\\\uninstall.exe\\""
"QuietUninstallString"="\\"$escaped\\\\uninstall.exe\\" /S"
"EstimatedSize"=dword:$(printf %08x $(($(cat "$dir"/*.exe | wc -c) / 1024)))
"NoModify"=dword:00000001
"NoRepair"=dword:00000001
ENTRY
)"
    expect "the shortcut's target and folder" "$(probe shortcut "$shortcut" | tr '\n' '|')" \
        "$folder\\pardolin.exe|$folder|"
}
files_in_prefix() {
    (cd "$WINEPREFIX/drive_c" && find . -path "./users/$user/Temp" -prune -o -print | sort)
}

start_x
before=$(files_in_prefix)

# The first page, in Chinese; Escape, then 是 to the question whether to quit.
start_program "$wine" "$setup" 2>>"$session_dir/wine.log"
page=$(wait_window "Pardolin 安装")
[[ -n $page ]] || fail "no Chinese first page"
if [[ -n $picture ]]; then
    sleep 1
    import -window "$page" "$picture"
fi
keys "Pardolin 安装" Escape
sleep 0.5
question=$(xdotool search --onlyvisible --name "^Pardolin 安装\$" | grep -vx "$page" | head -n 1)
[[ -n $question ]] || fail "Escape did not ask whether to quit"
xdotool windowfocus --sync "$question" key Return
wait_program_end
[[ $program_status != running ]] || fail "the setup program did not quit"
[[ $(files_in_prefix) == "$before" ]] || fail "leaving the first page installed something"
echo "PASS: the first page is Chinese, and leaving it installs nothing"

default="C:\\users\\$user\\AppData\\Local\\Programs\\Pardolin"
timeout 60 "$wine" "$setup" /S
check_copy "$default"
"$wine" start "$shortcut" >/dev/null 2>&1
probe window 声卡信息统计 >/dev/null || fail "the shortcut does not start the program"
probe close 声卡信息统计
probe hidden 声卡信息统计 || fail "the installed program did not close"
echo "PASS: installed per user, started from its shortcut"

echo "the user's own" >"$(unix_path "$default")/notes.txt"
touch -d 2000-01-01 "$(unix_path "$default")/pardolin.exe"
timeout 60 "$wine" "$setup" /S
[[ $(stat -c %Y "$(unix_path "$default")/pardolin.exe") -gt 946684800 ]] ||
    fail "installing again did not replace pardolin.exe"
rm "$(unix_path "$default")/notes.txt" || fail "installing again removed the user's file"
check_copy "$default"
echo "PASS: installed again over itself"

# /D= comes last and unquoted; Wine joins the words with single spaces.
other="C:\\users\\$user\\My Apps\\测试 程序\\Pardolin"
# shellcheck disable=SC2086
timeout 60 "$wine" "$setup" /S /D=$other
check_copy "$other"
[[ ! -e $(unix_path "$default") ]] || fail "the copy in the first folder is still there"
echo "PASS: moved with /D= into a folder with spaces and Chinese"

quiet=$(entry | sed -n 's/^"QuietUninstallString"="\\"\(.*\)\\" \/S"$/\1/p')
timeout 60 "$wine" "${quiet//\\\\/\\}" /S
# The uninstaller runs from a copy of itself in the temporary folder, and returns at once.
timeout 60 /usr/lib/wine/wineserver -w
[[ ! -e $(unix_path "$other") ]] || fail "the uninstaller left the folder"
[[ -z $(entry) ]] || fail "the uninstaller left the entry"
grep -il pardolin "$WINEPREFIX"/*.reg && fail "the registry still names Pardolin"
# The folders that held the copies' folders stay, as for any other setup program.
left=$(diff <(echo "$before") <(files_in_prefix) | grep '^[<>]' |
    grep -v -e '/AppData/Local/Programs$' -e '/My Apps' || true)
[[ -z $left ]] || fail "uninstalling left: $left"
[[ -z $(ls -A "$HOME") ]] || fail "Wine wrote into the home folder: $(ls -A "$HOME")"
echo "PASS: uninstalled silently, nothing left"
