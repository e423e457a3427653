#!/usr/bin/env python3
"""Servers on a shared PostgreSQL, all real processes: a PostgreSQL server
started for the test (tests/support/postgres.sh: initdb and pg_ctl into a
temporary folder, a Unix socket there; about 1.5 s), quarnex-server with
--database, two quarnex-sim players.

    fleet_test.py SIM SERVER SCENARIO

failover  the database is stopped (pg_ctl stop -m fast) while a game runs:
          the game plays to its end, is kept in the journal, /healthz says
          degraded and /api/games 503; the database started again, the game
          is in /api/games within a few seconds.
restart   the database down when a game ends, the server is killed (-9):
          started again while the database is still down it exits 2 with a
          clear message; with the database back it saves the journal's game.
servers   three servers register and heartbeat: GET /api/servers on any of
          them lists all three; one killed (-9) is gone within 10 s, one
          stopped (SIGTERM) at once."""
import json, os, signal, subprocess, sys, tempfile, threading, time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from history_test import Server, play  # noqa: E402
from net_peers import fail  # noqa: E402

POSTGRES = os.path.join(HERE, '..', 'support', 'postgres.sh')


def postgres(action, folder):
    done = subprocess.run([POSTGRES, action, folder], capture_output=True, text=True, timeout=60)
    if done.returncode == 77:
        print('no PostgreSQL server here: ' + done.stderr)
        sys.exit(77)
    if done.returncode != 0:
        fail('postgres.sh %s: %s' % (action, done.stderr))
    return done.stdout.strip()


def wait_until(what, check, seconds):
    """Seconds it took `check` to hold."""
    start = time.monotonic()
    while not check():
        if time.monotonic() - start > seconds:
            fail('not within %d s: %s' % (seconds, what))
        time.sleep(0.1)
    return time.monotonic() - start


def game_count(server):
    status, body = server.get('/api/games')
    return len(json.loads(body)['games']) if status == 200 else -1


def play_with_database_down(sim, server, work, pg):
    """A game during which the database stops; it ends all the same."""
    mark = len(server.log())
    players = threading.Thread(target=play, args=(sim, server, work, 360))
    players.start()
    server.wait_for(r'room \S+ started', start=mark)
    time.sleep(1.5)
    postgres('stop', pg)
    players.join()  # play() fails the test if a player did not end well
    server.wait_for(r'game kept', start=mark)
    server.wait_for(r'history degraded', start=mark)


def failover(sim, server_exe, work, pg, url):
    server = Server(server_exe, os.path.join(work, 'data'), os.path.join(work, 'server.log'),
                    '--database', url)
    try:
        play_with_database_down(sim, server, work, pg)
        status, body = server.get('/healthz')
        if status != 200 or not body.startswith(b'degraded'):
            fail('/healthz with the database down: %d %r' % (status, body))
        if server.get('/api/games')[0] != 503:
            fail('/api/games with the database down: not 503')
        postgres('start', pg)
        took = wait_until('the game in /api/games', lambda: game_count(server) == 1, 10)
        server.wait_for(r'history writes again')
        print('the game was in /api/games %.1f s after the database came back' % took)
        server.proc.terminate()
        if server.proc.wait(timeout=20) != 0:  # a leak found by the sanitizers, say
            fail('the server did not stop cleanly:\n' + server.log()[-3000:])
    finally:
        if server.proc.poll() is None:
            server.stop()


def restart(sim, server_exe, work, pg, url):
    data, log = os.path.join(work, 'data'), os.path.join(work, 'server.log')
    server = Server(server_exe, data, log, '--database', url)
    play_with_database_down(sim, server, work, pg)
    server.proc.send_signal(signal.SIGKILL)
    server.proc.wait()
    down = subprocess.run([server_exe, '--port', '0', '--data', data, '--database', url],
                          capture_output=True, text=True, timeout=30)
    if down.returncode != 2 or 'cannot be used' not in down.stderr:
        fail('started with the database down: exit %d, %r' % (down.returncode, down.stderr))
    postgres('start', pg)
    server = Server(server_exe, data, log, '--database', url)
    try:
        wait_until('the journal\'s game in /api/games', lambda: game_count(server) == 1, 10)
    finally:
        server.stop()


def live(server):
    status, body = server.get('/api/servers')
    if status != 200:
        fail('/api/servers: %d %r' % (status, body))
    return {s['address']: s for s in json.loads(body)['servers']}


def servers(sim, server_exe, work, pg, url):
    fleet = [Server(server_exe, os.path.join(work, 'data%d' % i),
                    os.path.join(work, 'server%d.log' % i), '--database', url,
                    '--public-address', 'game%d.example:%d' % (i, 29030 + i), '--max-rooms', '40')
             for i in range(3)]
    try:
        names = {'game%d.example:%d' % (i, 29030 + i) for i in range(3)}
        wait_until('all three listed', lambda: set(live(fleet[2])) == names, 5)
        row = live(fleet[0])['game1.example:29031']
        if (row['capacity'], row['rooms'], row['players']) != (40, 0, 0):
            fail('a server\'s row: %r' % row)
        if len({s['id'] for s in live(fleet[1]).values()}) != 3:
            fail('two servers claim one id')
        # A game on server 0 shows in its row.
        players = threading.Thread(target=play, args=(sim, fleet[0], work, 240))
        players.start()
        wait_until('the game in server 0\'s row',
                   lambda: live(fleet[1])['game0.example:29030']['players'] == 2, 5)
        players.join()
        fleet[2].proc.send_signal(signal.SIGKILL)
        fleet[2].proc.wait()
        took = wait_until('the killed server gone',
                          lambda: 'game2.example:29032' not in live(fleet[0]), 10.5)
        print('the killed server left the list after %.1f s' % took)
        if 'game1.example:29031' not in live(fleet[0]):
            fail('a live server left the list')
        fleet[1].stop()
        if 'game1.example:29031' in live(fleet[0]):
            fail('a stopped server is still listed')
    finally:
        for server in fleet:
            if server.proc.poll() is None:
                server.stop()


def main():
    sim, server_exe, scenario = sys.argv[1:4]
    os.environ['LSAN_OPTIONS'] = 'suppressions=' + os.path.join(HERE, '..', 'support',
                                                                'lsan-libpqxx.supp')
    work = tempfile.mkdtemp(prefix='qxfleet-')
    pg = tempfile.mkdtemp(prefix='qxpg-')  # its own: the user postgres must reach it
    started = time.monotonic()
    url = postgres('start', pg)
    print('PostgreSQL made and started in %.1f s' % (time.monotonic() - started))
    try:
        {'failover': failover, 'restart': restart, 'servers': servers}[scenario](sim, server_exe, work, pg, url)
    finally:
        postgres('remove', pg)
    print('ok')


if __name__ == '__main__':
    main()
