#!/usr/bin/env python3
"""Measures the pace of a real-time network game through a real match
server, each player's link to it 50 ms +- 20 ms one way (by hand, not a
ctest: it takes a minute a run).

    pace_run.py QUARNEX_SIM QUARNEX_SERVER [--node-sim quarnex-sim.js]
                [--ticks N] [--loss PERCENT] [--retransmit MS] [--seed N]

The creator (Emperor) is the native simulator over ENet through
lossy_relay.py (datagrams lost at --loss); the joiner is another native one
the same way, or with --node-sim the simulator under Node over a WebSocket
through stream_relay.py (a lost segment held --retransmit ms). Prints each
side's ticks per second (its ticks over the time from the joiner's start to
its exit: the handshake and the goodbye count against it) and its
figures."""
import argparse, os, re, subprocess, sys, tempfile, time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, '..', 'tools'))
from net_peers import free_port, scripts, start, write  # noqa: E402
from sim_server import Server  # noqa: E402


def relay(script, port, target, args):
    proc = start([sys.executable, os.path.join(HERE, script), str(port), str(target)] + args)
    if proc.stdout.readline().strip() != 'ready':
        sys.exit('%s did not start' % script)
    return proc


def main():
    p = argparse.ArgumentParser()
    p.add_argument('sim')
    p.add_argument('server')
    p.add_argument('--node-sim', default='')
    p.add_argument('--ticks', type=int, default=1500)
    p.add_argument('--loss', type=float, default=5)
    p.add_argument('--retransmit', type=float, default=300)
    p.add_argument('--seed', type=int, default=1)
    a = p.parse_args()
    work = tempfile.mkdtemp(prefix='pace-')
    emperor, rebel = scripts(a.ticks, 7, 300)
    write(os.path.join(work, 'emperor.txt'), emperor)
    write(os.path.join(work, 'rebel.txt'), rebel)
    server = Server(a.server, work)
    link = ['--min-delay', '30', '--max-delay', '70', '--duplicate', '0', '--lifetime', '900']
    host_port, join_port = free_port(), free_port()
    relays = [relay('lossy_relay.py', host_port, server.port,
                    link + ['--drop', str(a.loss), '--seed', str(a.seed)])]
    if a.node_sim:
        relays.append(relay('stream_relay.py', join_port, server.port,
                            ['--min-delay', '30', '--max-delay', '70', '--loss', str(a.loss),
                             '--retransmit', str(a.retransmit), '--seed', str(a.seed)]))
        joiner = ['node', a.node_sim]
    else:
        relays.append(relay('lossy_relay.py', join_port, server.port,
                            link + ['--drop', str(a.loss), '--seed', str(a.seed + 7)]))
        joiner = [a.sim]
    invite = os.path.join(work, 'invite')
    host = start([a.sim, '--server', '127.0.0.1:%d' % host_port, '--create', '--side', 'emperor',
                  '--seed', '13', '--ticks', str(a.ticks), '--invite-file', invite, '--realtime',
                  '--input', os.path.join(work, 'emperor.txt')])
    while not os.path.exists(invite) or not open(invite).read().strip():
        time.sleep(0.02)
    code = open(invite).read().split()[-1]
    began = time.monotonic()
    guest = start(joiner + ['--server', '127.0.0.1:%d' % join_port, '--join', code, '--realtime',
                            '--ticks', str(a.ticks), '--input', os.path.join(work, 'rebel.txt')])
    load = os.getloadavg()[0]
    for who, proc in (('host (enet)', host), ('join (%s)' % ('websocket' if a.node_sim else 'enet'),
                                               guest)):
        _, err = proc.communicate(timeout=a.ticks * 0.2 + 60)
        took = time.monotonic() - began
        figures = [l for l in err.splitlines() if l.startswith('network:')]
        print('%s: exit %d, %.2f ticks/s (%.1f s), %s' % (
            who, proc.returncode, a.ticks / took, took, figures[-1] if figures else err[-400:]))
    for r in relays:
        r.terminate()
        r.wait(timeout=10)
    server.stop()
    print('load average at the start: %.1f' % load)


if __name__ == '__main__':
    main()
