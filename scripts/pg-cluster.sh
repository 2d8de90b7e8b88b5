#!/usr/bin/env bash
# A throw-away PostgreSQL 15 cluster for tests, listening on 127.0.0.1 only.
#   scripts/pg-cluster.sh start DIR [PORT]   prints the connection string
#   scripts/pg-cluster.sh stop DIR
set -euo pipefail

bin=/usr/lib/postgresql/15/bin
cmd=${1:?start|stop}
dir=${2:?folder of the cluster}

as_postgres() {
  if [ "$(id -u)" = 0 ]; then su postgres -s /bin/bash -c "$*"; else bash -c "$*"; fi
}

case "$cmd" in
  start)
    port=${3:-55432}
    mkdir -p "$dir"
    [ "$(id -u)" = 0 ] && chown postgres: "$dir"
    if [ ! -f "$dir/data/PG_VERSION" ]; then
      as_postgres "$bin/initdb -D '$dir/data' -A trust -U postgres -E UTF8 --locale=C.UTF-8 >'$dir/initdb.log' 2>&1"
    fi
    if ! as_postgres "$bin/pg_ctl -D '$dir/data' -l '$dir/server.log' -w -t 60 \
      -o \"-c listen_addresses=127.0.0.1 -p $port -k '$dir' -c fsync=off -c synchronous_commit=off -c full_page_writes=off\" start >/dev/null"; then
      echo "the server on port $port did not start; its log ends:" >&2
      tail -n 5 "$dir/server.log" >&2 || true
      exit 1
    fi
    echo "host=127.0.0.1 port=$port user=postgres dbname=postgres"
    ;;
  stop)
    [ -f "$dir/data/postmaster.pid" ] && as_postgres "$bin/pg_ctl -D '$dir/data' -m fast -w stop >/dev/null" || true
    ;;
  *)
    echo "usage: $0 start DIR [PORT] | stop DIR" >&2
    exit 2
    ;;
esac
