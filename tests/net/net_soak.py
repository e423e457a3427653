#!/usr/bin/env python3
"""Soak runs of network play by hand: GAMES games between two quarnex-sim
processes through lossy_relay.py (each with its own relay seed), PARALLEL at
a time, each checked as net_peers.py checks its games (both exit 0, equal
checksums, traces and replays, equal to one machine running both scripts).

    net_soak.py SIM [--games 10] [--ticks 10000] [--parallel 5] -- RELAY-OPTIONS...

For example, 20% lost, 0-300 ms, 5% doubled:
    net_soak.py build/tools/sim/quarnex-sim -- --max-delay 300 --drop 20 --duplicate 5
and with bursts of 1 s lost both ways every 20 s on average:
    net_soak.py build/tools/sim/quarnex-sim -- --max-delay 150 --drop 10 --burst 1000

Prints one line per game and how many agreed; exit status 0 when all did."""
import argparse, os, re, subprocess, sys, time

HERE = os.path.dirname(os.path.abspath(__file__))
PEERS = os.path.join(HERE, 'net_peers.py')


def main():
    argv = sys.argv[1:]
    relay = argv[argv.index('--') + 1:] if '--' in argv else []
    own = argv[:argv.index('--')] if '--' in argv else argv
    p = argparse.ArgumentParser()
    p.add_argument('sim')
    p.add_argument('--games', type=int, default=10)
    p.add_argument('--ticks', type=int, default=10000)
    p.add_argument('--parallel', type=int, default=5)
    a = p.parse_args(own)
    waiting = list(range(1, a.games + 1))
    running = {}
    agreed = 0
    began = time.monotonic()
    while waiting or running:
        while waiting and len(running) < a.parallel:
            game = waiting.pop(0)
            cmd = [sys.executable, PEERS, a.sim, 'custom', str(a.ticks), '1000',
                   '--seed', str(game)] + relay
            running[game] = (subprocess.Popen(cmd, stdout=subprocess.PIPE,
                                              stderr=subprocess.STDOUT, text=True),
                             time.monotonic())
        time.sleep(0.5)
        for game, (proc, started) in list(running.items()):
            if proc.poll() is None:
                continue
            del running[game]
            out = proc.stdout.read()
            ok = proc.returncode == 0
            agreed += ok
            ends = re.findall(r'games ended (\d+)', out)
            rollbacks = re.findall(r'rollbacks (\d+) \(([\d.]+)/s', out)
            relay_line = re.search(r'relay: (.*)', out)
            print('game %2d: %s in %.0f s; games ended %s; rollbacks %s; %s' % (
                game, 'agreed' if ok else 'FAILED', time.monotonic() - started,
                '/'.join(ends), ' and '.join('%s (%s/s)' % r for r in rollbacks),
                relay_line.group(1) if relay_line else ''), flush=True)
            if not ok:
                print('    ' + out.strip().replace('\n', '\n    '), flush=True)
    print('%d of %d games of %d ticks agreed (%.0f s)' % (
        agreed, a.games, a.ticks, time.monotonic() - began))
    sys.exit(0 if agreed == a.games else 1)


if __name__ == '__main__':
    main()
