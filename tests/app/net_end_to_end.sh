#!/usr/bin/env bash
# Two windows of the real game on one X server (Xvfb) play a network game on
# 127.0.0.1: one hosts as the Emperor, the other joins as the Rebel. A mouse
# move over the host's window steers the Emperor and a key in the joiner's
# window steers the Rebel; both ships move on both screens. A resize of one
# window stays local (the game goes on), and when the joiner closes its
# window the host says so and plays on alone. Screenshots are kept as test
# artefacts.
# Usage: net_end_to_end.sh <quarnex executable> <artefact folder>
# Exit code 77 (skipped) when Xvfb, xdotool or ImageMagick are missing.
set -euo pipefail

game=$1
artifacts=$2
for tool in Xvfb xdotool /usr/bin/import /usr/bin/compare python3; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
source "$(dirname "$0")/xvfb.sh"
work=$xvfb_work
mkdir -p "$artifacts"

port=$(python3 -c 'import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
title_of() { xdotool getwindowname "$1" 2>/dev/null || true; }
window_titled() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_title() { [ -n "$(window_titled "$1")" ]; }

# The client area's region W x H at arena position X,Y (the windows' client
# areas are 600x400, right below the menu bar), cut from a screenshot.
crop() {  # window x y w h out
    eval "$(xdotool getwindowgeometry --shell "$1")"
    local menu=$((HEIGHT - 400))
    /usr/bin/import -window root -crop "$4x$5+$((X + $2))+$((Y + menu + $3))" "$6"
}
changed() {  # before after
    local n
    n=$(/usr/bin/compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1 || true)
    echo "${n%%.*}"
}

start_player() {  # name, then the game's arguments
    local name=$1
    shift
    mkdir -p "$work/$name/Marbek"
    # Outer size 600 x (400 + a menu bar); without a window manager there is
    # no frame, so the client area is 600 x 400 below the menu bar.
    printf '[Vzhled]\npozice=0000 0000 0600 0430\n' >"$work/$name/Marbek/quarnex.conf"
    XDG_CONFIG_HOME="$work/$name" "$game" "$@" 2>>"$work/game.err" &
    xvfb_track $!
    eval "${name}_pid=$!"
}

xvfb_start 1280x1024
start_player host --net-host "$port" --side emperor
wait_for 15 has_title "cekam na soupere .port $port." || fail "the host does not wait for a player"
host=$(window_titled "cekam na soupere")
start_player join --net-join "127.0.0.1:$port"
wait_for 15 has_title "sitova hra za povstalce" || fail "the joiner did not join"
join=$(window_titled "sitova hra za povstalce")
wait_for 10 has_title "sitova hra za imperatora" || fail "the host did not start"
xdotool windowmove "$host" 0 0
xdotool windowmove "$join" 640 0
sleep 1
# The client area's height follows from the window's.
eval "$(xdotool getwindowgeometry --shell "$host")"
[ "$WIDTH" -eq 600 ] || fail "host window is $WIDTH wide"

for who in host join; do
    crop "${!who}" 40 30 160 130 "$work/$who-emperor-before.png"
    crop "${!who}" 366 20 120 110 "$work/$who-rebel-before.png"
done
/usr/bin/import -window root "$artifacts/net-1-start.png"

# The Emperor's player steers on the host; the Rebel's presses Up on the
# joiner.
eval "$(xdotool getwindowgeometry --shell "$host")"
xdotool mousemove --window "$host" 100 $((HEIGHT - 400 + 80))
xdotool windowfocus --sync "$join" || true
xdotool key --window "$join" Up
sleep 3
/usr/bin/import -window root "$artifacts/net-2-both-moved.png"
for who in host join; do
    crop "${!who}" 40 30 160 130 "$work/$who-emperor-after.png"
    crop "${!who}" 366 20 120 110 "$work/$who-rebel-after.png"
    e=$(changed "$work/$who-emperor-before.png" "$work/$who-emperor-after.png")
    r=$(changed "$work/$who-rebel-before.png" "$work/$who-rebel-after.png")
    echo "$who: $e pixels changed where the Emperor was sent, $r where the Rebel was sent"
    [ "$e" -gt 150 ] || fail "the Emperor does not show at his target on the $who's screen"
    [ "$r" -gt 150 ] || fail "the Rebel does not show at his target on the $who's screen"
done
# The title names the side only (the figures stand beside the menu, where
# they fit at this width).
[ "$(title_of "$host")" = "Quarnex 2.00 - sitova hra za imperatora" ] ||
    fail "the host's title is $(title_of "$host")"

# A resize on one machine only changes its own picture.
xdotool windowsize "$join" 500 380
sleep 1.5
case "$(title_of "$host")" in *"sitova hra za imperatora"*) ;;
    *) fail "the network game ended after a resize: $(title_of "$host")" ;; esac
has_title "^Sitova hra$" && fail "a message came up after a resize"

# The joiner closes its window: the host says so at once (not after the
# silence of a machine that vanished) and its own game goes on.
xdotool windowfocus --sync "$join" || true
xdotool key --window "$join" alt+F4 2>/dev/null || true  # the window is gone before the keys come up
wait_for 10 bash -c "! kill -0 $join_pid" || fail "the joiner did not close"
wait_for 3 has_title "^Sitova hra\$" || fail "the host did not notice the other machine left"
/usr/bin/import -window root "$artifacts/net-3-left.png"
case "$(title_of "$host")" in *sitova*) fail "the host's title still shows the network game" ;; esac
echo "passed; screenshots in $artifacts"
