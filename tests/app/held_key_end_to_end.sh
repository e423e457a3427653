#!/usr/bin/env bash
# The real game under a window manager (openbox, in Xvfb) with a real held
# key: the Rebel's player holds Space (the fire key, repeated by the X
# server) through the end of a game; the end box stays open for as long as
# it is held, and a fresh Space after letting go closes it. The same in a
# network game of two windows on 127.0.0.1: the Rebel's player holds Space
# through its end, and that window's end box stays open too.
# Usage: held_key_end_to_end.sh <quarnex executable> <artefact folder>
# Exit code 77 (skipped) when Xvfb, xdotool, xprop or openbox are missing.
set -euo pipefail

game=$1
artifacts=$2
for tool in Xvfb xdotool xprop openbox python3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
mkdir -p "$artifacts"
source "$(dirname "$0")/xvfb.sh"
work=$xvfb_work

has_window() { [ -n "$(xdotool search --name "^$1\$" 2>/dev/null)" ]; }
no_window() { ! has_window "$1"; }
windows_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }

xvfb_start 1024x768
openbox --sm-disable >"$work/openbox.log" 2>&1 &
xvfb_track $!
wait_for 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
    fail "openbox did not start"

# The computer plays the Emperor, a person the Rebel.
mkdir -p "$work/config/Marbek"
printf '[Hra]\nPL1=1\nPL2=0\n' >"$work/config/Marbek/quarnex.conf"
XDG_CONFIG_HOME="$work/config" "$game" 2>"$work/game.err" &
game_pid=$!
xvfb_track "$game_pid"
wait_for 20 has_window "Nova hra" || fail "the New game dialog did not open"
sleep 0.5
xdotool key Return
wait_for 5 no_window "Nova hra" || fail "OK did not close the New game dialog"

# Space goes down and stays down; the Emperor wins sooner or later.
xdotool keydown space
trap 'xdotool keyup space 2>/dev/null || true; xvfb_cleanup' EXIT
wait_for 120 has_window "End.." || fail "the game did not end while Space was held"
for ((i = 0; i < 25; i++)); do
    has_window "End.." || fail "the end box closed after $((i / 5)) s of a held Space"
    has_window "Nova hra" && fail "the New game dialog opened while Space was held"
    sleep 0.2
done
/usr/bin/import -window root "$artifacts/held-key-end-box.png" 2>/dev/null || true

# Let go, then a fresh Space on the box's button closes it.
xdotool keyup space
sleep 0.3
xdotool key space
wait_for 10 no_window "End.." || fail "a fresh Space did not close the end box"
wait_for 10 has_window "Nova hra" || fail "no New game dialog after the end box"
kill "$game_pid"

# A network game: the host plays the Emperor and does nothing, the joiner's
# player holds Space as the Rebel until the game ends.
port=$(python3 -c 'import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
for who in host join; do mkdir -p "$work/$who/Marbek"; done
printf '[Vzhled]\npozice=0000 0000 0500 0380\n' >"$work/host/Marbek/quarnex.conf"
printf '[Vzhled]\npozice=0520 0000 0500 0380\n' >"$work/join/Marbek/quarnex.conf"
XDG_CONFIG_HOME="$work/host" "$game" --net-host "$port" 2>>"$work/game.err" &
xvfb_track $!
wait_for 20 has_window "Quarnex 2.00 - cekam na soupere .port $port." ||
    fail "the host does not wait for a player"
XDG_CONFIG_HOME="$work/join" "$game" --net-join "127.0.0.1:$port" 2>>"$work/game.err" &
xvfb_track $!
wait_for 20 has_window "Quarnex 2.00 - sitova hra za povstalce" || fail "the joiner did not join"
join=$(xdotool search --name "sitova hra za povstalce" | head -n 1)
xdotool windowactivate --sync "$join" 2>/dev/null || xdotool windowfocus --sync "$join"
sleep 0.5
xdotool keydown space
wait_for 120 bash -c "[ \$(xdotool search --onlyvisible --name '^End..\$' 2>/dev/null | wc -l) -ge 2 ]" ||
    fail "the network game did not end on both machines while Space was held"
for ((i = 0; i < 25; i++)); do
    [ "$(windows_named "End..")" -eq 2 ] ||
        fail "the network end box closed after $((i / 5)) s of a held Space"
    sleep 0.2
done
/usr/bin/import -window root "$artifacts/held-key-net-end-box.png" 2>/dev/null || true
xdotool keyup space
sleep 0.3
xdotool key space
wait_for 10 bash -c "[ \$(xdotool search --onlyvisible --name '^End..\$' 2>/dev/null | wc -l) -eq 1 ]" ||
    fail "a fresh Space did not close the joiner's network end box"
echo "passed"
