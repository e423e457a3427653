#!/usr/bin/env python3
"""The history of games with real processes: quarnex-server with --data in a
temporary folder (a real SQLite file), two quarnex-sim players with names.

    history_test.py SIM SERVER SCENARIO

game      bad names are refused (exit 2); a quick match played to its end:
          both players learn both names; /api/games has the game with the server's result and both
          ratings; its replay downloads and plays (quarnex-sim --replay) to
          the players' trace; the leaderboard; 404 and 400 for unknown and
          bad input; a damaged database stops a new server with exit 2.
kill9     the server is killed (-9) as soon as it has logged the game kept:
          started again on the same folder, it has the game.
locked    the database is locked by another program while a game ends: the
          game is relayed all the same, /healthz says degraded, and once the
          lock is gone the game is written."""
import hashlib, http.client, json, os, re, signal, sqlite3, subprocess, sys, tempfile, time
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'net'))
from net_peers import fail, scripts, write  # noqa: E402

TICKS = 240
EMPEROR = 'Alice'
REBEL = '<b>Bob</b> "O\'Hara"'


class Server:
    def __init__(self, exe, data, log_path, *options):
        self.log_path = log_path
        mark = len(self.log()) if os.path.exists(log_path) else 0
        self.proc = subprocess.Popen([exe, '--port', '0', '--bind', '127.0.0.1', '--data', data,
                                      *options],
                                     stdout=open(log_path, 'a'), stderr=subprocess.STDOUT)
        self.port = int(self.wait_for(r'quarnex-server: listening on (\d+)', start=mark).group(1))

    def log(self):
        return open(self.log_path, encoding='utf-8', errors='replace').read()

    def wait_for(self, pattern, seconds=20, start=0):
        until = time.monotonic() + seconds
        while time.monotonic() < until:
            m = re.search(pattern, self.log()[start:])
            if m:
                return m
            if self.proc.poll() is not None:
                fail('the server ended: ' + self.log())
            time.sleep(0.02)
        fail('the server never logged %r:\n%s' % (pattern, self.log()))

    def get(self, path):
        c = http.client.HTTPConnection('127.0.0.1', self.port, timeout=10)
        c.request('GET', path)
        r = c.getresponse()
        return r.status, r.read()

    def json(self, path):
        status, body = self.get(path)
        if status != 200:
            fail('%s: %d %r' % (path, status, body))
        return json.loads(body)

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=20)


def play(sim, server, work, ticks=TICKS, rebel_quits=None):
    """A quick match between the two named players to its end (or until the
    Rebel is stopped after `rebel_quits` seconds); their stderr."""
    emperor, rebel = scripts(ticks, 7, 150)
    write(os.path.join(work, 'emperor.txt'), emperor)
    write(os.path.join(work, 'rebel.txt'), rebel)
    procs = []
    mark = len(server.log())
    for name, side, script in ((EMPEROR, 'alice', 'emperor.txt'), (REBEL, 'bob', 'rebel.txt')):
        procs.append(subprocess.Popen(
            [sim, '--server', '127.0.0.1:%d' % server.port, '--quick', '--realtime',
             '--ticks', str(ticks), '--input', os.path.join(work, script),
             '--name', name, '--key-file', os.path.join(work, side + '.key'),
             '--trace', os.path.join(work, side + '.trace'),
             '--record', os.path.join(work, side + '.qxr')],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True))
        if not procs[1:]:
            server.wait_for(r'created for quick match', start=mark)
    if rebel_quits:
        time.sleep(rebel_quits)
        procs[1].send_signal(signal.SIGTERM)
    errors = []
    for p in procs:
        _, err = p.communicate(timeout=90)
        if p.returncode != 0 and not rebel_quits:
            fail('a player ended with %d: %s' % (p.returncode, err))
        errors.append(err)
    return errors


def key_hash(work, side):
    return hashlib.sha256(bytes.fromhex(open(os.path.join(work, side + '.key')).read())).hexdigest()


def check_game(sim, server, work, errors):
    names = 'names emperor "%s" rebel "%s"' % (EMPEROR, REBEL.replace('"', '\\"'))
    for err in errors:
        if names not in err:
            fail('no names line %r in: %s' % (names, err))
    server.wait_for(r'game \d+ saved')
    games = server.json('/api/games')['games']
    if len(games) != 1:
        fail('one game expected: %r' % games)
    g = games[0]
    if g['emperor']['name'] != EMPEROR or g['rebel']['name'] != REBEL:
        fail('names not kept as given: %r' % g)
    # Nobody wins a game in 240 ticks: a draw between equals moves no rating.
    if not g['rated'] or g['reason'] != 'played' or g['result'] != 'draw' or g['ticks'] != TICKS:
        fail('not a rated draw played to its end: %r' % g)
    for side in ('emperor', 'rebel'):
        if g[side]['rating_before'] != 1500 or g[side]['rating_after'] != 1500:
            fail('a draw between equals moved a rating: %r' % g)
    if g['emperor']['key'] != key_hash(work, 'alice') or g['rebel']['key'] != key_hash(work, 'bob'):
        fail('the key hashes are not the keys\' hashes')
    # The replay is the players' game: it plays to their trace.
    status, replay = server.get(g['replay'])
    if status != 200:
        fail('replay: %d' % status)
    path = os.path.join(work, 'server.qxr')
    open(path, 'wb').write(replay)
    played = subprocess.run([sim, '--replay', path, '--trace', os.path.join(work, 'server.trace')],
                            capture_output=True, text=True, timeout=60)
    if played.returncode != 0:
        fail('the server\'s replay does not play: ' + played.stderr)
    mine = open(os.path.join(work, 'server.trace')).read()
    theirs = open(os.path.join(work, 'alice.trace')).read()
    if not theirs.startswith(mine) or mine.count('\n') < TICKS + 1 - 32:
        fail('the server\'s replay is not the players\' game (%d lines, theirs %d)'
             % (mine.count('\n'), theirs.count('\n')))
    if mine == theirs and replay != open(os.path.join(work, 'alice.qxr'), 'rb').read():
        fail('the same game, but not byte for byte the players\' replay')
    print('game %d: %s (%s), %d ticks; replay %s' % (
        g['id'], g['result'], g['reason'], g['ticks'],
        'byte for byte the players\'' if mine == theirs else 'a prefix of the players\''))
    for query, count in (('player=' + urllib.parse.quote(REBEL), 1), ('player=Alice', 1),
                         ('player=' + key_hash(work, 'alice'), 1), ('player=Nobody', 0)):
        if len(server.json('/api/games?' + query)['games']) != count:
            fail('/api/games?%s: not %d games' % (query, count))
    for path, want in (('/games/%d.replay' % (g['id'] + 1), 404), ('/games/x.replay', 400),
                       ('/games/1.zip', 400), ('/api/games?limit=0', 400),
                       ('/api/games?player=%ZZ', 400), ('/api/games?player=%01', 400)):
        status, _ = server.get(path)
        if status != want:
            fail('%s answered %d, not %d' % (path, status, want))


def check_forfeit(sim, server, work):
    """The Rebel leaves a rated game early: the Emperor wins, ratings move."""
    mark = len(server.log())
    play(sim, server, work, 3000, rebel_quits=4)
    server.wait_for(r'game \d+ saved', start=mark)
    g = server.json('/api/games?limit=1')['games'][0]
    if (g['result'], g['reason'], g['rated']) != ('emperor', 'left', True):
        fail('the Rebel left, the Emperor should win: %r' % g)
    if not g['emperor']['rating_after'] > g['emperor']['rating_before'] > g['rebel']['rating_after']:
        fail('ratings did not move with the result: %r' % g)
    board = server.json('/api/leaderboard')['players']
    if [p['name'] for p in board] != [EMPEROR, REBEL] or not all(p['provisional'] for p in board):
        fail('leaderboard: %r' % board)
    print('forfeit: Alice %.2f -> %.2f, Bob %.2f -> %.2f' % (
        g['emperor']['rating_before'], g['emperor']['rating_after'],
        g['rebel']['rating_before'], g['rebel']['rating_after']))


def main():
    sim, server_exe, scenario = sys.argv[1:4]
    work = tempfile.mkdtemp(prefix='qxhistory-')
    data = os.path.join(work, 'data')
    server = Server(server_exe, data, os.path.join(work, 'server.log'))
    try:
        if scenario == 'game':
            for bad in ('a\u200bb', 'x' * 21, '   '):
                refused = subprocess.run([sim, '--server', '127.0.0.1:%d' % server.port, '--quick',
                                          '--name', bad], capture_output=True, text=True, timeout=30)
                if refused.returncode != 2 or 'refused the name' not in refused.stderr:
                    fail('the name %r: exit %d, %r' % (bad, refused.returncode, refused.stderr))
            check_game(sim, server, work, play(sim, server, work))
            check_forfeit(sim, server, work)
            server.stop()
            open(os.path.join(data, 'history.sqlite'), 'r+b').write(b'this is no database' * 300)
            damaged = subprocess.run([server_exe, '--port', '0', '--data', data],
                                     capture_output=True, text=True, timeout=20)
            if damaged.returncode != 2 or 'damaged' not in damaged.stderr:
                fail('a damaged database: exit %d, %r' % (damaged.returncode, damaged.stderr))
        elif scenario == 'kill9':
            play(sim, server, work, 120)
            server.wait_for(r'game kept')
            server.proc.send_signal(signal.SIGKILL)
            server.proc.wait()
            server = Server(server_exe, data, server.log_path)
            until = time.monotonic() + 10  # a game from the journal is saved at start
            while len(server.json('/api/games')['games']) != 1:
                if time.monotonic() > until:
                    fail('the game kept before the kill is lost')
                time.sleep(0.1)
        elif scenario == 'locked':
            locker = sqlite3.connect(os.path.join(data, 'history.sqlite'), isolation_level=None)
            locker.execute('BEGIN EXCLUSIVE')
            errors = play(sim, server, work, 120)  # the game itself goes on
            server.wait_for(r'history degraded')
            status, body = server.get('/healthz')
            if status != 200 or not body.startswith(b'degraded'):
                fail('/healthz while locked: %d %r' % (status, body))
            locker.execute('ROLLBACK')
            locker.close()
            server.wait_for(r'game \d+ saved')
            if server.get('/healthz') != (200, b'ok\n'):
                fail('/healthz after the lock: %r' % (server.get('/healthz'),))
            if len(errors) != 2 or len(server.json('/api/games')['games']) != 1:
                fail('the game is not kept')
        else:
            fail('unknown scenario ' + scenario)
    finally:
        if server.proc.poll() is None:
            server.stop()
    print('ok')


if __name__ == '__main__':
    main()
