#!/usr/bin/env python3
"""The server at the edges of the internet, with real processes:

proxy:    behind a trusted proxy only the header the operator names counts,
          and only its last entry (the one the proxy wrote);
tls:      TLS handshakes from one address are bounded (a rate), others
          still get theirs;
rooms:    room creation from one address is bounded (throttled), the log
          tells the refusals once and then sums them up;
refusals: every refused request gets an answer (405, 413, a redirect on the
          TLS port), a drain tells the players when the server closes, and
          unusable certificate files name the file and the system's reason
          (exit status 2).

keepalive: idle HTTP keep-alives give way to new connections from their
          address, game connections are counted apart, and connections
          over a limit are answered 503 with Retry-After.

silence:  the server speaks at least once a second on every WebSocket: a
          connection that has asked for nothing yet, a player waiting in its
          room and a spectator of that room.

  edges_test.py QUARNEX_SERVER proxy|tls|rooms|refusals|keepalive|silence"""
import os
import re
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time

from raw_client import (CREATE, CREATED, ERROR, KEEP_ALIVE, THROTTLED, connect, create_room,
                        request, ws_open, ws_recv, ws_send)
from server_process import log_text, start_server, stop_server

failures = []


def check(ok, what):
    print("%s %s" % ("ok  " if ok else "FAIL", what))
    if not ok:
        failures.append(what)


def status_of(port, headers=(), method="GET", target="/metrics", body=b""):
    s = connect(port)
    try:
        return request(s, method, target, headers, body)[0]
    finally:
        s.close()


def proxy(server_exe):
    server, port = start_server(server_exe, "--trust-proxy", "127.0.0.1",
                                "--max-per-address", "16")
    try:
        # (what, headers, /metrics status: 200 only for a loopback client)
        cases = [
            ("a client's own Forwarded is ignored",
             ["Forwarded: for=127.0.0.1", "X-Forwarded-For: 198.51.100.1"], 404),
            ("only the last entry, the proxy's, counts",
             ["X-Forwarded-For: 127.0.0.1, 198.51.100.1"], 404),
            ("only the last header line, the proxy's, counts",
             ["X-Forwarded-For: 127.0.0.1", "X-Forwarded-For: 198.51.100.2"], 404),
            ("a loopback client named by the proxy gets /metrics",
             ["X-Forwarded-For: 198.51.100.1, 127.0.0.1"], 200),
        ]
        for what, headers, want in cases:
            got = status_of(port, headers)
            check(got == want, "%s (/metrics %d)" % (what, got))
        # A client naming itself anew in Forwarded each time stays one address.
        sockets = [ws_open(port, ["Forwarded: for=10.0.0.%d" % i,
                                  "X-Forwarded-For: 198.51.100.3"]) for i in range(40)]
        admitted = sum(1 for _, status, _ in sockets if status == 101)
        for s, _, _ in sockets:
            s.close()
        check(admitted == 16, "40 WebSockets of one client naming itself in Forwarded: %d "
              "admitted, its address's allowance" % admitted)
    finally:
        stop_server(server)
    server, port = start_server(server_exe, "--trust-proxy", "127.0.0.1",
                                "--proxy-header", "forwarded")
    try:
        kind, _ = create_room(port, headers=[
            'Forwarded: for=10.0.0.9, for="[2001:db8::7]:4711";proto=https',
            "X-Forwarded-For: 198.51.100.4"])
        time.sleep(0.3)
        check(kind == CREATED and "by websocket 2001:db8::7\n" in log_text(server),
              "--proxy-header Forwarded: the last element's for= is the client")
    finally:
        stop_server(server)
    bad = subprocess.run([server_exe, "--proxy-header", "X-Real-IP"], capture_output=True,
                         text=True)
    check(bad.returncode == 2 and "X-Real-IP" in bad.stderr, "an unknown header is refused")


def make_certificate(folder):
    cert, key = os.path.join(folder, "tls.pem"), os.path.join(folder, "tls.key")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt",
                    "ec_paramgen_curve:P-256", "-nodes", "-keyout", key, "-out", cert, "-subj",
                    "/CN=localhost", "-days", "2"], check=True, capture_output=True)
    return cert, key


def handshake(port, source):
    context = ssl.create_default_context()
    context.check_hostname = False
    context.verify_mode = ssl.CERT_NONE
    try:
        with connect(port, source) as raw:
            with context.wrap_socket(raw, server_hostname="localhost"):
                return True
    except (OSError, ssl.SSLError):
        return False


def tls(server_exe, folder):
    cert, key = make_certificate(folder)
    # 2 a second (a burst of 6): a sanitizer build under load could not
    # outrun the default 20 a second.
    server, port = start_server(server_exe, "--tls-cert", cert, "--tls-key", key,
                                "--tls-handshakes-per-second", "2")
    try:
        done, lock = [0, 0], threading.Lock()
        start = time.monotonic()

        def hammer():
            for _ in range(20):
                ok = handshake(port, "127.0.0.1")
                with lock:
                    done[0 if ok else 1] += 1
        threads = [threading.Thread(target=hammer) for _ in range(4)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        seconds = time.monotonic() - start
        bound = 6 + 2 * seconds + 2
        check(done[1] > 0 and done[0] <= bound,
              "80 handshakes from one address in %.1f s: %d done, %d refused (bound %.0f)" %
              (seconds, done[0], done[1], bound))
        check(handshake(port, "127.0.0.2"), "another address still gets its handshake")
    finally:
        stop_server(server)


def rooms(server_exe):
    # An address may create as many rooms at once as it may hold
    # connections (16 here), then one every 2 s.
    server, port = start_server(server_exe, "--max-per-address", "16")
    try:
        answers = [create_room(port) for _ in range(60)]
        created = sum(1 for a in answers if a[0] == CREATED)
        throttled = sum(1 for a in answers if a == (ERROR, THROTTLED))
        check(created <= 20 and created + throttled == 60,
              "60 rooms asked for by one address: %d created, %d throttled" %
              (created, throttled))
        check(create_room(port, source="127.0.0.2")[0] == CREATED,
              "another address still creates its room")
    finally:
        code = stop_server(server)
    log = log_text(server)
    refusals = re.findall(r"refused websocket 127\.0\.0\.1: throttled", log)
    summary = re.search(r"(\d+) more refusals \(throttled\) from 127\.0\.0\.1 in the last 10 s",
                        log)
    check(len(refusals) == 1 and summary and int(summary.group(1)) == throttled - 1,
          "the log tells the first refusal and sums up the rest in one line")
    check(code == 0, "the server stops cleanly")


def refusals(server_exe, folder):
    server, port = start_server(server_exe)
    try:
        # (method, target, body, wanted status)
        cases = [("POST", "/", b"x" * 100, 405), ("POST", "/ws", b"", 405),
                 ("PUT", "/healthz", b"{}", 405), ("GET", "/", b"x" * 20000, 413)]
        for method, target, body, want in cases:
            got = status_of(port, method=method, target=target, body=body)
            check(got == want, "%s %s with %d bytes: %d" % (method, target, len(body), got))
    finally:
        stop_server(server)
    cert, key = make_certificate(folder)
    server, port = start_server(server_exe, "--tls-cert", cert, "--tls-key", key)
    try:
        s = connect(port)
        got, head = request(s, target="/index.html")
        s.close()
        check(got == 301 and "Location: https://test/index.html" in head,
              "plain http to the TLS port: redirected to https (%d)" % got)
    finally:
        stop_server(server)
    # A drain tells the players in rooms that the server closes, and when.
    server, port = start_server(server_exe, "--drain", "60")
    try:
        s, status, _ = ws_open(port)
        ws_send(s, CREATE)
        created = ws_recv(s)[1]
        server.terminate()
        told = ws_recv(s)[1]
        check(created[3:4] == bytes([CREATED]) and told == b"QM\x01\x19\x3c\x00\x00\x00",
              "a drain tells the player in a room: closing within 60 s (%r)" % told)
        s.close()
    finally:
        stop_server(server)
    garbage = os.path.join(folder, "garbage.key")
    with open(garbage, "w") as f:
        f.write("not a key\n")
    # (key file, what the error must say)
    cases = [(os.path.join(folder, "missing.key"), "No such file or directory"),
             (folder, "Is a directory"), (garbage, garbage), (cert, "key")]
    for path, reason in cases:
        run = subprocess.run([server_exe, "--port", "0", "--tls-cert", cert, "--tls-key", path],
                             capture_output=True, text=True, timeout=20)
        check(run.returncode == 2 and path in run.stderr and reason in run.stderr,
              "key %s: exit %d, %r" % (os.path.basename(path), run.returncode,
                                       run.stderr.strip()))


def keepalive(server_exe):
    server, port = start_server(server_exe)
    try:
        # 70 browsers' idle keep-alives from one address (a school behind
        # one IPv4 address): each new connection is still served, the
        # oldest idle ones give way.
        held = []
        for _ in range(70):
            s = connect(port)
            held.append((s, request(s)[0]))
        answered = sum(1 for _, status in held if status == 200)
        check(answered == 70, "70 keep-alive connections from one address: %d answered" %
              answered)
        # Game connections are counted apart: 64, then a 503 (not a reset).
        games = [ws_open(port) for _ in range(65)]
        opened = sum(1 for _, status, _ in games[:64] if status == 101)
        status, head = games[64][1], games[64][2]
        check(opened == 64 and status == 503 and "Retry-After: " in head,
              "64 WebSockets from one address open, the 65th is answered %d%s" %
              (status, " with Retry-After" if "Retry-After" in head else ""))
        for s, _ in held:
            s.close()
        for s, _, _ in games:
            s.close()
    finally:
        stop_server(server)
    server, port = start_server(server_exe, "--max-http-per-address", "2")
    try:
        # Two connections that have asked nothing yet are not idle keep-alives:
        # a third is answered 503 with Retry-After.
        waiting = [connect(port), connect(port)]
        time.sleep(0.2)
        s = connect(port)
        status, head = request(s)
        check(status == 503 and "Retry-After: " in head,
              "over the HTTP limit with none idle: %d" % status)
        for w in waiting + [s]:
            w.close()
    finally:
        stop_server(server)


def longest_silence(s, seconds, gaps, name):
    """Reads the socket for `seconds`: the longest gap between frames (from
    the start on), and how many were keep-alives, into gaps[name]."""
    s.settimeout(seconds)
    start = last = time.monotonic()
    longest, keep_alives = 0.0, 0
    while time.monotonic() < start + seconds:
        opcode, payload = ws_recv(s, keep_alives=True)
        now = time.monotonic()
        if opcode is None:
            break
        longest, last = max(longest, now - last), now
        keep_alives += payload == KEEP_ALIVE
    gaps[name] = (max(longest, time.monotonic() - last), keep_alives)


def silence(server_exe):
    server, port = start_server(server_exe)
    sockets = []
    try:
        lobby = ws_open(port)[0]
        player = ws_open(port)[0]
        ws_send(player, CREATE)
        created = ws_recv(player)[1]
        spectator = ws_open(port)[0]
        ws_send(spectator, b"QM\x01\x04" + created[4:12] + bytes(20))  # Watch the code
        watching = ws_recv(spectator)[1]
        check(created[3:4] == bytes([CREATED]) and watching[3:4] == b"\x12",
              "a room created and watched (%r, %r)" % (created, watching))
        sockets = [("a connection in the lobby", lobby), ("a player waiting", player),
                   ("a spectator", spectator)]
        gaps = {}
        readers = [threading.Thread(target=longest_silence, args=(s, 4.0, gaps, name))
                   for name, s in sockets]
        for reader in readers:
            reader.start()
        for reader in readers:
            reader.join()
        for name, _ in sockets:
            longest, keep_alives = gaps[name]
            check(longest <= 1.2 and keep_alives >= 3,
                  "%s hears the server at least once a second (longest silence %.2f s, "
                  "%d keep-alives in 4 s)" % (name, longest, keep_alives))
    finally:
        for _, s in sockets:
            s.close()
        stop_server(server)


def main():
    server_exe, scenario = sys.argv[1:3]
    folder = tempfile.mkdtemp(prefix="quarnex-edges-")
    try:
        if scenario == "proxy":
            proxy(server_exe)
        elif scenario == "tls":
            tls(server_exe, folder)
        elif scenario == "rooms":
            rooms(server_exe)
        elif scenario == "keepalive":
            keepalive(server_exe)
        elif scenario == "refusals":
            refusals(server_exe, folder)
        elif scenario == "silence":
            silence(server_exe)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
