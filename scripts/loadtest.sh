#!/usr/bin/env bash
# The load test: desks (kbtz-drive processes) adjusting the large school at
# once, about two actions a second each, on one PostgreSQL database in a
# throw-away cluster on 127.0.0.1 (default 20 desks), or with --sqlite on one
# SQLite file (default 2 desks). Prints the edits per second, the median and
# 99th percentile of each interaction, how long a change took to appear on
# another desk showing the same class, the refused edits, and the checks of
# the timetable afterwards. Exits non-zero when the timetable is not intact.
#
#   scripts/loadtest.sh [--sqlite] [--desks N] [--seconds S] [--rate R] [--restart] [-- kbtz-loadtest flags]
#
# --restart (PostgreSQL): the server is stopped halfway through the run for
# 5 s and started again; the test prints how long each desk took to
# reconnect once it was back, and fails when one never did.
#
# The build is build/ (KBTZ_LOADTEST_BUILD_DIR); the cluster listens on port
# 55452 (KBTZ_LOADTEST_PG_PORT).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KBTZ_LOADTEST_BUILD_DIR:-$root/build}
port=${KBTZ_LOADTEST_PG_PORT:-55452}
sqlite=0
restart=0
desks=
seconds=60
rate=2
extra=()
while [ $# -gt 0 ]; do
  case "$1" in
    --sqlite) sqlite=1 ;;
    --desks) desks=${2:?}; shift ;;
    --seconds) seconds=${2:?}; shift ;;
    --rate) rate=${2:?}; shift ;;
    --restart) restart=1 ;;
    --) shift; extra=("$@"); break ;;
    -h|--help) sed -n '2,19p' "$0"; exit 0 ;;
    *) echo "loadtest.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target kbtz-loadtest kbtz-drive kbtz-gen >/dev/null

work=$(mktemp -d /tmp/kbtz-loadtest.XXXXXX)
cluster=
cleanup() {
  if [ -n "$cluster" ]; then "$root/scripts/pg-cluster.sh" stop "$cluster" || true; rm -rf "$cluster"; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The large school of the benchmark: 120 classes, 300 teachers, 8 periods on 5 days.
school=(--classes 120 --teachers 300 --periods 8)
if [ "$sqlite" = 1 ]; then
  "$build/bin/kbtz-gen" --synthetic "$work/school.db" "${school[@]}" >/dev/null
  target=(--db "$work/school.db")
  desks=${desks:-2}
else
  cluster=$(mktemp -d /tmp/kbtz-loadtest-pg.XXXXXX)
  base=$("$root/scripts/pg-cluster.sh" start "$cluster" "$port")
  psql "$base" -q -c "create database loadtest"
  conninfo=${base/dbname=postgres/dbname=loadtest}
  "$build/bin/kbtz-gen" --synthetic --pg "$conninfo" "${school[@]}" >/dev/null
  target=(--pg "$conninfo")
  desks=${desks:-20}
  if [ "$restart" = 1 ]; then
    target+=(--restart-at "$(awk "BEGIN { print $seconds / 2 }")" --down 5
             --stop-cmd "'$root/scripts/pg-cluster.sh' stop '$cluster' >/dev/null"
             --start-cmd "'$root/scripts/pg-cluster.sh' start '$cluster' $port >/dev/null")
  fi
fi
"$build/bin/kbtz-loadtest" "${target[@]}" --desks "$desks" --seconds "$seconds" --rate "$rate" "${extra[@]}"
