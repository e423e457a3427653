#!/usr/bin/env bash
# Measures the desktop game in an X server of its own (Xvfb): the time from
# launch to the first painted frame, the peak memory, and the CPU used while
# the computer plays both sides for 20 s in a 1920 x 1080 window. Prints
# figures; it is not a test. Usage: measure_desktop.sh <quarnex executable>
set -euo pipefail

game=$1
seconds=${2:-20}
work=$(mktemp -d)
server_pid=""
game_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

wait_for() {
    local limit=$(($1 * 10))
    shift
    for ((i = 0; i < limit; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}
has_window() { [ -n "$(xdotool search --name "^$1\$" 2>/dev/null)" ]; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

display=":$((200 + RANDOM % 800))"
Xvfb "$display" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
server_pid=$!
export DISPLAY=$display
wait_for 10 xdotool getdisplaygeometry

# Both sides to the computer, a 1920 x 1080 window.
mkdir -p "$work/config/Marbek"
printf '[Hra]\nPL1=1\nPL2=1\n\n[Vzhled]\npozice=0000 0000 1920 1080\n' \
    >"$work/config/Marbek/quarnex.conf"

launched=$(date +%s%3N)
XDG_CONFIG_HOME="$work/config" QUARNEX_TRACE_FIRST_FRAME=1 \
    /usr/bin/time -v -o "$work/time.txt" "$game" 2>"$work/game.err" &
game_pid=$!
wait_for 10 has_window "Nova hra"
first=$(sed -n 's/.*first frame at \([0-9]*\) ms since the epoch, \([0-9]*\) ms after start.*/\1 \2/p' \
    "$work/game.err")
echo "first frame: $(( ${first% *} - launched )) ms after launch (${first#* } ms after main)"
xdotool key Return
sleep 1
pid=$(pgrep -P "$game_pid" -x quarnex || echo "$game_pid")
hz=$(getconf CLK_TCK)
before=$(cpu_ticks "$pid")
sleep "$seconds"
after=$(cpu_ticks "$pid")
echo "CPU while the computer plays both sides for ${seconds} s:" \
    "$(awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.1f%% of one core", 100 * t / hz / s }')"
main=$(xdotool search --name '^Quarnex 2.00$' | head -n 1)
xdotool getwindowgeometry "$main" | sed -n 's/^ *Geometry: /window: /p'
xdotool windowfocus --sync "$main" key alt+F4
wait "$game_pid" || true
game_pid=""
sed -n 's/^\tMaximum resident set size (kbytes): /peak memory (max RSS, kB): /p' "$work/time.txt"
