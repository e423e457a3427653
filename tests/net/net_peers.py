#!/usr/bin/env python3
"""Network play between two quarnex-sim processes on 127.0.0.1.

    net_peers.py SIM SCENARIO [WORKDIR]

lossy     the Emperor hosts, the Rebel joins through lossy_relay.py (0-150 ms
          with jitter, 10% dropped, 5% doubled); both play scripted events
          with games that end. Both must exit 0 with the same checksum,
          trace and replay, equal to one machine running both scripts and
          to quarnex-sim --replay of the replay.
synctest  the same on a milder link with --sync-test 8 on both machines:
          every tick is also run again from 8 ticks back.
longlossy the same over 3,000 ticks on a worse link (0-300 ms, 20% dropped,
          5% doubled) that also goes dark toward the joiner for 3 s: the game
          goes on.
custom TICKS FIRING RELAY-OPTIONS...  the same with any length and link (for
          soak runs by hand, see net_soak.py).
silent    the joining machine is killed mid-game: the host must end with
          exit status 3 within a few seconds of the 5 s silence.
unreachable  joining a port where nobody listens ends with status 3."""
import os, random, re, signal, socket, subprocess, sys, tempfile, time

HERE = os.path.dirname(os.path.abspath(__file__))
RELAY = os.path.join(HERE, 'lossy_relay.py')
TIMEOUT = 90
# The longest a game may take here: at worst some 30 ticks a second.
def timeout_for(ticks):
    return max(TIMEOUT, ticks / 30 + 60)


def fail(message):
    print('FAILED: ' + message)
    sys.exit(1)


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


def scripts(ticks, seed, firing):
    """The Emperor's and the Rebel's events: the Emperor parks beside the
    Rebel's base and fires for `firing` ticks (so games end), then both
    wander."""
    rng = random.Random(seed)
    emperor = ['1 mouse 300 380']
    emperor += ['%d lbutton' % t for t in range(20, firing, 4)]
    for t in range(max(firing, 1), ticks, 3):
        r = rng.random()
        if r < 0.5:
            emperor.append('%d mouse %d %d' % (t, rng.randrange(600), rng.randrange(400)))
        elif r < 0.7:
            emperor.append('%d %s' % (t, rng.choice(['lbutton', 'rbutton', 'mbutton', 'key 13'])))
    rebel = []
    for t in range(max(firing, 1), ticks, 5):
        if rng.random() < 0.6:
            rebel.append('%d key %d' % (t, rng.choice([32, 88, 67, 35, 36, 37, 38, 39, 40, 45,
                                                       96, 97, 98, 99, 100, 102, 103, 104, 105])))
    return emperor, rebel


def write(path, lines):
    with open(path, 'w') as f:
        f.write('\n'.join(lines) + '\n')


def merged(emperor, rebel):
    """Both scripts as one machine runs them: per tick the Emperor's events,
    then the Rebel's."""
    events = [(int(l.split()[0]), 0, i, l) for i, l in enumerate(emperor)]
    events += [(int(l.split()[0]), 1, i, l) for i, l in enumerate(rebel)]
    return [e[3] for e in sorted(events)]


def summary_checksum(stderr, who):
    m = re.search(r'checksum ([0-9a-f]{16})\s*$', stderr)
    if not m:
        fail('%s: no summary line ending with a checksum:\n%s' % (who, stderr))
    return m.group(1)


def start(cmd, **kw):
    return subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, **kw)


def finish(proc, who, timeout=TIMEOUT):
    try:
        out, err = proc.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        fail(who + ' hangs')
    return proc.returncode, err


def play(sim, work, ticks, firing, faults, extra):
    emperor, rebel = scripts(ticks, 7, firing)
    write(os.path.join(work, 'emperor.txt'), emperor)
    write(os.path.join(work, 'rebel.txt'), rebel)
    write(os.path.join(work, 'both.txt'), merged(emperor, rebel))
    host_port, relay_port = free_port(), free_port()
    relay = start([sys.executable, RELAY, str(relay_port), str(host_port),
                   '--lifetime', str(timeout_for(ticks) * 2)] + faults)
    if relay.stdout.readline().strip() != 'ready':
        fail('the relay did not start')
    try:
        host = start([sim, '--net-host', str(host_port), '--side', 'emperor', '--seed', '13',
                      '--ticks', str(ticks), '--input', os.path.join(work, 'emperor.txt'),
                      '--trace', os.path.join(work, 'host.trace'),
                      '--record', os.path.join(work, 'host.qxr')] + extra)
        time.sleep(0.3)
        join = start([sim, '--net-join', '127.0.0.1:%d' % relay_port, '--side', 'rebel',
                      '--ticks', str(ticks), '--input', os.path.join(work, 'rebel.txt'),
                      '--trace', os.path.join(work, 'join.trace'),
                      '--record', os.path.join(work, 'join.qxr')] + extra)
        join_rc, join_err = finish(join, 'the joining machine', timeout_for(ticks))
        host_rc, host_err = finish(host, 'the hosting machine', timeout_for(ticks))
    finally:
        relay.send_signal(signal.SIGTERM)
        relay_out, _ = relay.communicate(timeout=10)
    print('host: ' + host_err.strip().replace('\n', '\n      '))
    print('join: ' + join_err.strip().replace('\n', '\n      '))
    print('relay: ' + relay_out.strip())
    dark = re.search(r'blacked_out (\d+)', relay_out)
    if any(f in ('--blackout', '--burst') for f in faults) and (not dark or dark.group(1) == '0'):
        fail('the link never went dark, so the outage was not tried')
    if host_rc != 0 or join_rc != 0:
        fail('exit status host %d, join %d' % (host_rc, join_rc))
    host_sum, join_sum = summary_checksum(host_err, 'host'), summary_checksum(join_err, 'join')
    if host_sum != join_sum:
        fail('final checksums differ: %s %s' % (host_sum, join_sum))
    host_trace = open(os.path.join(work, 'host.trace'), 'rb').read()
    if host_trace != open(os.path.join(work, 'join.trace'), 'rb').read():
        fail('the traces differ')
    if host_trace.count(b'\n') != ticks + 1:
        fail('the trace has %d lines, not %d' % (host_trace.count(b'\n'), ticks + 1))
    host_replay = open(os.path.join(work, 'host.qxr'), 'rb').read()
    if host_replay != open(os.path.join(work, 'join.qxr'), 'rb').read():
        fail('the replays differ')
    replayed = subprocess.run([sim, '--replay', os.path.join(work, 'host.qxr'),
                               '--trace', os.path.join(work, 'replay.trace')],
                              capture_output=True, text=True, timeout=TIMEOUT)
    if replayed.returncode != 0 or summary_checksum(replayed.stderr, 'replay') != host_sum:
        fail('the replay does not play back to the same end: ' + replayed.stderr)
    if open(os.path.join(work, 'replay.trace'), 'rb').read() != host_trace:
        fail('the replay\'s trace differs from the network game\'s')
    local = subprocess.run([sim, '--seed', '13', '--ticks', str(ticks), '--emperor', 'human',
                            '--rebel', 'human', '--input', os.path.join(work, 'both.txt'),
                            '--trace', os.path.join(work, 'local.trace')],
                           capture_output=True, text=True, timeout=TIMEOUT)
    if summary_checksum(local.stderr, 'local run') != host_sum:
        fail('one machine running both scripts ends elsewhere: ' + local.stderr)
    if open(os.path.join(work, 'local.trace'), 'rb').read() != host_trace:
        fail('the trace differs from one machine running both scripts')
    ended = re.search(r'games ended (\d+)', host_err)
    if firing and (not ended or int(ended.group(1)) == 0):
        fail('no game ended, so the end-of-game agreement was not tried')
    if 'rollbacks 0 ' in host_err and 'rollbacks 0 ' in join_err:
        fail('no rollback happened, so the link was too kind for this test')


def silent(sim):
    port = free_port()
    host = start([sim, '--net-host', str(port), '--ticks', '1000000', '--realtime'])
    time.sleep(0.3)
    join = start([sim, '--net-join', '127.0.0.1:%d' % port, '--ticks', '1000000', '--realtime'])
    time.sleep(1.5)
    if host.poll() is not None or join.poll() is not None:
        fail('a machine ended early')
    join.kill()
    join.wait()
    killed = time.monotonic()
    rc, err = finish(host, 'the hosting machine')
    took = time.monotonic() - killed
    print('host: ' + err.strip().replace('\n', '\n      '))
    print('ended %.1f s after the other machine vanished' % took)
    if rc != 3 or 'went silent' not in err and 'left the game' not in err:
        fail('the host did not end the game as a silence (status %d)' % rc)
    if not 4.5 < took < 9:
        fail('the host needed %.1f s' % took)
    summary_checksum(err, 'host')


def unreachable(sim):
    began = time.monotonic()
    rc, err = finish(start([sim, '--net-join', '127.0.0.1:%d' % free_port(), '--ticks', '100']),
                     'the joining machine')
    took = time.monotonic() - began
    print('join: ' + err.strip().replace('\n', '\n      '))
    if rc != 3 or 'could not be reached' not in err or not 4.5 < took < 9:
        fail('status %d after %.1f s' % (rc, took))
    summary_checksum(err, 'join')


def main():
    sim, scenario = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory(dir=os.environ.get('QUARNEX_NET_WORK')) as work:
        if scenario == 'lossy':
            play(sim, work, 1300, 1000, ['--max-delay', '150', '--drop', '10', '--duplicate', '5'],
                 [])
        elif scenario == 'longlossy':
            play(sim, work, 3000, 1000,
                 ['--max-delay', '300', '--drop', '20', '--duplicate', '5',
                  '--blackout', '12:3000:to-client'], [])
        elif scenario == 'custom':
            play(sim, work, int(sys.argv[3]), int(sys.argv[4]), sys.argv[5:], [])
        elif scenario == 'synctest':
            play(sim, work, 600, 0, ['--max-delay', '60', '--drop', '5', '--duplicate', '5'],
                 ['--sync-test', '8'])
        elif scenario == 'silent':
            silent(sim)
        elif scenario == 'unreachable':
            unreachable(sim)
        else:
            fail('unknown scenario ' + scenario)
    print('passed')


if __name__ == '__main__':
    main()
