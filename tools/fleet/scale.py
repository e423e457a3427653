#!/usr/bin/env python3
"""The fleet on paper: servers, database writes a second and lobby traffic for
a number of concurrent players, from the relay's measured cost.

    tools/fleet/scale.py [--players N]... [--us-per-packet US] [--json] [...]

Without --players: 10^4, 10^5 and 10^6. The defaults are the figures of
docs/online.md ("Load test"): a game relays 66.7 packets a second (two
players, 33.3 each), 15.0 us of server CPU a packet on the slower machine
measured (5.7-7.0 us where the server was built), 21 KB of memory a game.
What is assumed rather than measured is named so in the output: the game's
length, the share of players in the lobby, the cost of a lobby message (one
WebSocket frame, as a relayed one) and what one PostgreSQL primary commits.

Each finished game is one history transaction (the game and both players'
ratings); each room writes its registry row three times (created, joined,
ended: what the fleet-wide lobby reads and is told of by LISTEN/NOTIFY); a
quick match queues two rows and takes them; each server refreshes its own
registration every --heartbeat seconds. A lobby subscriber gets at most one
message a second (the changes of its page of open rooms, batched)."""
import argparse
import json
import math
import sys

PACKETS_PER_GAME = 66.7  # two players, 33.3 Inputs a second each


def options(argv):
    p = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    p.add_argument('--players', type=int, action='append',
                   help='concurrent players (repeatable; default 10^4, 10^5, 10^6)')
    p.add_argument('--us-per-packet', type=float, default=15.0,
                   help='server CPU per relayed packet, measured (default 15.0)')
    p.add_argument('--target-load', type=float, default=0.6,
                   help='share of its core a server may use (default 0.6)')
    p.add_argument('--kb-per-game', type=float, default=21.0, help='memory a game (measured)')
    p.add_argument('--game-seconds', type=float, default=180.0,
                   help='a game with its set-up, assumed (default 180)')
    p.add_argument('--lobby-share', type=float, default=0.1,
                   help='share of concurrent players with the lobby open, assumed')
    p.add_argument('--quick-share', type=float, default=0.5,
                   help='share of games made by quick match, assumed')
    p.add_argument('--lobby-page', type=int, default=50, help='open rooms a lobby page shows')
    p.add_argument('--us-per-lobby-message', type=float, default=15.0,
                   help='server CPU per lobby message, assumed as a relayed packet')
    p.add_argument('--heartbeat', type=float, default=2.0, help='seconds between registrations')
    p.add_argument('--pg-commits', type=float, default=5000.0,
                   help='write transactions a second one PostgreSQL primary takes, assumed')
    p.add_argument('--json', action='store_true', help='one JSON object a line')
    a = p.parse_args(argv)
    for name in ('us_per_packet', 'target_load', 'game_seconds', 'pg_commits', 'heartbeat'):
        if getattr(a, name) <= 0:
            p.error('--%s must be above 0' % name.replace('_', '-'))
    if not 0 < a.target_load <= 1 or not 0 <= a.lobby_share <= 1 or not 0 <= a.quick_share <= 1:
        p.error('shares are between 0 and 1')
    a.players = a.players or [10**4, 10**5, 10**6]
    if any(n <= 0 for n in a.players):
        p.error('--players must be above 0')
    return a


def plan(players, a):
    """The fleet for `players` concurrent players, as a dict."""
    games = players / 2
    subscribers = players * a.lobby_share
    cpu_per_game = PACKETS_PER_GAME * a.us_per_packet / 1e6  # cores
    games_per_server = math.floor(a.target_load / cpu_per_game)
    # Lobby subscribers spread over the servers like the games.
    servers = math.ceil((games * cpu_per_game + subscribers * a.us_per_lobby_message / 1e6)
                        / a.target_load)
    games_per_second = games / a.game_seconds
    history = games_per_second
    registry = 3 * games_per_second + servers / a.heartbeat
    quick = 2 * a.quick_share * games_per_second
    commits = history + registry + quick
    # Batched: room changes ride on each server's registration, finished games
    # go in one multi-row insert a server a second.
    batched = servers / a.heartbeat + servers + quick
    lobby_bytes = a.lobby_page * 24  # code, server, state and age of each open room
    return {
        'players': players,
        'games': round(games),
        'games_per_server': games_per_server,
        'servers': servers,
        'cores': servers,
        'memory_mb_per_server': round(games / servers * a.kb_per_game / 1024, 1),
        'games_started_per_second': round(games_per_second, 1),
        'db_commits_per_second': round(commits),
        'db_history_per_second': round(history, 1),
        'db_registry_per_second': round(registry, 1),
        'db_quick_per_second': round(quick, 1),
        'notify_per_second': round(3 * games_per_second),
        'lobby_subscribers': round(subscribers),
        'lobby_messages_per_second': round(subscribers),
        'lobby_mbit_per_second': round(subscribers * lobby_bytes * 8 / 1e6, 1),
        'lobby_naive_messages_per_second': round(subscribers * 3 * games_per_second),
        'db_batched_commits_per_second': round(batched),
        'postgres_share': round(commits / a.pg_commits, 2),
        'postgres_batched_share': round(batched / a.pg_commits, 2),
        'postgres_limit': commits > a.pg_commits or 3 * games_per_second > a.pg_commits,
    }


def table(plans, a):
    out = ['Relay %.1f us a packet, %.0f %% of a core a server: %d games (%d players) a server.'
           % (a.us_per_packet, a.target_load * 100, plans[0]['games_per_server'],
              2 * plans[0]['games_per_server']),
           'Assumed: %.0f s a game, %.0f %% in the lobby, %.0f %% quick match, one PostgreSQL '
           'primary %d commits/s.' % (a.game_seconds, a.lobby_share * 100, a.quick_share * 100,
                                      a.pg_commits), '',
           '| players | servers (cores) | MB a server | games/s | DB commits/s (history + '
           'registry + quick) | batched | NOTIFY/s | lobby msgs/s | lobby Mbit/s | unbatched lobby msgs/s '
           '| PostgreSQL |',
           '|---|---|---|---|---|---|---|---|---|---|---|']
    for p in plans:
        verdict = ('over one primary (%.1fx; batched %.0f %%)'
                   % (p['postgres_share'], p['postgres_batched_share'] * 100)
                   if p['postgres_limit'] else '%.0f %% of one primary' % (p['postgres_share'] * 100))
        out.append('| {:,} | {:,} | {} | {:,} | {:,} ({} + {} + {}) | {:,} | {:,} | {:,} | {} | {:,} '
                   '| {} |'
                   .format(p['players'], p['servers'], p['memory_mb_per_server'],
                           p['games_started_per_second'], p['db_commits_per_second'],
                           p['db_history_per_second'], p['db_registry_per_second'],
                           p['db_quick_per_second'], p['db_batched_commits_per_second'],
                           p['notify_per_second'],
                           p['lobby_messages_per_second'], p['lobby_mbit_per_second'],
                           p['lobby_naive_messages_per_second'], verdict))
    return '\n'.join(out)


def main(argv):
    a = options(argv)
    plans = [plan(n, a) for n in a.players]
    if a.json:
        for p in plans:
            print(json.dumps(p, sort_keys=True))
    else:
        print(table(plans, a))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
