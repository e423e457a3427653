#!/usr/bin/env bash
# End-to-end test of the real game under a Wayland compositor of its own
# (weston, headless, software rendering): the game starts with its New game
# dialog open, and a screenshot must show the scene and the dialog's pictures
# with no transparent pixel (the checker program says what it found). The
# last screenshot is kept as a test artefact.
# Usage: wayland_end_to_end.sh <quarnex executable> <screenshot checker> <artefact folder>
# Exit code 77 (skipped) when weston or Qt's Wayland plugin is missing.
set -euo pipefail

game=$1
checker=$2
artifacts=$3
for tool in weston weston-screenshooter; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-*.so" >/dev/null ||
    { echo "skipped: Qt's Wayland plugin (qt6-wayland) is not installed"; exit 77; }
mkdir -p "$artifacts"
work=$(mktemp -d)
chmod 700 "$work"
compositor_pid=""
game_pid=""

cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "$compositor_pid" ] && kill "$compositor_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*"
    [ -f "$work/game.err" ] && sed 's/^/  game: /' "$work/game.err"
    [ -f "$work/weston.log" ] && tail -n 20 "$work/weston.log" | sed 's/^/  weston: /'
    exit 1
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local limit=$(($1 * 10))
    shift
    for ((i = 0; i < limit; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# The compositor's runtime folder is private (mode 700), as Wayland requires.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=quarnex-test-$$
# A plain background without the panel, so nothing but the game's windows
# changes on the screen. --debug allows screenshots; without --use-pixman the
# screenshooter hangs.
cat >"$work/weston.ini" <<'EOF'
[shell]
background-color=0xff183020
background-image=none
panel-position=none
EOF
weston --config="$work/weston.ini" --backend=headless-backend.so --use-pixman \
    --socket="$WAYLAND_DISPLAY" --width=1280 --height=1024 --debug --idle-time=0 \
    >"$work/weston.log" 2>&1 &
compositor_pid=$!
wait_for 10 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "weston did not start"

XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=wayland QUARNEX_TRACE_FIRST_FRAME=1 \
    "$game" 2>"$work/game.err" &
game_pid=$!
wait_for 15 grep -q "first frame" "$work/game.err" || fail "the game showed no picture"

# The dialog opens just after the first frame: screenshots until the check
# passes or time runs out.
shoot_and_check() {
    (cd "$work" && rm -f wayland-screenshot-*.png && weston-screenshooter) || return 1
    cp "$work"/wayland-screenshot-*.png "$artifacts/wayland-end-to-end.png" || return 1
    "$checker" "$artifacts/wayland-end-to-end.png" >"$work/check.txt"
}
passed=0
for attempt in $(seq 1 20); do
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended"
    if shoot_and_check; then
        passed=1
        break
    fi
    sleep 0.5
done
cat "$work/check.txt" 2>/dev/null || true
[ "$passed" = 1 ] || fail "the screenshot does not show the game's pictures (see above)"
! grep -q "ERROR: AddressSanitizer\|runtime error:" "$work/game.err" ||
    fail "the game reported a memory error"
echo "passed: the scene and the New game dialog's pictures show under Wayland"
