#!/usr/bin/env python3
"""quarnex-server --agones against a stand-in for the Agones SDK sidecar.

    agones_test.py SERVER SIM

The real sidecar was NOT run: it needs a Kubernetes cluster with Agones. The
stand-in here is a small HTTP endpoint that accepts only the calls of the
published SDK REST reference (POST /ready, /health, /shutdown with the body
{}; PATCH /v1beta1/counters/NAME with count and capacity, 64-bit integers as
strings or numbers; Content-Type application/json) and records them.

A sidecar port that is no port ends the server with status 2 and a message.
A real server starts with the sidecar down: two quarnex-sim players create
and join a room meanwhile (games do not wait for the sidecar), the server
logs the outage once. The sidecar comes up: Ready comes first, Health comes
every few seconds, the rooms and players counters follow the room (1 and 2)
with the capacity of --max-rooms. SIGTERM with --drain: the game plays to its
end, the counters go back to 0, Shutdown is the last call, exit status 0."""
import json, os, re, socket, subprocess, sys, tempfile, threading, time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

MAX_ROOMS = 40
TICKS = 300  # 9 s at the game's pace


def fail(message):
    print('FAIL: ' + message)
    sys.exit(1)


def int64(value):
    """The REST gateway's int64: a JSON number or a string of digits."""
    if isinstance(value, bool):
        return None
    if isinstance(value, int):
        return value
    if isinstance(value, str) and re.fullmatch(r'-?\d+', value):
        return int(value)
    return None


def check(method, path, content_type, body):
    """None for a call as the reference publishes it, else what is wrong."""
    if content_type != 'application/json':
        return 'Content-Type %r' % content_type
    try:
        data = json.loads(body or b'null')
    except ValueError:
        return 'body is no JSON: %r' % body
    if path in ('/ready', '/health', '/shutdown'):
        return None if method == 'POST' and data == {} else 'want POST with {}'
    counter = re.fullmatch(r'/v1beta1/counters/([a-z]+)', path)
    if not counter:
        return 'no such path'
    if method != 'PATCH' or not isinstance(data, dict) or not data:
        return 'want PATCH with a CounterUpdateRequest'
    if set(data) - {'count', 'capacity', 'countDiff'}:
        return 'unknown fields %r' % sorted(set(data) - {'count', 'capacity', 'countDiff'})
    if any(int64(v) is None for v in data.values()):
        return 'not int64 values: %r' % data
    return None


class Sidecar:
    def __init__(self, port):
        self.calls, self.errors = [], []
        sidecar = self

        class Handler(BaseHTTPRequestHandler):
            def do(self):
                body = self.rfile.read(int(self.headers.get('Content-Length', 0)))
                error = check(self.command, self.path, self.headers.get('Content-Type'), body)
                if error:
                    sidecar.errors.append('%s %s %r: %s' % (self.command, self.path, body, error))
                    self.send_response(400)
                    self.end_headers()
                    return
                data = json.loads(body)
                sidecar.calls.append((time.monotonic(), self.command, self.path,
                                      {k: int64(v) for k, v in data.items()}))
                name = self.path.rsplit('/', 1)[-1]
                answer = json.dumps(dict(data, name=name) if 'counters' in self.path else {})
                self.send_response(200)
                self.send_header('Content-Type', 'application/json')
                self.send_header('Content-Length', str(len(answer)))
                self.end_headers()
                self.wfile.write(answer.encode())

            do_POST = do_PATCH = do_GET = do_PUT = do

            def log_message(self, *args):
                pass

        self.http = ThreadingHTTPServer(('127.0.0.1', port), Handler)
        threading.Thread(target=self.http.serve_forever, daemon=True).start()

    def paths(self):
        return [path for _, _, path, _ in self.calls]

    def counts(self, name):
        return [body.get('count') for _, _, path, body in self.calls
                if path == '/v1beta1/counters/' + name]


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def wait(what, condition, seconds):
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        if condition():
            return
        time.sleep(0.05)
    fail(what)


def main():
    server_exe, sim = sys.argv[1], sys.argv[2]
    bad = subprocess.run([server_exe, '--port', '0', '--agones'], capture_output=True, text=True,
                         env=dict(os.environ, AGONES_SDK_HTTP_PORT='93580'), timeout=10)
    if bad.returncode != 2 or 'AGONES_SDK_HTTP_PORT' not in bad.stderr:
        fail('a sidecar port that is no port: %d %r' % (bad.returncode, bad.stderr))
    work = tempfile.mkdtemp(prefix='qx-agones-')
    sidecar_port = free_port()
    env = dict(os.environ, AGONES_SDK_HTTP_PORT=str(sidecar_port))
    server = subprocess.Popen([server_exe, '--port', '0', '--bind', '127.0.0.1', '--agones',
                               '--drain', '60', '--max-rooms', str(MAX_ROOMS)],
                              stdout=subprocess.PIPE, text=True, env=env)
    log = []
    threading.Thread(target=lambda: [log.append(line) for line in server.stdout],
                     daemon=True).start()
    wait('the server did not say where it listens',
         lambda: log and re.search(r'listening on (\d+)', log[0]), 10)
    address = '127.0.0.1:' + re.search(r'listening on (\d+)', log[0]).group(1)

    # The sidecar is down: the players meet all the same.
    invite = os.path.join(work, 'invite')
    common = ['--ticks', str(TICKS), '--realtime', '--trace', os.devnull]
    host = subprocess.Popen([sim, '--server', address, '--create', '--side', 'emperor',
                             '--invite-file', invite] + common,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait('no invite code', lambda: os.path.exists(invite) and open(invite).read().strip(), 20)
    guest = subprocess.Popen([sim, '--server', address, '--join', open(invite).read().strip()]
                             + common, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait('the room did not start while the sidecar was down',
         lambda: any(' started' in line for line in log), 20)
    time.sleep(1)
    outages = [line for line in log if 'agones sidecar at' in line]
    if len(outages) != 1:
        fail('the outage should be logged once, not %d times: %r' % (len(outages), outages))

    sidecar = Sidecar(sidecar_port)
    wait('no Ready after the sidecar came up', lambda: '/ready' in sidecar.paths(), 12)
    if sidecar.paths()[0] != '/ready':
        fail('Ready should come first: %r' % sidecar.paths())
    wait('the counters did not follow the room',
         lambda: 1 in sidecar.counts('rooms') and 2 in sidecar.counts('players'), 10)
    wait('no Health pings', lambda: sidecar.paths().count('/health') >= 2, 10)
    capacities = {(path, body.get('capacity')) for _, _, path, body in sidecar.calls
                  if 'counters' in path}
    if capacities != {('/v1beta1/counters/rooms', MAX_ROOMS),
                      ('/v1beta1/counters/players', 2 * MAX_ROOMS)}:
        fail('counter capacities: %r' % capacities)

    server.send_signal(15)  # draining: the game plays to its end
    for who, proc in (('host', host), ('guest', guest)):
        if proc.wait(timeout=60) != 0:
            fail('the %s did not finish its game' % who)
    if server.wait(timeout=20) != 0:
        fail('the server did not exit with 0')
    paths = sidecar.paths()
    if paths[-1] != '/shutdown' or paths.count('/shutdown') != 1:
        fail('Shutdown should be the last call, once: %r' % paths[-4:])
    if sidecar.counts('rooms')[-1] != 0 or sidecar.counts('players')[-1] != 0:
        fail('the counters did not go back to 0: %r %r'
             % (sidecar.counts('rooms'), sidecar.counts('players')))
    healths = [t for t, _, path, _ in sidecar.calls if path == '/health']
    gaps = [b - a for a, b in zip(healths, healths[1:])]
    if len(healths) < 3 or max(gaps) > 4:
        fail('Health should come every 2 s: gaps %r' % gaps)
    if sidecar.errors:
        fail('calls not as published: %r' % sidecar.errors)
    print('ok: %d calls (%d Health), rooms %r, players %r'
          % (len(paths), len(healths), sidecar.counts('rooms'), sidecar.counts('players')))


if __name__ == '__main__':
    main()
