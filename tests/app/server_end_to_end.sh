#!/usr/bin/env bash
# Three windows of the real game on one X server (Xvfb) meet through a match
# server started here on 127.0.0.1: one creates a game as the Emperor (its
# title shows the invite code), one joins with that code, one watches it. A
# mouse move over the creator's window steers the Emperor, and the ship
# moves on the joiner's and the spectator's screens too. The players' names
# (kept in their settings) stand in every title. When the joiner closes its
# window the creator says so. Screenshots are kept as artefacts.
# Usage: server_end_to_end.sh <quarnex> <quarnex-server> <artefact folder>
# Exit code 77 (skipped) when Xvfb, xdotool or ImageMagick are missing.
set -euo pipefail

game=$1
server=$2
artifacts=$3
for tool in Xvfb xdotool /usr/bin/import /usr/bin/compare; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
source "$(dirname "$0")/xvfb.sh"
work=$xvfb_work
mkdir -p "$artifacts"

title_of() { xdotool getwindowname "$1" 2>/dev/null || true; }
window_titled() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_title() { [ -n "$(window_titled "$1")" ]; }
crop() {  # window x y w h out: a region of the 600x400 client area
    eval "$(xdotool getwindowgeometry --shell "$1")"
    /usr/bin/import -window root -crop "$4x$5+$((X + $2))+$((Y + HEIGHT - 400 + $3))" "$6"
}
changed() {  # before after
    local n
    n=$(/usr/bin/compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1 || true)
    echo "${n%%.*}"
}
start_player() {  # name, the player's name, then the game's arguments
    local name=$1 player=$2
    shift 2
    mkdir -p "$work/$name/Marbek"
    printf '[Vzhled]\npozice=0000 0000 0600 0430\n[Hra]\njmeno=%s\n' "$player" \
        >"$work/$name/Marbek/quarnex.conf"
    XDG_CONFIG_HOME="$work/$name" "$game" "$@" 2>>"$work/game.err" &
    xvfb_track $!
    eval "${name}_pid=$!"
}

"$server" --port 0 --bind 127.0.0.1 >"$work/server.log" &
xvfb_track $!
wait_for 10 grep -q "listening on" "$work/server.log" || fail "the server did not start"
address=127.0.0.1:$(head -n 1 "$work/server.log" | awk '{print $NF}')

xvfb_start 1920x1080
start_player host Eva --server "$address" --create --side emperor
wait_for 15 has_title "cekam na soupere .kod" || fail "the creator shows no invite code"
host=$(window_titled "cekam na soupere")
code=$(title_of "$host" | sed -n 's/.*(kod \([0-9A-Z]*\)).*/\1/p')
[ ${#code} -eq 8 ] || fail "no invite code in the title: $(title_of "$host")"
/usr/bin/import -window root "$artifacts/server-1-created.png"

start_player join "Jan Černý" --server "$address" --join "$(echo "$code" | tr 'A-Z' 'a-z')"
wait_for 15 has_title "sitova hra za povstalce" || fail "the joiner did not join"
join=$(window_titled "sitova hra za povstalce")
wait_for 10 has_title "sitova hra za imperatora" || fail "the creator did not start"
start_player watch "" --server "$address" --watch "$code"
wait_for 15 has_title "divam se na hru $code" || fail "the spectator does not watch"
names="Eva (imperator) proti Jan Černý (povstalec)"
wait_for 10 has_title "divam se na hru $code - Eva .imperator. proti Jan Černý .povstalec.\$" ||
    fail "the spectator's title names nobody: $(title_of "$(window_titled "divam se")")"
watch=$(window_titled "divam se na hru")
xdotool windowmove "$host" 0 0
xdotool windowmove "$join" 640 0
xdotool windowmove "$watch" 0 500
sleep 2
for who in join watch; do crop "${!who}" 40 30 160 130 "$work/$who-before.png"; done

# The Emperor's player steers on the creator's window.
eval "$(xdotool getwindowgeometry --shell "$host")"
xdotool mousemove --window "$host" 100 $((HEIGHT - 400 + 80))
sleep 4
for who in host join; do
    case "$(title_of "${!who}")" in
        *"$names") ;;
        *) fail "the $who's title names nobody: $(title_of "${!who}")" ;;
    esac
done
/usr/bin/import -window root "$artifacts/server-2-playing-and-watched.png"
for who in join watch; do
    crop "${!who}" 40 30 160 130 "$work/$who-after.png"
    n=$(changed "$work/$who-before.png" "$work/$who-after.png")
    echo "$who: $n pixels changed where the Emperor was sent"
    [ "$n" -gt 150 ] || fail "the Emperor does not show at his target on the $who screen"
done

# The joiner closes its window: the creator says so.
xdotool windowfocus --sync "$join" || true
xdotool key --window "$join" alt+F4 2>/dev/null || true
wait_for 10 bash -c "! kill -0 $join_pid" || fail "the joiner did not close"
wait_for 5 has_title "^Sitova hra\$" || fail "the creator did not notice the other player left"
/usr/bin/import -window root "$artifacts/server-3-left.png"
echo "passed; screenshots in $artifacts"
