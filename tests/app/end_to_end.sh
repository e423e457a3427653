#!/usr/bin/env bash
# End-to-end test of the real game in an X server of its own (Xvfb): the New
# game dialog opens and OK starts the game; the mouse steers the Emperor and a
# click fires its forward shot; "Konec" ends the program and the settings hold
# the window size and the choice of players; the next start opens at that size
# with that choice and takes the keyboard at once; a bad option opens no game
# and says why in a message box. Screenshots are kept as test artefacts.
# Usage: end_to_end.sh <quarnex executable> <artefact folder>
# Exit code 77 (skipped) when Xvfb, xdotool or ImageMagick are missing.
set -euo pipefail

game=$1
artifacts=$2
for tool in Xvfb xdotool /usr/bin/import; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
mkdir -p "$artifacts"
source "$(dirname "$0")/xvfb.sh"
work=$xvfb_work

window_named() { xdotool search --name "^$1\$" | head -n 1; }
has_window() { [ -n "$(xdotool search --name "^$1\$" 2>/dev/null)" ]; }
no_window() { ! has_window "$1"; }
shot() { /usr/bin/import -window root "$artifacts/end-to-end-$1.png"; }
setting() { sed -n "s/^$1=//p" "$work/config/Marbek/quarnex.conf"; }

xvfb_start 1280x1024

start_game() {
    XDG_CONFIG_HOME="$work/config" QUARNEX_TRACE_FIRST_FRAME=1 "$game" 2>"$work/game.err" &
    game_pid=$!
    xvfb_track "$game_pid"
    wait_for 10 has_window "Nova hra" || fail "the New game dialog did not open"
    sleep 0.3
}

stop_game() {
    wait_for 10 bash -c "! kill -0 $game_pid" || fail "the game did not end"
    wait "$game_pid" || fail "the game ended with an error"
    game_pid=""
}

# First run: two persons; steer, fire, resize, then "Konec" from the menu.
start_game
grep -o 'first frame.*' "$work/game.err" || true
shot 1-new-game
xdotool key Return
wait_for 5 no_window "Nova hra" || fail "OK did not close the New game dialog"
main=$(window_named "Quarnex 2.00")
[ -n "$main" ] || fail "no main window"
# Steer the Emperor to the left part of the scene, then fire forward: the
# shot shows up ahead of the ship, toward the Rebel on the right.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --window "$main" 120 160
sleep 1.5
/usr/bin/import -window root -crop "200x40+$((X + 180))+$((Y + 140))" "$work/ahead-before.png"
xdotool click 1
sleep 0.15
shot 2-forward-shot
/usr/bin/convert "$artifacts/end-to-end-2-forward-shot.png" \
    -crop "200x40+$((X + 180))+$((Y + 140))" +repage "$work/ahead-after.png"
changed=$(/usr/bin/compare -metric AE -fuzz 10% "$work/ahead-before.png" "$work/ahead-after.png" \
    null: 2>&1 || true)
[ "${changed%%.*}" -gt 20 ] || fail "no forward shot ahead of the Emperor ($changed pixels changed)"
xdotool windowsize "$main" 800 600
sleep 0.5
xdotool key alt+h
sleep 0.3
shot 3-menu
xdotool key k
stop_game
[ "$(setting pozice)" = "0340 0312 1140 0912" ] || fail "stored position: $(setting pozice)"
[ "$(setting PL1)" = 0 ] && [ "$(setting PL2)" = 0 ] || fail "stored players after run 1"

# Second run: opens at the stored size, centred; the computer takes both
# sides; Alt+F4 ends it.
start_game
xdotool key Tab space Tab space Return
wait_for 5 no_window "Nova hra" || fail "the New game dialog did not close"
main=$(window_named "Quarnex 2.00")
geometry=$(xdotool getwindowgeometry "$main")
echo "$geometry" | grep -q "Position: 240,212" || fail "not centred: $geometry"
echo "$geometry" | grep -q "Geometry: 800x600" || fail "not the stored size: $geometry"
sleep 2
shot 4-computer-against-computer
# No window manager hands out the focus here: the main window has taken it
# back from the closed dialog, so Alt+F4 reaches it without a click.
xdotool key alt+F4
stop_game
[ "$(setting PL1)" = 1 ] && [ "$(setting PL2)" = 1 ] || fail "stored players after run 2"

# A bad option, as from a launcher (no terminal): no game opens, the reason
# shows in a message box and on standard error, and the status is 2.
XDG_CONFIG_HOME="$work/config" "$game" --bogus </dev/null >/dev/null 2>"$work/bad.err" &
bad_pid=$!
xvfb_track "$bad_pid"
wait_for 10 has_window "Quarnex 2.00" || fail "no message box for a bad option"
sleep 0.3
shot 5-bad-option
has_window "Nova hra" && fail "a bad option opened a game"
xdotool windowfocus --sync "$(window_named "Quarnex 2.00")" key Return
wait_for 10 bash -c "! kill -0 $bad_pid" || fail "the message box did not close"
status=0
wait "$bad_pid" || status=$?
[ "$status" = 2 ] || fail "a bad option ended with status $status"
# In the game's language (Czech here), as the box says it.
grep -q "neznama volba '--bogus'" "$work/bad.err" || fail "no Czech reason on standard error"
echo "passed; screenshots in $artifacts"
