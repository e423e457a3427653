#!/usr/bin/env bash
# The two Debian packages CPack builds from the built tree: `quarnex` (the
# desktop game) and `quarnex-server` (the match server, its page and unit).
# For each, dpkg-deb shows its name, version, dependencies (found by
# dpkg-shlibdeps: Qt for the game, none of Qt or SDL for the server) and
# files; lintian --pedantic finds nothing, not even an info tag (in a
# sanitizer build, nothing but its missing hardening). Unpacked, the game paints its first frame
# on Qt's offscreen platform, and the server, started as its unit starts
# it, serves the page from where the package put it.
# Usage: package_test.sh <build folder> [build type]
set -euo pipefail

build=$1
build_type=${2:-}
out=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$out"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    for log in "$out"/*.err; do
        [ -s "$log" ] && sed "s/^/  $(basename "$log" .err): /" "$log" >&2
    done
    exit 1
}
# A sanitizer build goes without the hardening flags (the sanitizers
# intercept the same calls); a Release build has them.
suppress=""
[ "$build_type" = Release ] || suppress=hardening-no-fortify-functions,hardening-no-bindnow
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (tools/install-deps.sh installs it)"
done

(cd "$build" && cpack -G DEB -B "$out/package") >"$out/cpack.log" 2>&1 ||
    fail "cpack: $(tail -n 5 "$out/cpack.log")"

# package, then the files it must hold (and its executable first)
check_package() {
    local name=$1 deb
    shift
    deb="$out/package/${name}_2.00_$(dpkg --print-architecture).deb"
    [ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$out/package")"
    [ "$(dpkg-deb -f "$deb" Package)" = "$name" ] || fail "package name $(dpkg-deb -f "$deb" Package)"
    [ "$(dpkg-deb -f "$deb" Version)" = 2.00 ] || fail "$name: version $(dpkg-deb -f "$deb" Version)"
    dpkg-deb -c "$deb" | awk '{ print $6 }' >"$out/$name.files"
    for file in "$@" "usr/share/doc/$name/copyright" "usr/share/doc/$name/changelog.gz"; do
        grep -qx "./$file" "$out/$name.files" || fail "$file is not in $name"
    done
    ! grep -q '^./usr/bin/' "$out/$name.files" || fail "$name has files in /usr/bin"
    dpkg-deb -x "$deb" "$out/root"
    if command -v lintian >/dev/null; then
        lintian --pedantic --display-info --fail-on error,warning,info,pedantic \
            ${suppress:+--suppress-tags "$suppress"} "$deb" >"$out/$name-lintian.err" 2>&1 ||
            fail "lintian --pedantic finds fault with $name"
    fi
}

check_package quarnex usr/games/quarnex usr/share/applications/cz.marbek.quarnex.desktop \
    usr/share/metainfo/cz.marbek.quarnex.metainfo.xml usr/share/man/man6/quarnex.6.gz \
    usr/share/man/cs/man6/quarnex.6.gz \
    usr/share/icons/hicolor/48x48/apps/cz.marbek.quarnex.png \
    usr/share/icons/hicolor/256x256/apps/cz.marbek.quarnex.png
check_package quarnex-server usr/games/quarnex-server usr/lib/systemd/system/quarnex-server.service \
    usr/share/man/man6/quarnex-server.6.gz usr/share/man/cs/man6/quarnex-server.6.gz \
    usr/share/quarnex-server/web/index.html usr/share/quarnex-server/web/index.html.gz

# Each package holds its own program only, and the server needs no desktop.
! grep -q 'quarnex-server' "$out/quarnex.files" || fail "the game's package holds server files"
! grep -q 'games/quarnex$\|applications\|icons' "$out/quarnex-server.files" ||
    fail "the server's package holds the game's files"
game_depends=$(dpkg-deb -f "$out"/package/quarnex_*.deb Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libsdl2 libstdc++6; do
    [[ "$game_depends" == *"$lib"* ]] || fail "the game does not depend on $lib: $game_depends"
done
server_depends=$(dpkg-deb -f "$out"/package/quarnex-server_*.deb Depends)
for lib in libenet7 libssl3 libsqlite3 libstdc++6; do
    [[ "$server_depends" == *"$lib"* ]] || fail "the server does not depend on $lib: $server_depends"
done
[[ ! "$server_depends" =~ qt|sdl|libx|libgl|wayland ]] ||
    fail "the server depends on desktop libraries: $server_depends"

: >"$out/game.err"
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$out/config" QUARNEX_TRACE_FIRST_FRAME=1 \
    "$out/root/usr/games/quarnex" 2>"$out/game.err" &
pids+=($!)
for ((i = 0; i < 100; i++)); do
    grep -q "first frame" "$out/game.err" && break
    kill -0 "${pids[0]}" 2>/dev/null || fail "the unpacked game ended at once"
    sleep 0.1
done
grep -q "first frame" "$out/game.err" || fail "the unpacked game painted no frame in 10 s"

# The server with the unit's own arguments, its paths under the unpacked tree.
unit="$out/root/usr/lib/systemd/system/quarnex-server.service"
args=$(sed -n 's/^Environment="QUARNEX_SERVER_ARGS=\(.*\)"$/\1/p' "$unit")
exec_start=$(sed -n 's/^ExecStart=\([^ ]*\) .*/\1/p' "$unit")
[ -x "$out/root$exec_start" ] || fail "the unit starts $exec_start, which the package does not hold"
[[ "$args" == *"--web /usr/share/quarnex-server/web"* ]] || fail "the unit serves no page: $args"
read -r -a argv <<<"${args//\/usr\//$out/root/usr/}"
: >"$out/server.out"
"$out/root$exec_start" "${argv[@]}" --port 0 --bind 127.0.0.1 --data "$out/data" \
    >"$out/server.out" 2>"$out/server.err" &
pids+=($!)
for ((i = 0; i < 100; i++)); do
    port=$(sed -n 's/.*quarnex-server: listening on \([0-9]*\).*/\1/p' "$out/server.out")
    [ -n "$port" ] && break
    kill -0 "${pids[1]}" 2>/dev/null || fail "the unpacked server ended at once"
    sleep 0.1
done
[ -n "$port" ] || fail "the unpacked server did not listen in 10 s"
python3 - "$port" "$out/root/usr/share/quarnex-server/web/index.html" <<'EOF' ||
import sys, urllib.request
page = urllib.request.urlopen("http://127.0.0.1:%s/" % sys.argv[1], timeout=10).read()
sys.exit(0 if page == open(sys.argv[2], "rb").read() else 1)
EOF
    fail "the unpacked server does not serve its page"
echo "passed: $(cd "$out/package" && ls ./*.deb | tr '\n' ' ')"
