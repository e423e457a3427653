#!/usr/bin/env bash
# Measures the desktop game in an X server of its own (Xvfb): the time from
# launch to the first painted frame, the peak memory, and the CPU used while
# the computer plays both sides for 20 s in a 1920 x 1080 window. Prints
# figures; it is not a test. Any step that fails says which one.
# Usage: measure_desktop.sh <quarnex executable> [seconds] [WxH]
set -euo pipefail

game=$1
seconds=${2:-20}
size=${3:-1920x1080}
for tool in Xvfb xdotool /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "FAILED: $tool is not installed" >&2; exit 1; }
done
source "$(dirname "$0")/xvfb.sh"
work=$xvfb_work

has_window() { [ -n "$(xdotool search --name "^$1\$" 2>/dev/null)" ]; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

xvfb_start 1920x1200

# Both sides to the computer, a window of the asked size.
mkdir -p "$work/config/Marbek"
printf '[Hra]\nPL1=1\nPL2=1\n\n[Vzhled]\npozice=0000 0000 %04d %04d\n' "${size%x*}" "${size#*x}" \
    >"$work/config/Marbek/quarnex.conf"

launched=$(date +%s%3N)
XDG_CONFIG_HOME="$work/config" QUARNEX_TRACE_FIRST_FRAME=1 \
    /usr/bin/time -v -o "$work/time.txt" "$game" 2>"$work/game.err" &
game_pid=$!
xvfb_track "$game_pid"
wait_for 10 has_window "Nova hra" || fail "the New game dialog did not open"
first=$(sed -n 's/.*first frame at \([0-9]*\) ms since the epoch, \([0-9]*\) ms after start.*/\1 \2/p' \
    "$work/game.err")
[ -n "$first" ] || fail "the game did not report its first frame"
echo "first frame: $((${first% *} - launched)) ms after launch (${first#* } ms after main)"
xdotool key Return
wait_for 5 bash -c "! xdotool search --name '^Nova hra\$'" || fail "OK did not close the New game dialog"
sleep 1
pid=$(pgrep -P "$game_pid" -x quarnex || true)
[ -n "$pid" ] || fail "no quarnex process under /usr/bin/time"
hz=$(getconf CLK_TCK)
before=$(cpu_ticks "$pid")
sleep "$seconds"
kill -0 "$pid" 2>/dev/null || fail "the game ended while it was measured"
after=$(cpu_ticks "$pid")
echo "CPU while the computer plays both sides for ${seconds} s:" \
    "$(awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.1f%% of one core", 100 * t / hz / s }')"
main=$(xdotool search --name '^Quarnex 2.00$' | head -n 1)
[ -n "$main" ] || fail "no main window"
xdotool getwindowgeometry "$main" | sed -n 's/^ *Geometry: /window: /p'
xdotool windowfocus --sync "$main" key alt+F4 || fail "could not send Alt+F4 to the main window"
wait_for 10 bash -c "! kill -0 $game_pid" || fail "the game did not end on Alt+F4"
wait "$game_pid" || fail "the game ended with an error"
peak=$(sed -n 's/^\tMaximum resident set size (kbytes): //p' "$work/time.txt")
[ -n "$peak" ] || fail "no peak memory in the report of /usr/bin/time"
echo "peak memory (max RSS, kB): $peak"
