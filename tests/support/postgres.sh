#!/bin/sh
# A real PostgreSQL for the tests, in a folder of its own:
#   postgres.sh start DIR   makes DIR (initdb, once), starts the server
#                           listening only on a Unix socket in DIR, and
#                           prints its URL (postgresql://postgres@/postgres?host=DIR)
#   postgres.sh stop DIR    stops it at once (pg_ctl stop -m fast)
#   postgres.sh remove DIR  stops it and removes DIR
# As root, the server runs as the user postgres (it refuses to run as root).
# Debian's binaries are found with pg_config, or under /usr/lib/postgresql.
# fsync is off (tests need no durability) unless QX_PG_FSYNC=on (benchmarks).
set -eu
action=$1
dir=$2

bindir=$(pg_config --bindir 2>/dev/null || true)
if [ ! -x "$bindir/initdb" ]; then
  bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
fi
if [ ! -x "$bindir/initdb" ]; then
  echo "postgres.sh: no PostgreSQL server (Debian's postgresql package)" >&2
  exit 77
fi

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

case "$action" in
start)
  mkdir -p "$dir"
  if [ ! -f "$dir/data/PG_VERSION" ]; then
    if [ "$(id -u)" -eq 0 ]; then chown postgres: "$dir"; fi
    as_owner "$bindir/initdb" -D "$dir/data" -U postgres --auth=trust -E UTF8 \
      --no-instructions >"$dir/initdb.log" 2>&1 ||
      { cat "$dir/initdb.log" >&2; exit 1; }
  fi
  as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
    -o "-c listen_addresses= -k $dir -c fsync=${QX_PG_FSYNC:-off} -c max_connections=50" start >/dev/null ||
    { cat "$dir/server.log" >&2; exit 1; }
  echo "postgresql://postgres@/postgres?host=$dir"
  ;;
stop)
  as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
  ;;
remove)
  as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
  rm -rf "$dir"
  ;;
*)
  echo "usage: postgres.sh start|stop|remove DIR" >&2
  exit 2
  ;;
esac
