#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the .deb, validates it and its desktop files, unpacks it into a scratch root and
# starts the installed program under a private X server until its first window maps.
#   package.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/pardolin_1.00_*.deb)
echo "built $(basename "$deb")"

desktop-file-validate "$source/resources/desktop/in.pardol.Pardolin.desktop"
appstreamcli validate --no-net "$source/resources/desktop/in.pardol.Pardolin.metainfo.xml"
lintian --fail-on error "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || { echo "FAIL: lintian reports errors"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'fonts-noto-cjk | fonts-wqy-microhei' ||
    { echo "FAIL: no CJK font in Depends"; exit 1; }

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/pardolin \
    usr/share/applications/in.pardol.Pardolin.desktop \
    usr/share/metainfo/in.pardol.Pardolin.metainfo.xml \
    usr/share/icons/hicolor/16x16/apps/in.pardol.Pardolin.png \
    usr/share/icons/hicolor/scalable/apps/in.pardol.Pardolin.svg; do
    [[ -e $root/$file ]] || { echo "FAIL: $file is not in the package"; exit 1; }
done

exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -noreset -nolisten tcp -screen 0 1280x1024x24 2>/dev/null &
pids+=($!)
read -r -t 10 -u "$displayfd" number
DISPLAY=":$number" QT_QPA_PLATFORM=xcb PULSE_SERVER="unix:$work/none" \
    "$root/usr/bin/pardolin" 2>/dev/null &
pids+=($!)
if ! DISPLAY=":$number" timeout 10 xdotool search --sync --onlyvisible --name '^声卡信息统计$' >/dev/null; then
    echo "FAIL: the installed program's first window did not map"
    exit 1
fi
echo "PASS: the package validates, installs and starts"
