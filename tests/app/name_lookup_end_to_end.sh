#!/usr/bin/env bash
# The real game looks names up without stopping its window: in a network
# namespace of its own whose only name server never answers, the game is
# started to join a host and to ask a match server by name; while each name
# is being looked up the window's note is there and Escape (its "Zrusit")
# closes it at once; the game then goes on (the New game dialog opens after a
# join given up, the title loses the server's words after a server given up)
# and ends at once when asked to.
# Usage: name_lookup_end_to_end.sh <quarnex executable>
# Exit code 77 (skipped) when the tools are missing or namespaces are not
# allowed (not root).
set -euo pipefail

game=$1
for tool in Xvfb xdotool unshare python3 ip; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
if [ -z "${QUARNEX_IN_NAMESPACE:-}" ]; then
    unshare --net --mount true 2>/dev/null || { echo "skipped: no namespaces here"; exit 77; }
    exec env QUARNEX_IN_NAMESPACE=1 unshare --net --mount bash "$0" "$@"
fi

# The namespace: loopback only, and a name server on it that swallows every
# question (the system's resolver then waits its full time-out).
ip link set lo up
resolv=$(mktemp)
echo "nameserver 127.0.0.1" >"$resolv"
mount --bind "$resolv" /etc/resolv.conf
export RES_OPTIONS="timeout:15 attempts:1"
source "$(dirname "$0")/xvfb.sh"
work=$xvfb_work
python3 -c '
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("127.0.0.1", 53))
open(sys.argv[1], "w").close()
while True:
    s.recvfrom(4096)
' "$work/silent-ready" &
xvfb_track $!
wait_for 10 test -e "$work/silent-ready" || fail "the silent name server did not start"
has_window() { [ -n "$(xdotool search --name "^$1\$" 2>/dev/null)" ]; }
no_window() { ! has_window "$1"; }
title_has() { xdotool search --name "$1" >/dev/null 2>&1; }
xvfb_start 1024x768

# Starts the game with the options given; waits for the note of the lookup.
start_looking() {
    XDG_CONFIG_HOME="$work/config" "$game" "$@" 2>"$work/game.err" &
    game_pid=$!
    xvfb_track "$game_pid"
    wait_for 20 has_window "Sitova hra" || fail "no note while looking up ($*)"
    sleep 1
    ! grep -q "quarnex: " "$work/game.err" || fail "the lookup did not wait ($*)"
}

# Escape in the note, with the keyboard given to it.
give_up() {
    xdotool windowfocus --sync "$(xdotool search --name '^Sitova hra$' | head -n 1)"
    xdotool key Escape
}

# Joining a host by name: Escape gives up, the New game dialog follows.
start_looking --net-join nowhere.quarnex.test:29030
give_up
wait_for 3 no_window "Sitova hra" || fail "Escape did not close the note of a join"
wait_for 3 has_window "Nova hra" || fail "no New game dialog after giving up the join"
# The lookup given up on may still wait for the name server: the game
# does not wait for it when it ends.
xdotool key Escape
wait_for 3 no_window "Nova hra" || fail "Escape did not close the New game dialog"
xdotool key alt+F4
wait_for 5 bash -c "! kill -0 $game_pid" || fail "the game did not end promptly on Alt+F4"
wait "$game_pid" || fail "the game ended with an error"

# A match server by name: Escape gives up, the title is the game's again.
start_looking --server nowhere.quarnex.test --quick
title_has "pripojuji se k serveru" || fail "the title does not say the server is asked"
give_up
wait_for 3 no_window "Sitova hra" || fail "Escape did not close the note of a server"
wait_for 3 bash -c "! xdotool search --name 'pripojuji se k serveru'" ||
    fail "the title still names the server"
kill "$game_pid"
echo "passed"
