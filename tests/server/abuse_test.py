#!/usr/bin/env python3
"""One address trying to wear the match server down, with real processes.

halfopen: floods of ENet connects (raw CONNECT datagrams never finishing the
handshake) from one address, 300 and 1000 forged loopback sources, while a
game runs and honest ENet players from 127.0.0.1 create and join games: every
game must be set up within 2 s and play with nothing lost, and the server
must send the forged sources no more bytes than they sent it.

fill SECONDS: 14 connections from 127.0.0.2 each create a room and send
their own start and the largest inputs the game's packets allow; the
server's memory (RSS, from 3 s into the filling) may grow by at most 5 MB a
minute of it."""
import os
import random
import resource
import selectors
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


class Flood:
    """Connect datagrams at `rate` a second, each from the next of `sources`
    loopback addresses (127.1.x.y; one socket each, so every connect comes
    with a new connect ID from a known port); what the server sends back to
    them is counted."""

    def __init__(self, port, sources, rate):
        self.port, self.rate = port, rate
        if sources > 1:
            resource.setrlimit(resource.RLIMIT_NOFILE, (4096, 4096))
        self.sockets = []
        for i in range(sources):
            s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
            s.setblocking(False)
            s.bind(("127.0.0.2" if sources == 1 else "127.1.%d.%d" % (i // 250, i % 250 + 1), 0))
            self.sockets.append(s)
        self.selector = selectors.DefaultSelector()
        for s in self.sockets:
            self.selector.register(s, selectors.EVENT_READ)
        self.sent = self.sent_bytes = self.back = self.back_bytes = 0
        self.stop = threading.Event()
        self.thread = threading.Thread(target=self.run)

    def run(self):
        start, turn = time.monotonic(), 0
        while not self.stop.is_set():
            due = int((time.monotonic() - start) * self.rate)
            while self.sent < due:
                datagram = connect_datagram()
                self.sockets[turn].sendto(datagram, ("127.0.0.1", self.port))
                turn = (turn + 1) % len(self.sockets)
                self.sent += 1
                self.sent_bytes += len(datagram)
            self.drain(0.005)

    def drain(self, timeout):
        for key, _ in self.selector.select(timeout):
            while True:
                try:
                    self.back_bytes += len(key.fileobj.recv(2048))
                    self.back += 1
                except BlockingIOError:
                    break

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *_):
        self.stop.set()
        self.thread.join()

    def finish(self, seconds):
        """Keeps counting what comes back for a while after the flood."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            self.drain(0.05)
        for s in self.sockets:
            s.close()


def run_loadgen(loadgen_exe, port, games, seconds):
    return subprocess.Popen([loadgen_exe, "--server", "127.0.0.1:%d" % port, "--games",
                             str(games), "--seconds", str(seconds), "--transport", "enet",
                             "--setup-seconds", "2"],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)


def games_kept(name, load, games):
    out, err = load.communicate(timeout=90)
    print(out, err, end="")
    last = out.strip().splitlines()[-1] if out.strip() else ""
    if load.returncode != 0 or not last.startswith("games %d, " % games) or \
            not last.endswith(", lost 0"):
        print("%s: games were lost or kept out" % name)
        return False
    return True


def rss_kb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def answers_to_repeats(port):
    """Datagrams back in 3 s to one connect, the same connect again 0.6 s
    later (a client whose answer was lost), and at 1.2 s a ping to the peer
    the answer named (a client whose acknowledgement was lost)."""
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.bind(("127.0.0.3", 0))
    s.settimeout(0.1)
    connect, server = connect_datagram(), ("127.0.0.1", port)
    s.sendto(connect, server)
    start, back, peer, step = time.monotonic(), 0, None, 0
    while time.monotonic() < start + 3:
        elapsed = time.monotonic() - start
        if step == 0 and elapsed >= 0.6:
            s.sendto(connect, server)
            step = 1
        elif step == 1 and elapsed >= 1.2 and peer is not None:
            # header (the server's peer, sent time), then ping, acknowledge, seq 1
            s.sendto(struct.pack(">HHBBH", 0x8000 | peer, 0, 0x85, 0xFF, 1), server)
            step = 2
        try:
            answer = s.recv(2048)
            back += 1
            peer = struct.unpack(">H", answer[8:10])[0]  # the answer's outgoing peer
        except socket.timeout:
            pass
    s.close()
    return back


# (name, forged source addresses, connects a second)
FLOODS = [
    ("one address", 1, 2500),
    ("300 sources", 300, 1000),
    ("1000 sources", 1000, 2000),
]
FILL_SECONDS = 4


def half_open(server_exe, loadgen_exe):
    """Each flood against a server running a game: the running game loses
    nothing, honest games are set up within 2 s while the flood goes on, and
    no more bytes go back to the forged sources than came from them."""
    server, port = start_abused_server(server_exe)
    try:
        back = answers_to_repeats(port)
    finally:
        code = stop_server(server)
    print("one connect, sent twice and pinged: %d datagrams back (each answered once)" % back)
    failed = 0 if back == 3 and code == 0 else 1
    for name, sources, rate in FLOODS:
        server, port = start_abused_server(server_exe)
        try:
            running = run_loadgen(loadgen_exe, port, 1, FILL_SECONDS + 8)
            time.sleep(1.5)
            with Flood(port, sources, rate) as flood:
                time.sleep(FILL_SECONDS)
                honest = run_loadgen(loadgen_exe, port, 4, 2)
                ok = games_kept(name + ", honest games", honest, 4)
            ok = games_kept(name + ", the running game", running, 1) and ok
            flood.finish(3)
        finally:
            code = stop_server(server)
        print("%s: %d connects (%d bytes) at %d/s; back %d datagrams, %d bytes: "
              "%.1f bytes a connect" % (name, flood.sent, flood.sent_bytes, rate, flood.back,
                                        flood.back_bytes, flood.back_bytes / max(1, flood.sent)))
        if flood.back_bytes > flood.sent_bytes:
            print("%s: the server sent back more than the forged sources sent" % name)
            ok = False
        failed += 0 if ok and code == 0 else 1
    return 1 if failed else 0


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
