#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the .deb, validates it and its desktop files, unpacks it into a scratch root and
# starts the installed program under a private X server: its sound report must name the
# sink of a private sound server.
#   package.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
version=$3
source "$source/scripts/lib/session.sh"
work=$session_dir

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/pardolin_"$version"_*.deb)
echo "built $(basename "$deb")"

desktop-file-validate "$source/resources/desktop/in.pardol.Pardolin.desktop"
lintian_status=0
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || lintian_status=$?
grep -v 'running with root privileges' "$work/lintian.log" || true
[[ $lintian_status -eq 0 ]] || { echo "FAIL: lintian reports errors"; exit 1; }
depends=$(dpkg-deb -f "$deb" Depends)
for needed in 'fonts-noto-cjk | fonts-wqy-microhei' qt6-qpa-plugins qt6-wayland qt6-translations-l10n \
    libwayland-client0; do
    [[ $depends == *"$needed"* ]] || { echo "FAIL: Depends lacks $needed: $depends"; exit 1; }
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
appstreamcli validate --no-net "$root/usr/share/metainfo/in.pardol.Pardolin.metainfo.xml"
# The release the package, its metainfo and its changelog name, and the file names the
# README gives, are the project's version.
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/in.pardol.Pardolin.metainfo.xml" ||
    { echo "FAIL: the metainfo's release is not $version"; exit 1; }
[[ $(zcat "$root/usr/share/doc/pardolin/changelog.gz" | head -n 1) == "pardolin ($version) "* ]] ||
    { echo "FAIL: the changelog's latest entry is not $version"; exit 1; }
named=$(grep -oE 'pardolin[-_][0-9][0-9.]*[0-9]' "$source/README.md" | sort -u)
[[ -n $named && -z $(grep -vxE "pardolin[-_]${version//./\\.}" <<<"$named") ]] ||
    { echo "FAIL: the README names other versions than $version: $named"; exit 1; }
for file in usr/bin/pardolin \
    usr/share/applications/in.pardol.Pardolin.desktop \
    usr/share/metainfo/in.pardol.Pardolin.metainfo.xml \
    usr/share/icons/hicolor/16x16/apps/in.pardol.Pardolin.png \
    usr/share/icons/hicolor/scalable/apps/in.pardol.Pardolin.svg; do
    [[ -e $root/$file ]] || { echo "FAIL: $file is not in the package"; exit 1; }
done

start_x
start_pulse "load-module module-null-sink sink_name=installed sink_properties=device.description=Installed-Sink"
start_program env QT_QPA_PLATFORM=xcb "$root/usr/bin/pardolin"
sound=$(wait_window 声卡信息统计)
if [[ -z $sound ]]; then
    echo "FAIL: the installed program's first window did not map"
    exit 1
fi
click_twips "$sound" 120 5160 1455 495 # 显示声卡信息
report=$(copy_report "$sound")
if [[ $report != 产品名称：Installed-Sink* ]]; then
    echo "FAIL: the installed program reports: $report"
    exit 1
fi
echo "PASS: the package validates, installs, starts and reports the server's sink"
