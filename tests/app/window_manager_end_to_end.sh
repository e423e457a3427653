#!/usr/bin/env bash
# The real game under a window manager (openbox, in Xvfb): a tiny stored size
# still maps a playable main window; the New game dialog can be neither
# maximised nor resized; a window closed while maximised stores its restored
# rectangle, frame included, so the next start has the same size.
# Usage: window_manager_end_to_end.sh <quarnex executable>
# Exit code 77 (skipped) when Xvfb, xdotool, xprop or openbox are missing.
set -euo pipefail

game=$1
for tool in Xvfb xdotool xprop xwininfo openbox; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
source "$(dirname "$0")/xvfb.sh"
work=$xvfb_work

has_window() { [ -n "$(xdotool search --name "^$1\$" 2>/dev/null)" ]; }
no_window() { ! has_window "$1"; }
# xwininfo's field of a window: "Width", "Height", "Absolute upper-left X" ...
field() { xwininfo -id "$1" | sed -n "s/^ *$2: *//p"; }
setting() { sed -n "s/^$1=//p" "$work/config/Marbek/quarnex.conf"; }

xvfb_start 1280x1024
openbox --sm-disable >"$work/openbox.log" 2>&1 &
xvfb_track $!
wait_for 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
    fail "openbox did not start"

# Starts the game with "pozice" = $1 and answers the New game dialog with OK;
# sets $main to the main window.
start_game() {
    mkdir -p "$work/config/Marbek"
    printf '[Vzhled]\npozice=%s\n' "$1" >"$work/config/Marbek/quarnex.conf"
    XDG_CONFIG_HOME="$work/config" "$game" 2>"$work/game.err" &
    game_pid=$!
    xvfb_track "$game_pid"
    wait_for 10 has_window "Nova hra" || fail "the New game dialog did not open"
    sleep 0.5
    dialog=$(xdotool search --name '^Nova hra$' | head -n 1)
    xdotool key Return
    wait_for 5 no_window "Nova hra" || fail "OK did not close the New game dialog"
    main=$(xdotool search --onlyvisible --name '^Quarnex 2.00$' | head -n 1)
    [ -n "$main" ] || fail "the main window is not mapped (pozice $1)"
}

stop_game() {
    xdotool key alt+F4
    wait_for 10 bash -c "! kill -0 $game_pid" || fail "the game did not end on Alt+F4"
    wait "$game_pid" || fail "the game ended with an error"
}

# A tiny stored size: the main window is mapped, with a playable size.
start_game "0000 0000 0001 0001"
[ "$(field "$main" Width)" -ge 160 ] && [ "$(field "$main" Height)" -ge 120 ] ||
    fail "main window of $(field "$main" Width)x$(field "$main" Height) for a tiny stored size"
stop_game

# The dialog's allowed actions: no resizing, no maximising.
start_game "0200 0081 1000 0700"
actions=$(xprop -id "$dialog" _NET_WM_ALLOWED_ACTIONS 2>/dev/null || true)
case "$actions" in
    *RESIZE* | *MAXIMIZE*) fail "the New game dialog allows $actions" ;;
esac
width=$(field "$main" Width)
height=$(field "$main" Height)

# Maximise with a double click on the title bar, then close with Alt+F4.
x=$(field "$main" "Absolute upper-left X")
y=$(field "$main" "Absolute upper-left Y")
xdotool mousemove $((x + 60)) $((y - 10)) click --repeat 2 --delay 60 1
wait_for 5 bash -c "xprop -id $main _NET_WM_STATE | grep -q MAXIMIZED_HORZ" ||
    fail "the main window did not maximise"
stop_game
[ "$(setting pozice)" = "0240 0202 1040 0821" ] ||
    fail "closing maximised stored $(setting pozice), not the restored 0240 0202 1040 0821"

# The next start has the same client size.
start_game "$(setting pozice)"
[ "$(field "$main" Width)x$(field "$main" Height)" = "${width}x$height" ] ||
    fail "reopened at $(field "$main" Width)x$(field "$main" Height), not ${width}x$height"
stop_game
echo "passed"
