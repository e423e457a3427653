#!/usr/bin/env python3
"""The lobby with real processes: quarnex-server (no history), quarnex-sim
players and a quarnex-sim lobby watcher.

    lobby_test.py SIM SERVER

A private invite room and a public one are made; the watcher sees the
public one open within a second of its creation and never the private one;
GET /api/lobby says the same as JSON, with its validator (304 on
If-None-Match) and a short max-age; a second player joins the public room
by its code and the watcher sees the game live within a second, and a
spectator watches it by the code of its lobby line; two quick
match players are paired with each other (the first listed open while it
waits)."""
import http.client, json, os, re, subprocess, sys, tempfile, threading, time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from server_process import start_server, stop_server, log_text  # noqa: E402

NAME = 'Þórunn "Ø" \\ 李'


def fail(message):
    print('FAIL: ' + message)
    sys.exit(1)


class Lines:
    """A process's standard output lines as they come, with their times."""

    def __init__(self, proc):
        self.proc, self.lines = proc, []
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        for line in self.proc.stdout:
            self.lines.append((time.monotonic(), line.rstrip('\n')))

    def wait_for(self, pattern, seconds=10, since=0.0):
        until = time.monotonic() + seconds
        while time.monotonic() < until:
            for at, line in list(self.lines):
                if at >= since and re.search(pattern, line):
                    return at, line
            time.sleep(0.01)
        fail('never printed %r; printed:\n%s' % (pattern, '\n'.join(l for _, l in self.lines)))


def wait_file(path, seconds=10):
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        if os.path.exists(path):
            return time.monotonic(), open(path).read().strip()
        time.sleep(0.005)
    fail('no invite in ' + path)


def wait_log(server, pattern, seconds=10):
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        if re.search(pattern, log_text(server)):
            return time.monotonic()
        time.sleep(0.005)
    fail('the server never logged %r:\n%s' % (pattern, log_text(server)))


def get(port, path, headers=None):
    c = http.client.HTTPConnection('127.0.0.1', port, timeout=10)
    c.request('GET', path, headers=headers or {})
    r = c.getresponse()
    return r.status, dict((k.lower(), v) for k, v in r.getheaders()), r.read()


def main(sim, server_exe):
    work = tempfile.mkdtemp(prefix='lobby-')
    server, port = start_server(server_exe, '--data', os.path.join(work, 'data'))
    procs = []
    addr = '127.0.0.1:%d' % port

    def run(*args, out=subprocess.DEVNULL):
        procs.append(subprocess.Popen([sim, '--server', addr, *args], stdout=out,
                                      stderr=subprocess.DEVNULL, text=True))
        return procs[-1]

    try:
        watcher = Lines(run('--lobby', '--lobby-updates', '1000', out=subprocess.PIPE))
        watcher.wait_for(r'^lobby open 0 live 0$')
        run('--create', '--invite-file', os.path.join(work, 'private'))
        _, private = wait_file(os.path.join(work, 'private'))
        run('--create', '--public', '--side', 'rebel', '--name', NAME, '--realtime', '--ticks',
            '400', '--invite-file', os.path.join(work, 'public'))
        made, code = wait_file(os.path.join(work, 'public'))
        at, line = watcher.wait_for(r'^open %s ' % code)
        if at - made > 1.0:
            fail('the open game reached the watcher after %.2f s' % (at - made))
        quoted = '"' + NAME.replace('\\', '\\\\').replace('"', '\\"') + '"'
        if line != 'open %s side emperor waiting 0 rating 1500 name %s' % (code, quoted):
            fail('open line: %r' % line)

        status, headers, body = get(port, '/api/lobby')
        lobby = json.loads(body)
        if status != 200 or not re.fullmatch(r'public, max-age=\d', headers['cache-control']):
            fail('/api/lobby: %d %r' % (status, headers))
        if lobby['open'] != [{'code': code, 'side': 'emperor', 'name': NAME, 'rating': 1500,
                              'waiting_s': lobby['open'][0]['waiting_s']}] or lobby['live']:
            fail('/api/lobby: %r' % lobby)
        status, _, body = get(port, '/api/lobby', {'If-None-Match': headers['etag']})
        if status != 304 or body:
            fail('If-None-Match: %d %r' % (status, body))

        run('--join', code.lower(), '--realtime', '--ticks', '400', '--name', 'Боб')
        joined = wait_log(server, r'room %s joined' % code)
        at, line = watcher.wait_for(r'^live %s ' % code, since=joined)
        if at - joined > 1.0:
            fail('the live game reached the watcher after %.2f s' % (at - joined))
        if not line.endswith('emperor "Боб" rebel %s' % quoted):
            fail('live line: %r' % line)
        _, line = watcher.wait_for(r'^live %s ticks [1-9]' % code, seconds=15)
        # A live game is watched by the code its lobby line gives.
        spectator = run('--watch', line.split()[1], '--ticks', '30')
        if spectator.wait(timeout=30) != 0:
            fail('watching the live game from the lobby failed')

        # Named players: the server asks its history for their ratings first.
        first = run('--quick', '--realtime', '--ticks', '100', '--name', 'Q1')
        waiting = wait_log(server, r'room (\w+) created for quick match')
        quick = re.search(r'room (\w+) created for quick match', log_text(server)).group(1)
        watcher.wait_for(r'^open %s side rebel waiting' % quick, since=waiting - 0.5)
        second = run('--quick', '--realtime', '--ticks', '100', '--name', 'Q2')
        wait_log(server, r'room %s joined, rebel' % quick)
        if first.wait(timeout=30) != 0 or second.wait(timeout=30) != 0:
            fail('the quick match did not end well')

        bad = subprocess.run([sim, '--server', addr, '--lobby', '--side', 'rebel'],
                             capture_output=True, text=True)
        if bad.returncode != 2 or '--side does not go with --lobby' not in bad.stderr:
            fail('--lobby --side: %d %r' % (bad.returncode, bad.stderr))

        for _, line in watcher.lines:
            if private in line:
                fail('the private room is listed: %r' % line)
        if private in get(port, '/api/lobby')[2].decode():
            fail('the private room is in /api/lobby')
    finally:
        for p in procs:
            if p.poll() is None:
                p.kill()
                p.wait()
        stop_server(server)
    print('ok')


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
