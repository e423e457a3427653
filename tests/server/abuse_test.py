#!/usr/bin/env python3
"""One address trying to wear the match server down, with real processes.

halfopen: a flood of ENet connects from 127.0.0.2 (raw CONNECT datagrams,
each from a new source port, never finishing the handshake) while honest
ENet players from 127.0.0.1 create and join games: every game must be set up
within 2 s and play with nothing lost.

fill SECONDS: 14 connections from 127.0.0.2 each create a room and send
their own start and the largest inputs the game's packets allow; the
server's memory (RSS, from 3 s into the filling) may grow by at most 5 MB a
minute of it."""
import os
import random
import socket
import struct
import subprocess
import sys
import threading
import time

from server_process import start_server, stop_server

FILL_ROOMS = 14
MB_PER_MINUTE = 5.0
WARM_UP = 3


def start_abused_server(server_exe):
    # A sanitizer build holds freed memory back for a while: a small
    # quarantine keeps the server's size its own.
    env = dict(os.environ)
    env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"),
                                                 "quarantine_size_mb=1"]))
    return start_server(server_exe, env=env)


def connect_datagram():
    """An ENet CONNECT command (protocol 1.3, 52 bytes) asking for a match
    connection, as a client's first datagram is."""
    header = struct.pack(">HH", 0x8FFF, random.getrandbits(16))  # no peer yet, sent time
    command = struct.pack(">BBH", 0x82, 0xFF, 1)  # connect, acknowledge; no channel; seq 1
    body = struct.pack(">HBBIIIIIIIIII", 0, 0xFF, 0xFF, 1400, 32768, 2, 0, 0, 5000, 2, 2,
                       random.getrandbits(32), 0x514D0001)
    return header + command + body


def flood(port, stop, sent):
    while not stop.is_set():
        for _ in range(50):
            s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
            s.bind(("127.0.0.2", 0))
            s.sendto(connect_datagram(), ("127.0.0.1", port))
            s.close()
            sent[0] += 1
        time.sleep(0.02)


def rss_kb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def half_open(server_exe, loadgen_exe):
    server, port = start_abused_server(server_exe)
    stop, sent = threading.Event(), [0]
    flooder = threading.Thread(target=flood, args=(port, stop, sent))
    try:
        flooder.start()
        while sent[0] < 4100:
            time.sleep(0.05)
        load = subprocess.run([loadgen_exe, "--server", "127.0.0.1:%d" % port, "--games", "4",
                               "--seconds", "2", "--transport", "enet", "--setup-seconds", "2"],
                              capture_output=True, text=True, timeout=60)
    finally:
        stop.set()
        flooder.join()
        code = stop_server(server)
    print(load.stdout, load.stderr, end="")
    print("flood: %d connect datagrams from 127.0.0.2" % sent[0])
    last = load.stdout.strip().splitlines()[-1] if load.stdout.strip() else ""
    if load.returncode != 0 or not last.startswith("games 4, ") or not last.endswith(", lost 0"):
        print("honest players were kept out")
        return 1
    return 0 if code == 0 else 1


def fill(server_exe, loadgen_exe, seconds):
    server, port = start_abused_server(server_exe)
    try:
        filler = subprocess.Popen([loadgen_exe, "--server", "127.0.0.1:%d" % port, "--bind",
                                   "127.0.0.2", "--fill", str(FILL_ROOMS), "--seconds",
                                   str(seconds)],
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        # Measured once the connections are open and filling: the growth,
        # not what 14 connections cost.
        time.sleep(WARM_UP)
        before = rss_kb(server.pid)
        out, err = filler.communicate(timeout=seconds + 60)
        after = rss_kb(server.pid)
    finally:
        code = stop_server(server)
    print(out, err, end="")
    grown = (after - before) / 1024.0
    bound = MB_PER_MINUTE * seconds / 60.0
    print("server memory %.1f MB -> %.1f MB: grew %.2f MB in %d s of filling (bound %.2f MB)" %
          (before / 1024.0, after / 1024.0, grown, seconds - WARM_UP, bound))
    if filler.returncode != 0 or "packets sent" not in out:
        print("the filler did not run")
        return 1
    return 0 if grown <= bound and code == 0 else 1


def main():
    server_exe, loadgen_exe, scenario = sys.argv[1:4]
    if scenario == "halfopen":
        return half_open(server_exe, loadgen_exe)
    return fill(server_exe, loadgen_exe, int(sys.argv[4]) if len(sys.argv) > 4 else 60)


if __name__ == "__main__":
    sys.exit(main())
