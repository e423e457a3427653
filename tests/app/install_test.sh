#!/usr/bin/env bash
# `cmake --install` of a built tree into a fresh prefix: the executable, the
# launcher, the metainfo, the manual page and the hicolor icons at their
# sizes land where the desktop looks, and desktop-file-validate and
# appstreamcli accept the launcher and the metainfo.
# Usage: install_test.sh <build folder>
set -euo pipefail

build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
for tool in desktop-file-validate appstreamcli /usr/bin/identify; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (tools/install-deps.sh installs it)"
done

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 ||
    fail "cmake --install: $(tail -n 5 "$prefix.log")"
rm -f "$prefix.log"
id=cz.marbek.quarnex
desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
for file in bin/quarnex share/man/man6/quarnex.6.gz share/man/cs/man6/quarnex.6.gz \
    share/doc/quarnex/copyright; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
[ -x "$prefix/bin/quarnex" ] || fail "bin/quarnex is not executable"
[ -f "$desktop" ] && [ -f "$metainfo" ] || fail "launcher or metainfo missing"

for size in 16 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/$id.png
    [ -f "$icon" ] || fail "no ${size}x$size icon"
    [ "$(/usr/bin/identify -format '%wx%h %[channels]' "$icon")" = "${size}x$size srgba" ] ||
        fail "icon $icon is $(/usr/bin/identify -format '%wx%h %[channels]' "$icon")"
done

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the launcher"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
grep -qx "Icon=$id" "$desktop" && grep -qx "Exec=quarnex" "$desktop" ||
    fail "the launcher does not name the icon and the executable"
grep -qx "Categories=Game;ArcadeGame;" "$desktop" || fail "the launcher's categories"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not name the launcher"
echo "passed"
