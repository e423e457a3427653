#!/usr/bin/env bash
# Measures the desktop game in an X server of its own (Xvfb, 1920 x 1080,
# with openbox when it is installed): the time from launch to the first
# painted frame, then, while the computer plays both sides, the CPU over
# SECONDS (utime + stime from /proc) and the memory at the end (RSS, PSS
# from smaps_rollup, and the peak RSS). With KSpaceDuel installed
# (/usr/games/kspaceduel) it plays computer against computer at the same
# time on the same screen and is measured alike, side by side. Prints
# figures; it is not a test. Any step that fails says which one.
# Usage: measure_desktop.sh <quarnex executable> [seconds] [WxH|default]
set -euo pipefail

game=$1
seconds=${2:-60}
size=${3:-default}
kspaceduel=${KSPACEDUEL:-/usr/games/kspaceduel}
for tool in Xvfb xdotool /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "FAILED: $tool is not installed" >&2; exit 1; }
done
source "$(dirname "$0")/xvfb.sh"
work=$xvfb_work

has_window() { [ -n "$(xdotool search --name "^$1\$" 2>/dev/null)" ]; }
# The largest window of that class (a toolkit may own 1x1 helper windows of
# the same name).
main_window() {
    local id
    for id in $(xdotool search --class "^$1\$" 2>/dev/null); do
        xdotool getwindowgeometry "$id" | awk -v id="$id" '/Geometry:/ { split($2, s, "x"); print s[1] * s[2], id }'
    done | sort -n | tail -n 1 | awk '$1 > 1 { print $2 }'
}
has_main_window() { [ -n "$(main_window "$1")" ]; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
memory() {
    printf 'RSS %.1f MiB, PSS %.1f MiB' \
        "$(awk '/^Rss:/ { print $2 / 1024 }' "/proc/$1/smaps_rollup")" \
        "$(awk '/^Pss:/ { print $2 / 1024 }' "/proc/$1/smaps_rollup")"
}

xvfb_start 1920x1080
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    xvfb_track $!
    sleep 1
fi

# Both sides to the computer; the window as it opens the first time unless
# a size is asked for.
mkdir -p "$work/config/Marbek"
printf '[Hra]\nPL1=1\nPL2=1\n' >"$work/config/Marbek/quarnex.conf"
if [ "$size" != default ]; then
    printf '\n[Vzhled]\npozice=0000 0000 %04d %04d\n' "${size%x*}" "${size#*x}" \
        >>"$work/config/Marbek/quarnex.conf"
fi

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
pid=$(pgrep -P "$game_pid" -x quarnex || true)
[ -n "$pid" ] || fail "no quarnex process under /usr/bin/time"
main=$(xdotool search --name '^Quarnex 2.00$' | head -n 1)
[ -n "$main" ] || fail "no main window"

other=""
if [ -x "$kspaceduel" ]; then
    printf '[Game]\nplayer0IsAi=true\nplayer1IsAi=true\n' >"$work/config/kspaceduelrc"
    XDG_CONFIG_HOME="$work/config" dbus-run-session "$kspaceduel" >/dev/null 2>&1 &
    xvfb_track $!
    wait_for 20 has_main_window kspaceduel || fail "KSpaceDuel did not open its window"
    other=$(pgrep -x kspaceduel | head -n 1)
    ksd_window=$(main_window kspaceduel)
    # Beside the game's window, not over it; it stops after each round
    # until Space is pressed, so Space is pressed every second.
    xdotool windowmove "$ksd_window" 0 560
    xdotool windowactivate --sync "$ksd_window"
    sleep 2
    (while kill -0 "$other" 2>/dev/null; do xdotool key space; sleep 1; done) &
    xvfb_track $!
else
    echo "KSpaceDuel is not installed ($kspaceduel): measuring the game alone"
fi
sleep 2

hz=$(getconf CLK_TCK)
before=$(cpu_ticks "$pid")
[ -n "$other" ] && other_before=$(cpu_ticks "$other")
sleep "$seconds"
kill -0 "$pid" 2>/dev/null || fail "the game ended while it was measured"
percent() { awk -v t="$1" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.2f%% of one core", 100 * t / hz / s }'; }
echo "quarnex, computer against computer for ${seconds} s: $(percent $(($(cpu_ticks "$pid") - before))), $(memory "$pid")"
xdotool getwindowgeometry "$main" | sed -n 's/^ *Geometry: /  window: /p'
if [ -n "$other" ]; then
    echo "KSpaceDuel, computer against computer for ${seconds} s:" \
        "$(percent $(($(cpu_ticks "$other") - other_before))), $(memory "$other")"
    xdotool getwindowgeometry "$ksd_window" | sed -n 's/^ *Geometry: /  window: /p'
fi
if [ -n "${SCREENSHOT:-}" ]; then import -window root "$SCREENSHOT"; fi
xdotool windowfocus --sync "$main" key alt+F4 || fail "could not send Alt+F4 to the main window"
wait_for 10 bash -c "! kill -0 $game_pid" || fail "the game did not end on Alt+F4"
wait "$game_pid" || fail "the game ended with an error"
peak=$(sed -n 's/^\tMaximum resident set size (kbytes): //p' "$work/time.txt")
[ -n "$peak" ] || fail "no peak memory in the report of /usr/bin/time"
echo "quarnex peak memory (max RSS, kB): $peak"
