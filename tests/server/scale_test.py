#!/usr/bin/env python3
"""tools/fleet/scale.py runs: the three sizes, enough servers for the games,
PostgreSQL named as the limit at 10^6 players and not at 10^4, and bad input
refused (exit 2).

    scale_test.py SOURCE_DIR"""
import json, os, subprocess, sys


def run(script, *args):
    return subprocess.run([sys.executable, script, *args], capture_output=True, text=True)


def fail(message):
    print('FAIL: ' + message)
    sys.exit(1)


def main():
    script = os.path.join(sys.argv[1], 'tools', 'fleet', 'scale.py')
    table = run(script)
    if table.returncode != 0 or '| 1,000,000 |' not in table.stdout:
        fail('no table: %s %s' % (table.stdout, table.stderr))
    plans = [json.loads(line) for line in run(script, '--json').stdout.splitlines()]
    if [p['players'] for p in plans] != [10**4, 10**5, 10**6]:
        fail('sizes: %r' % [p['players'] for p in plans])
    for p in plans:
        if p['servers'] * p['games_per_server'] < p['games']:
            fail('too few servers for %d players' % p['players'])
    if plans[0]['postgres_limit'] or not plans[2]['postgres_limit']:
        fail('PostgreSQL should be the limit at 10^6 players and not at 10^4')
    for bad in (['--players', '0'], ['--target-load', '2']):
        if run(script, *bad).returncode != 2:
            fail('%r was not refused' % bad)
    print('ok')


if __name__ == '__main__':
    main()
