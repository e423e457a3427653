#!/usr/bin/env bash
# The Debian package: CPack builds it from the built tree; dpkg-deb shows
# its name, version, Qt 6 dependencies (found by dpkg-shlibdeps) and file
# list; the executable unpacked from it starts and paints its first frame on
# Qt's offscreen platform.
# Usage: package_test.sh <build folder>
set -euo pipefail

build=$1
out=$(mktemp -d)
game_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    rm -rf "$out"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    [ -s "$out/game.err" ] && sed 's/^/  game: /' "$out/game.err" >&2
    exit 1
}
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (tools/install-deps.sh installs it)"
done

(cd "$build" && cpack -G DEB -B "$out/package") >"$out/cpack.log" 2>&1 ||
    fail "cpack: $(tail -n 5 "$out/cpack.log")"
deb=$(ls "$out"/package/quarnex_2.00_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no quarnex_2.00_*.deb: $(ls "$out/package")"

[ "$(dpkg-deb -f "$deb" Package)" = quarnex ] || fail "package name $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = 2.00 ] || fail "version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6; do
    [[ "$depends" == *"$lib "* ]] || fail "no dependency on $lib in: $depends"
done

dpkg-deb -c "$deb" | awk '{ print $6 }' >"$out/files"
for file in usr/games/quarnex usr/share/applications/cz.marbek.quarnex.desktop \
    usr/share/metainfo/cz.marbek.quarnex.metainfo.xml usr/share/man/man6/quarnex.6.gz \
    usr/share/man/cs/man6/quarnex.6.gz \
    usr/share/doc/quarnex/copyright usr/share/doc/quarnex/changelog.gz \
    usr/share/icons/hicolor/48x48/apps/cz.marbek.quarnex.png \
    usr/share/icons/hicolor/256x256/apps/cz.marbek.quarnex.png; do
    grep -qx "./$file" "$out/files" || fail "$file is not in the package"
done
! grep -q '^./usr/bin/' "$out/files" || fail "the package has files in /usr/bin"

dpkg-deb -x "$deb" "$out/root"
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$out/config" QUARNEX_TRACE_FIRST_FRAME=1 \
    "$out/root/usr/games/quarnex" 2>"$out/game.err" &
game_pid=$!
for ((i = 0; i < 100; i++)); do
    grep -q "first frame" "$out/game.err" && break
    kill -0 "$game_pid" 2>/dev/null || fail "the unpacked game ended at once"
    sleep 0.1
done
grep -q "first frame" "$out/game.err" || fail "the unpacked game painted no frame in 10 s"
echo "passed: $deb"
