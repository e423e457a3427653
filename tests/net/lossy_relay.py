#!/usr/bin/env python3
"""A UDP relay that treats datagrams the way a bad network does, for tests of
network play: every datagram is delayed by a random time (so they overtake
each other), some are dropped and some arrive twice; bursts lose everything
both ways for a while, blackouts everything one way.

    lossy_relay.py LISTEN_PORT TARGET_PORT [--min-delay MS] [--max-delay MS]
                   [--drop PERCENT] [--duplicate PERCENT] [--seed N]
                   [--burst MS] [--burst-every S]
                   [--blackout START_S:LENGTH_MS:to-target|to-client]...
                   [--lifetime S]

The first machine to send to 127.0.0.1:LISTEN_PORT is the client; everything
it sends goes on to 127.0.0.1:TARGET_PORT and everything coming back goes to
it. Bursts of --burst ms come at random, on average every --burst-every s;
a blackout starts START_S seconds after the client's first datagram. The
relay prints "ready" once it listens and stops after --lifetime seconds (or
when killed); on stop it prints what it did."""
import argparse, heapq, random, select, signal, socket, time


def main():
    p = argparse.ArgumentParser()
    p.add_argument('listen', type=int)
    p.add_argument('target', type=int)
    p.add_argument('--min-delay', type=float, default=0)
    p.add_argument('--max-delay', type=float, default=150)
    p.add_argument('--drop', type=float, default=10)
    p.add_argument('--duplicate', type=float, default=5)
    p.add_argument('--seed', type=int, default=1)
    p.add_argument('--burst', type=float, default=0)
    p.add_argument('--burst-every', type=float, default=20)
    p.add_argument('--blackout', action='append', default=[])
    p.add_argument('--lifetime', type=float, default=120)
    a = p.parse_args()
    rng = random.Random(a.seed)
    blackouts = []  # (start s after the first datagram, length s, toward the target?)
    for b in a.blackout:
        start, length, toward = b.split(':')
        if toward not in ('to-target', 'to-client'):
            p.error('a blackout goes to-target or to-client')
        blackouts.append((float(start), float(length) / 1000, toward == 'to-target'))
    began = None  # when the client's first datagram came
    burst_until = 0
    next_burst = None

    front = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    front.bind(('127.0.0.1', a.listen))
    back = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    back.bind(('127.0.0.1', 0))
    target = ('127.0.0.1', a.target)
    client = None
    queue = []  # (due, order, socket, data, address)
    order = 0
    counts = {'in': 0, 'dropped': 0, 'duplicated': 0, 'sent': 0, 'blacked_out': 0}
    print('ready', flush=True)
    stop = time.monotonic() + a.lifetime

    def on_term(*_):
        nonlocal stop
        stop = 0
    signal.signal(signal.SIGTERM, on_term)

    def cut_off(now, to_target):
        nonlocal burst_until, next_burst
        if a.burst > 0:
            if next_burst is None:
                next_burst = now + rng.uniform(0.5, 1.5) * a.burst_every
            if now >= next_burst:
                burst_until = now + a.burst / 1000
                next_burst = burst_until + rng.uniform(0.5, 1.5) * a.burst_every
            if now < burst_until:
                return True
        return began is not None and any(began + start <= now < began + start + length and toward == to_target
                   for start, length, toward in blackouts)

    def schedule(sock, data, addr):
        nonlocal order
        counts['in'] += 1
        if cut_off(time.monotonic(), sock is back):
            counts['blacked_out'] += 1
            return
        if rng.uniform(0, 100) < a.drop:
            counts['dropped'] += 1
            return
        copies = 2 if rng.uniform(0, 100) < a.duplicate else 1
        counts['duplicated'] += copies - 1
        for _ in range(copies):
            due = time.monotonic() + rng.uniform(a.min_delay, a.max_delay) / 1000
            heapq.heappush(queue, (due, order, sock, data, addr))
            order += 1

    while time.monotonic() < stop:
        now = time.monotonic()
        while queue and queue[0][0] <= now:
            _, _, sock, data, addr = heapq.heappop(queue)
            sock.sendto(data, addr)
            counts['sent'] += 1
        timeout = min(0.05, max(0, queue[0][0] - now)) if queue else 0.05
        ready, _, _ = select.select([front, back], [], [], timeout)
        for sock in ready:
            data, addr = sock.recvfrom(65536)
            if sock is front:
                client = addr
                if began is None:
                    began = time.monotonic()
                schedule(back, data, target)
            elif client is not None:
                schedule(front, data, client)
    print(' '.join('%s %d' % kv for kv in counts.items()), flush=True)


if __name__ == '__main__':
    try:
        main()
    except KeyboardInterrupt:
        pass
