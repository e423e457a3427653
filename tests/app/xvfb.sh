# Sourced by the scripts that run the game in an X server of their own
# (Xvfb): starting the server, waiting for things, saying what failed and
# cleaning up. Needs bash with `set -euo pipefail` in the caller.
#
#   xvfb_start WxH        starts Xvfb on a free display and exports DISPLAY
#   xvfb_track PID        a process to end at exit (the game, a window manager)
#   wait_for SECONDS CMD  waits until CMD succeeds; non-zero status if it never does
#   fail MESSAGE          prints FAILED: MESSAGE (and the game's errors) and exits 1
#
# $xvfb_work is a private temporary folder, removed at exit; a caller that
# writes "$xvfb_work/game.err" gets its lines shown by fail.

# The game speaks Czech here, whatever the machine's language: the scripts
# find its windows by their Czech titles.
export LANGUAGE=cs

xvfb_work=$(mktemp -d)
xvfb_pids=()
xvfb_server=""

xvfb_cleanup() {
    local pid
    for pid in "${xvfb_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    [ -n "$xvfb_server" ] && kill "$xvfb_server" 2>/dev/null || true
    rm -rf "$xvfb_work"
}
trap xvfb_cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    if [ -s "$xvfb_work/game.err" ]; then sed 's/^/  game: /' "$xvfb_work/game.err" >&2; fi
    exit 1
}

# A command that fails unexpectedly under `set -e` still says which one it was.
trap 'echo "FAILED: line $LINENO: $BASH_COMMAND (status $?)" >&2' ERR

wait_for() {
    local limit=$(($1 * 10)) i
    shift
    for ((i = 0; i < limit; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

xvfb_track() {
    xvfb_pids+=("$1")
}

# A server of our own on a display number that nobody else uses: a taken
# number makes Xvfb exit at once, and then another one is tried. -noreset
# keeps the server from resetting (and refusing connections for a moment)
# each time its last client, such as xdotool, disconnects.
xvfb_start() {
    local size=$1 attempt display=""
    command -v Xvfb >/dev/null || fail "Xvfb is not installed"
    for attempt in 1 2 3 4 5; do
        rm -f "$xvfb_work/display"
        Xvfb ":$((200 + RANDOM % 800))" -displayfd 3 -screen 0 "${size}x24" -nolisten tcp \
            -noreset 3>"$xvfb_work/display" >"$xvfb_work/xvfb.log" 2>&1 &
        xvfb_server=$!
        wait_for 10 bash -c "test -s '$xvfb_work/display' || ! kill -0 $xvfb_server" || true
        if kill -0 "$xvfb_server" 2>/dev/null && [ -s "$xvfb_work/display" ]; then
            display=":$(head -n 1 "$xvfb_work/display")"
            break
        fi
        xvfb_server=""
    done
    [ -n "$display" ] || fail "Xvfb did not start: $(tail -n 3 "$xvfb_work/xvfb.log")"
    export DISPLAY=$display
    wait_for 10 xdotool getdisplaygeometry || fail "Xvfb on $DISPLAY does not answer"
}
