#!/usr/bin/env python3
"""quarnex-sim through a match server started here (127.0.0.1, a free port).

    sim_server.py SIM SERVER SCENARIO [NODE-SIM]

play      the Emperor creates a room (its code read from --invite-file), the
          Rebel joins with it; both play scripted events at the game's pace.
          Halfway a spectator comes and a third player is turned away (exit
          4). Players and spectator must exit 0 with one checksum, trace and
          replay, equal to one machine running both scripts.
quick     two quick matches pair up and play the same game.
lossy     the same as play, with the joiner behind a lossy relay (0-300 ms,
          20% dropped, 5% doubled) and no spectator: rollbacks happen and the
          traces stay equal.
refused   an unknown code (join and watch) ends with exit 4, a code that is
          no code with exit 2, a server nobody runs with exit 3.
killed    the server is killed mid-game: both players and a spectator end
          with exit 3 within 7 s, naming the server.
closing   the server (--drain 4) is asked to stop mid-game: both players and
          a spectator say at once that it is closing and for how long games
          may go on, play on, and end once it has closed.
outage    the joiner's and the spectator's links to the server carry nothing
          either way for 4 s: nobody ends, one game for all.
cut       the same for 8 s, first the joiner's link (both players end within
          5-7 s with their reasons, exit 3), then the spectator's (it ends so,
          the players play on).
stop      a room without a length, the joiner asking for 150 ticks: both play
          150 (noted by the joiner); then SIGTERM to a joiner mid-game: it
          says goodbye (the host ends at once), exits 3 and writes the trace
          and replay of its confirmed ticks.
crossplay the simulator under Node (NODE-SIM, build-web/quarnex-sim.js, over a
          WebSocket) creates, the native one (ENet) joins through the lossy
          relay; halfway a spectator under Node comes: one game for all three,
          equal to one machine running both scripts. Skipped (77) without the
          web build.
wsoutage  outage and cut for the simulator under Node (NODE-SIM) over a
          WebSocket: the joiner and the spectator run under Node, each behind
          a TCP relay that holds the bytes (a dead link does not close TCP):
          4 s ends nothing; 8 s on the joiner's link ends both players, on
          the spectator's link the spectator, within 5-7 s with their reasons."""
import os, re, signal, socket, subprocess, sys, tempfile, threading, time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'net'))
from net_peers import fail, finish, free_port, merged, scripts, start, summary_checksum, write  # noqa: E402

RELAY = os.path.join(HERE, '..', 'net', 'lossy_relay.py')
TIMEOUT = 90


class Server:
    """quarnex-server on a free port of 127.0.0.1; its log is kept in a file."""

    def __init__(self, exe, work, extra=()):
        self.log_path = os.path.join(work, 'server.log')
        self.log = open(self.log_path, 'w')
        self.proc = subprocess.Popen([exe, '--port', '0', '--bind', '127.0.0.1'] + list(extra),
                                     stdout=self.log, stderr=subprocess.STDOUT, text=True)
        until = time.monotonic() + 10
        while time.monotonic() < until:
            m = re.search(r'quarnex-server: listening on (\d+)', open(self.log_path).readline())
            if m:
                self.port = int(m.group(1))
                return
            time.sleep(0.05)
        fail('the server did not say where it listens')

    def address(self):
        return '127.0.0.1:%d' % self.port

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(timeout=10)
        self.log.close()
        return open(self.log_path).read()


def wait_for_file(path, proc, who, seconds=10):
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        if os.path.exists(path):
            text = open(path).read()
            if not re.fullmatch(r'[0-9A-Z]{8}\n', text):
                fail('%s wrote a half or wrong invite file: %r' % (who, text))
            return text.strip()
        if proc.poll() is not None:
            fail('%s ended before the room was made: %s' % (who, proc.communicate()[1]))
        time.sleep(0.02)
    fail('%s wrote no invite file' % who)


def show(who, err):
    print('%s: %s' % (who, err.strip().replace('\n', '\n      ')))


def outputs(work, name):
    return ['--trace', os.path.join(work, name + '.trace'),
            '--record', os.path.join(work, name + '.qxr')]


def read(work, name):
    return open(os.path.join(work, name), 'rb').read()


def same_game(sim, work, names, ticks, local=True):
    """Every run's trace and replay are the same, with ticks + 1 lines, and
    (with local) equal to one machine running both scripts."""
    trace = read(work, names[0] + '.trace')
    if trace.count(b'\n') != ticks + 1:
        fail('the trace has %d lines, not %d' % (trace.count(b'\n'), ticks + 1))
    for name in names[1:]:
        if read(work, name + '.trace') != trace:
            fail("%s's trace differs from %s's" % (name, names[0]))
        if read(work, name + '.qxr') != read(work, names[0] + '.qxr'):
            fail("%s's replay differs from %s's" % (name, names[0]))
    if not local:
        return
    subprocess.run([sim, '--seed', '13', '--ticks', str(ticks), '--emperor', 'human',
                          '--rebel', 'human', '--input', os.path.join(work, 'both.txt'),
                          '--trace', os.path.join(work, 'local.trace')],
                         capture_output=True, text=True, timeout=TIMEOUT)
    if read(work, 'local.trace') != trace:
        fail('the trace differs from one machine running both scripts')


def command(sim):
    """The simulator's command line: the native program, or the Node one."""
    return ['node', sim] if sim.endswith('.js') else [sim]


def write_scripts(work, ticks, firing):
    emperor, rebel = scripts(ticks, 7, firing)
    write(os.path.join(work, 'emperor.txt'), emperor)
    write(os.path.join(work, 'rebel.txt'), rebel)
    write(os.path.join(work, 'both.txt'), merged(emperor, rebel))


def create(sim, server, work, ticks, extra=()):
    invite = os.path.join(work, 'invite')
    if os.path.exists(invite):
        os.remove(invite)  # the last room's
    host = start(command(sim) + ['--server', server.address(), '--create', '--side', 'emperor',
                  '--seed', '13', '--ticks', str(ticks), '--invite-file', invite,
                  '--input', os.path.join(work, 'emperor.txt')] + outputs(work, 'host') +
                 list(extra))
    return host, wait_for_file(invite, host, 'the creator')


def join(sim, address, code, work, ticks, extra=()):
    return start(command(sim) + ['--server', address, '--join', code, '--ticks', str(ticks),
                  '--input', os.path.join(work, 'rebel.txt')] + outputs(work, 'join') +
                 list(extra))


def expect_ok(runs):
    checks, errs = [], []
    for who, proc in runs:
        rc, err = finish(proc, who, TIMEOUT)
        show(who, err)
        if rc != 0:
            fail('%s ended with status %d' % (who, rc))
        checks.append(summary_checksum(err, who))
        errs.append(err)
    if len(set(checks)) != 1:
        fail('the final checksums differ: %s' % checks)
    return errs


def play(sim, server, work):
    ticks = 400
    write_scripts(work, ticks, 300)
    host, code = create(sim, server, work, ticks, ['--realtime'])
    guest = join(sim, server.address(), code, work, ticks, ['--realtime'])
    time.sleep(ticks * 0.03 / 2)
    third = subprocess.run([sim, '--server', server.address(), '--join', code.lower()],
                           capture_output=True, text=True, timeout=TIMEOUT)
    show('third player', third.stderr)
    if third.returncode != 4 or 'room is full' not in third.stderr:
        fail('a third player was not turned away with status 4 (%d)' % third.returncode)
    watcher = start([sim, '--server', server.address(), '--watch', code] +
                    outputs(work, 'watch'))
    expect_ok([('host', host), ('join', guest), ('spectator', watcher)])
    same_game(sim, work, ['host', 'join', 'watch'], ticks)
    log = server.stop()
    if ('room %s spectator' % code) not in log:
        fail('the spectator never came to the room:\n' + log)


def quick(sim, server, work):
    ticks = 300
    runs = []
    for name in ('first', 'second'):
        runs.append((name, start([sim, '--server', server.address(), '--quick', '--ticks',
                                  str(ticks)] + outputs(work, name))))
        time.sleep(0.2)
    expect_ok(runs)
    same_game(sim, work, ['first', 'second'], ticks, local=False)


def start_relay(server, faults=('--max-delay', '300', '--drop', '20', '--duplicate', '5')):
    relay_port = free_port()
    relay = start([sys.executable, RELAY, str(relay_port), str(server.port)] + list(faults) +
                  ['--lifetime', str(TIMEOUT * 2)])
    if relay.stdout.readline().strip() != 'ready':
        fail('the relay did not start')
    return relay, relay_port


def stop_relay(relay):
    relay.send_signal(signal.SIGTERM)
    print('relay: ' + relay.communicate(timeout=10)[0].strip())


def lossy(sim, server, work):
    ticks = 600
    write_scripts(work, ticks, 450)
    relay, relay_port = start_relay(server)
    try:
        host, code = create(sim, server, work, ticks)
        guest = join(sim, '127.0.0.1:%d' % relay_port, code, work, ticks)
        errs = expect_ok([('host', host), ('join', guest)])
    finally:
        stop_relay(relay)
    same_game(sim, work, ['host', 'join'], ticks)
    if all('rollbacks 0 ' in err for err in errs):
        fail('no rollback happened, so the link was too kind for this test')


def refused(sim, server, work):
    cases = [
        (['--join', '22222222'], 4, 'no room'),
        (['--watch', 'zzzz-zzzz'], 4, 'no room'),
        (['--join', 'not-a-code!'], 2, 'no invite code'),
    ]
    for args, status, words in cases:
        run = subprocess.run([sim, '--server', server.address()] + args, capture_output=True,
                             text=True, timeout=TIMEOUT)
        show(' '.join(args), run.stderr)
        if run.returncode != status or words not in run.stderr:
            fail('%s: status %d, expected %d and "%s"' % (args, run.returncode, status, words))
    began = time.monotonic()
    run = subprocess.run([sim, '--server', '127.0.0.1:%d' % free_port(), '--quick'],
                         capture_output=True, text=True, timeout=TIMEOUT)
    show('nobody there', run.stderr)
    if run.returncode != 3 or 'cannot be reached' not in run.stderr:
        fail('a server nobody runs: status %d' % run.returncode)
    if time.monotonic() - began > 9:
        fail('giving up on a server nobody runs took %.1f s' % (time.monotonic() - began))


def killed(sim, server, work):
    write_scripts(work, 100, 0)
    host, code = create(sim, server, work, 1000000, ['--realtime'])
    guest = join(sim, server.address(), code, work, 1000000, ['--realtime'])
    watcher = start([sim, '--server', server.address(), '--watch', code])
    time.sleep(3)
    for who, proc in (('host', host), ('join', guest), ('spectator', watcher)):
        if proc.poll() is not None:
            fail('%s ended before the server was killed: %s' % (who, proc.communicate()[1]))
    server.proc.kill()
    server.proc.wait()
    gone = time.monotonic()
    for who, proc in (('host', host), ('join', guest), ('spectator', watcher)):
        rc, err = finish(proc, who, 15)
        took = time.monotonic() - gone
        show(who, err)
        print('%s ended %.1f s after the server was killed' % (who, took))
        if rc != 3 or 'server' not in err:
            fail('%s did not end naming the server (status %d)' % (who, rc))
        if took > 7:
            fail('%s needed %.1f s to notice the server was gone' % (who, took))
        summary_checksum(err, who)


def closing(sim, server, work):
    write_scripts(work, 100, 0)
    host, code = create(sim, server, work, 1000000, ['--realtime'])
    guest = join(sim, server.address(), code, work, 1000000, ['--realtime'])
    watcher = start([sim, '--server', server.address(), '--watch', code])
    time.sleep(3)
    server.proc.send_signal(signal.SIGTERM)
    asked = time.monotonic()
    for who, proc in (('host', host), ('join', guest), ('spectator', watcher)):
        rc, err = finish(proc, who, 20)
        show(who, err)
        notice = 'the server is closing: the game may go on for at most 4 s'
        if notice not in err:
            fail('%s was not told that the server is closing' % who)
        if rc != 3 or time.monotonic() - asked > 4 + 7:
            fail('%s did not end once the server closed (status %d)' % (who, rc))


def dark(at_s, length_ms):
    """A relay that carries everything at once, except nothing either way for
    length_ms from at_s seconds after its client's first datagram."""
    when = '%g:%d:' % (at_s, length_ms)
    return ('--max-delay', '0', '--drop', '0', '--duplicate', '0',
            '--blackout', when + 'to-target', '--blackout', when + 'to-client')


def through_outages(sim, server, work, player_ms, watch_ms):
    """The joiner and a spectator, each through a relay that goes dark for
    the given ms (0: never) 2 s after it starts; returns the relays, the runs
    and when each link went dark (about)."""
    ticks = 500
    write_scripts(work, ticks, 300)
    relays = []

    def address(length_ms):
        if not length_ms:
            return server.address()
        relay, port = start_relay(server, dark(2, length_ms))
        relays.append(relay)
        return '127.0.0.1:%d' % port

    host, code = create(sim, server, work, ticks, ['--realtime'])
    guest = join(sim, address(player_ms), code, work, ticks, ['--realtime'])
    began = time.monotonic()
    time.sleep(1)
    watcher = start([sim, '--server', address(watch_ms), '--watch', code] +
                    outputs(work, 'watch'))
    return relays, [('host', host), ('join', guest), ('spectator', watcher)], \
        {'host': began + 2, 'join': began + 2, 'spectator': began + 3}


def outage(sim, server, work):
    relays, runs, _ = through_outages(sim, server, work, 4000, 4000)
    try:
        expect_ok(runs)
    finally:
        for relay in relays:
            stop_relay(relay)
    same_game(sim, work, ['host', 'join', 'watch'], 500)


def expect_cut(runs, dark_at, reasons):
    """Each run named in reasons ends with status 3 naming its reason within
    5-7 s of its link going dark; returns the others' statuses."""
    statuses, ended = {}, {}
    until = time.monotonic() + TIMEOUT
    while len(ended) < len(runs) and time.monotonic() < until:
        for who, proc in runs:
            if who not in ended and proc.poll() is not None:
                ended[who] = time.monotonic()
        time.sleep(0.02)
    for who, proc in runs:
        rc, err = finish(proc, who, 1)
        took = ended[who] - dark_at[who]
        show(who, err)
        statuses[who] = rc
        if who not in reasons:
            continue
        print('%s ended %.1f s after its link went dark' % (who, took))
        if rc != 3 or reasons[who] not in err:
            fail('%s did not end naming the %s (status %d)' % (who, reasons[who], rc))
        if not 4.5 <= took <= 7.5:
            fail('%s ended %.1f s after the cut, not within 5-7 s' % (who, took))
    return statuses


def cut(sim, server, work):
    # The joiner's link: both players end; the spectator sees the feed end.
    relays, runs, dark_at = through_outages(sim, server, work, 8000, 0)
    try:
        statuses = expect_cut(runs, dark_at, {'host': 'other machine', 'join': 'server'})
    finally:
        for relay in relays:
            stop_relay(relay)
    if statuses['spectator'] not in (0, 3):
        fail('the spectator ended with status %d' % statuses['spectator'])
    host_trace, join_trace = read(work, 'host.trace'), read(work, 'join.trace')
    shorter = min(len(host_trace), len(join_trace))
    if host_trace[:shorter] != join_trace[:shorter]:
        fail("the players' traces differ")
    # The spectator's link: only the spectator ends; the players play on.
    relays, runs, dark_at = through_outages(sim, server, work, 0, 8000)
    try:
        statuses = expect_cut(runs, dark_at, {'spectator': 'server'})
    finally:
        for relay in relays:
            stop_relay(relay)
    if statuses['host'] != 0 or statuses['join'] != 0:
        fail('a player ended with status %s' % statuses)


def trace_lines(work, name):
    return read(work, name + '.trace').count(b'\n')


def stop(sim, server, work):
    write_scripts(work, 1000, 300)
    host, code = create(sim, server, work, 0, ['--realtime'])
    guest = join(sim, server.address(), code, work, 150, ['--realtime'])
    errs = expect_ok([('host', host), ('join', guest)])
    if trace_lines(work, 'host') != 151 or trace_lines(work, 'join') != 151:
        fail('the room without a length did not play the joiner\'s 150 ticks')
    if 'playing 150 ticks' not in errs[0]:
        fail('the creator did not note the length the joiner asked for')

    host, code = create(sim, server, work, 0, ['--realtime'])
    guest = start(command(sim) + ['--server', server.address(), '--join', code,
                  '--input', os.path.join(work, 'rebel.txt'), '--realtime'] +
                  outputs(work, 'join'))
    time.sleep(4)
    guest.send_signal(signal.SIGTERM)
    stopped = time.monotonic()
    rc, err = finish(guest, 'join', 10)
    show('join', err)
    host_rc, host_err = finish(host, 'host', 10)
    show('host', host_err)
    print('the host ended %.1f s after the joiner was stopped' % (time.monotonic() - stopped))
    if rc != 3 or 'ended here' not in err:
        fail('the stopped joiner ended with status %d' % rc)
    if host_rc != 3 or 'left the game' not in host_err:
        fail('the host did not learn that the joiner left (status %d)' % host_rc)
    ticks = int(re.search(r'ticks (\d+)', err.strip().splitlines()[-1]).group(1))
    if ticks < 50 or trace_lines(work, 'join') != ticks + 1:
        fail('the stopped joiner wrote %d trace lines for %d ticks' %
             (trace_lines(work, 'join'), ticks))
    replay = subprocess.run([sim, '--replay', os.path.join(work, 'join.qxr')],
                            capture_output=True, text=True, timeout=TIMEOUT)
    if replay.returncode != 0:
        fail('the stopped joiner\'s replay does not play: ' + replay.stderr)


class HoldingRelay:
    """A TCP relay to the server that forwards at once, except that from
    at_s seconds after its first connection (or that of the relay `origin`,
    so that two links go dark together) it holds every byte either way for
    length_ms (the connections stay open), then lets them go."""

    def __init__(self, server, at_s, length_ms, origin=None):
        self.target = server.port
        self.at_s, self.length_s = at_s, length_ms / 1000
        self.origin = origin or self
        self.first = None
        self.listener = socket.create_server(('127.0.0.1', 0))
        self.port = self.listener.getsockname()[1]
        self.closing = False
        threading.Thread(target=self.accept, daemon=True).start()

    def accept(self):
        while not self.closing:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            if self.first is None:
                self.first = time.monotonic()
            upstream = socket.create_connection(('127.0.0.1', self.target))
            for a, b in ((client, upstream), (upstream, client)):
                threading.Thread(target=self.carry, args=(a, b), daemon=True).start()

    def hold(self):
        start = (self.origin.first or self.first) + self.at_s
        while start <= time.monotonic() < start + self.length_s:
            time.sleep(0.01)

    def carry(self, source, sink):
        try:
            while True:
                data = source.recv(65536)
                if not data:
                    break
                self.hold()
                sink.sendall(data)
        except OSError:
            pass
        for s in (source, sink):
            try:
                s.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def close(self):
        self.closing = True
        self.listener.close()


def ws_outages(sim, node_sim, server, work, player_ms, watch_ms):
    """As through_outages, with the joiner and the spectator under Node
    behind holding TCP relays."""
    ticks = 500
    write_scripts(work, ticks, 300)
    relays = []

    def address(length_ms):
        if not length_ms:
            return server.address()
        # Both links go dark at once: a spectator hears nothing while the
        # players' game waits, so its own outage must not come on top.
        relays.append(HoldingRelay(server, 3, length_ms, relays[0] if relays else None))
        return '127.0.0.1:%d' % relays[-1].port

    host, code = create(sim, server, work, ticks, ['--realtime'])
    guest = join(node_sim, address(player_ms), code, work, ticks, ['--realtime'])
    began = time.monotonic()
    time.sleep(1)
    watcher = start(command(node_sim) + ['--server', address(watch_ms), '--watch', code] +
                    outputs(work, 'watch'))
    # A relay's clock starts at its connection (Node takes a while to start).
    until = time.monotonic() + 20
    while any(r.first is None for r in relays) and time.monotonic() < until:
        time.sleep(0.02)
    dark = relays[0].first + relays[0].at_s if relays and relays[0].first else began + 3
    return relays, [('host', host), ('join', guest), ('spectator', watcher)], \
        {'host': dark, 'join': dark, 'spectator': dark}


def wsoutage(sim, server, work, node_sim):
    relays, runs, _ = ws_outages(sim, node_sim, server, work, 4000, 4000)
    try:
        expect_ok(runs)
    finally:
        for relay in relays:
            relay.close()
    same_game(sim, work, ['host', 'join', 'watch'], 500)
    relays, runs, dark_at = ws_outages(sim, node_sim, server, work, 8000, 0)
    expect_cut(runs, dark_at, {'host': 'other machine', 'join': 'other machine'})
    relays[0].close()
    relays, runs, dark_at = ws_outages(sim, node_sim, server, work, 0, 8000)
    statuses = expect_cut(runs, dark_at, {'spectator': 'server'})
    relays[0].close()
    if statuses['host'] != 0 or statuses['join'] != 0:
        fail('a player ended with status %s' % statuses)


def crossplay(sim, server, work, node_sim):
    ticks = 400
    write_scripts(work, ticks, 300)
    relay, relay_port = start_relay(server)
    try:
        host, code = create(node_sim, server, work, ticks, ['--realtime'])
        guest = join(sim, '127.0.0.1:%d' % relay_port, code, work, ticks, ['--realtime'])
        time.sleep(ticks * 0.03 / 2)
        watcher = start(command(node_sim) + ['--server', server.address(), '--watch', code] +
                        outputs(work, 'watch'))
        errs = expect_ok([('node host', host), ('native join', guest),
                          ('node spectator', watcher)])
    finally:
        stop_relay(relay)
    same_game(sim, work, ['host', 'join', 'watch'], ticks)
    if 'rollbacks 0 ' in errs[1]:
        fail('the joiner had no rollback, so the lossy link was too kind for this test')
    log = server.stop()
    for words in ('created, emperor by websocket', 'joined, rebel by enet',
                  'spectator 1 by websocket'):
        if words not in log:
            fail('the server\'s log has no "%s":\n%s' % (words, log))


def main():
    sim, server_exe, scenario = sys.argv[1], sys.argv[2], sys.argv[3]
    scenarios = {'play': play, 'quick': quick, 'lossy': lossy, 'refused': refused,
                 'killed': killed, 'closing': closing, 'outage': outage, 'cut': cut, 'stop': stop,
                 'crossplay': crossplay, 'wsoutage': wsoutage}
    if scenario not in scenarios:
        fail('unknown scenario ' + scenario)
    extra = []
    if scenario in ('crossplay', 'wsoutage'):
        node_sim = sys.argv[4] if len(sys.argv) > 4 else ''
        if not os.path.exists(node_sim):
            print('skipped: no simulator for Node at %r (make web)' % node_sim)
            sys.exit(77)
        extra = [node_sim]
    with tempfile.TemporaryDirectory(dir=os.environ.get('QUARNEX_NET_WORK')) as work:
        server = Server(server_exe, work, ['--drain', '4'] if scenario == 'closing' else [])
        try:
            scenarios[scenario](sim, server, work, *extra)
        finally:
            print('server: ' + server.stop().strip().replace('\n', '\n        '))
    print('passed')


if __name__ == '__main__':
    main()
