#!/usr/bin/env bash
# Makes the Debian package from the build in $1 and checks what it holds:
# the program, its menu entry, icons and metainfo, and the libraries and
# fonts it needs at run time.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/lumbra_*.deb)
contents=$(dpkg-deb -c "$deb")
depends=$(dpkg-deb -f "$deb" Depends)

status=0
for file in usr/bin/lumbra \
    usr/share/applications/example.vostrand.Lumbra.desktop \
    usr/share/metainfo/example.vostrand.Lumbra.metainfo.xml \
    usr/share/icons/hicolor/48x48/apps/example.vostrand.Lumbra.png \
    usr/share/icons/hicolor/scalable/apps/example.vostrand.Lumbra.svg; do
    grep -q " \./$file\$" <<<"$contents" || { echo "the package lacks /$file"; status=1; }
done
for package in libqt6widgets6 libsqlite3-0 libssl3 fonts-wqy-microhei fonts-arphic-uming \
    fonts-arphic-ukai qt6-translations-l10n; do
    grep -q "\b$package\b" <<<"$depends" || { echo "the package does not depend on $package"; status=1; }
done
dpkg-deb -x "$deb" "$work/root"
grep -qx "Name\[zh_CN\]=.*" "$work/root/usr/share/applications/example.vostrand.Lumbra.desktop" ||
    { echo "the menu entry has no Chinese name"; status=1; }
exit $status
