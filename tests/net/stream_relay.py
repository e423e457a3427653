#!/usr/bin/env python3
"""A TCP relay that treats a byte stream the way a bad network treats TCP,
for tests of network play over WebSocket: every chunk read is passed on
after a random delay, in order (a late chunk holds the ones behind it), and a
"lost" chunk comes only a retransmission time later, holding everything
behind it, as TCP's retransmission does.

    stream_relay.py LISTEN_PORT TARGET_PORT [--min-delay MS] [--max-delay MS]
                    [--loss PERCENT] [--retransmit MS] [--seed N] [--lifetime S]

Every connection to 127.0.0.1:LISTEN_PORT gets one to 127.0.0.1:TARGET_PORT;
the faults apply both ways. Chunks are what one read returns (the sender's
segments on a local link). Prints "ready" once it listens; on stop what it
did."""
import argparse, collections, random, signal, socket, sys, threading, time

lock = threading.Lock()
counts = collections.Counter()


def pipe(src, dst, a, rng):
    """Reads src, passes every chunk on to dst in order after its delay."""
    queue = collections.deque()
    wake = threading.Condition()
    done = [False]

    def writer():
        while True:
            with wake:
                while not queue and not done[0]:
                    wake.wait()
                if not queue:
                    break
                due, data = queue[0]
            pause = due - time.monotonic()
            if pause > 0:
                time.sleep(pause)
            with wake:
                queue.popleft()
            try:
                dst.sendall(data)
            except OSError:
                break
        try:
            dst.shutdown(socket.SHUT_WR)
        except OSError:
            pass

    t = threading.Thread(target=writer, daemon=True)
    t.start()
    last_due = 0.0
    while True:
        try:
            data = src.recv(65536)
        except OSError:
            data = b''
        if not data:
            break
        due = time.monotonic() + rng.uniform(a.min_delay, a.max_delay) / 1000
        with lock:
            counts['chunks'] += 1
            if rng.random() * 100 < a.loss:
                due += a.retransmit / 1000
                counts['held'] += 1
        last_due = max(last_due, due)
        with wake:
            queue.append((last_due, data))
            wake.notify()
    with wake:
        done[0] = True
        wake.notify()
    t.join()


def serve(client, a, seed):
    server = socket.create_connection(('127.0.0.1', a.target))
    for s in (client, server):
        s.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    ways = [threading.Thread(target=pipe, args=(client, server, a, random.Random(seed)), daemon=True),
            threading.Thread(target=pipe, args=(server, client, a, random.Random(seed + 1)), daemon=True)]
    for w in ways:
        w.start()
    for w in ways:
        w.join()
    client.close()
    server.close()


def main():
    p = argparse.ArgumentParser()
    p.add_argument('listen', type=int)
    p.add_argument('target', type=int)
    p.add_argument('--min-delay', type=float, default=0)
    p.add_argument('--max-delay', type=float, default=0)
    p.add_argument('--loss', type=float, default=0)
    p.add_argument('--retransmit', type=float, default=300)
    p.add_argument('--seed', type=int, default=1)
    p.add_argument('--lifetime', type=float, default=600)
    a = p.parse_args()
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(('127.0.0.1', a.listen))
    listener.listen(8)

    def on_stop(*_):
        print('relay: %d chunks, %d held for a retransmission' % (counts['chunks'], counts['held']),
              flush=True)
        sys.exit(0)

    signal.signal(signal.SIGTERM, on_stop)
    signal.signal(signal.SIGALRM, on_stop)
    signal.alarm(int(a.lifetime))
    print('ready', flush=True)
    n = 0
    while True:
        client, _ = listener.accept()
        n += 1
        threading.Thread(target=serve, args=(client, a, a.seed * 100 + n * 2), daemon=True).start()


if __name__ == '__main__':
    main()
