#!/usr/bin/env bash
# The speed of FET files in and out on the large synthetic school (120
# classes, 300 teachers, 4540 lessons): kbtz-gen writes it, scripts/fet-school.py
# turns it into a FET file with its timetable, then kbtz-import brings that
# into a new SQLite file and into PostgreSQL, and kbtz-export --fet writes it
# back from each. Prints each step's time (targets: import 2 s into SQLite,
# 5 s into PostgreSQL; export 1 s) and checks that each export is the file.
#
#   scripts/fet-bench.sh [BUILD_DIR]        (default: build)
#
# PostgreSQL takes part when KBTZ_PG_CONNINFO names a server; the script
# creates and drops a database kbtz_fet_bench there.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build}/bin
work=$(mktemp -d /tmp/kbtz-fet-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

ms() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }
step() { # name target_ms command...
  local name=$1 target=$2 start; shift 2
  start=$(date +%s%N)
  "$@" >"$work/out" 2>&1 || { cat "$work/out"; echo "$name: failed"; exit 1; }
  local took; took=$(ms "$start")
  printf '%-28s %6d ms  (target %d ms: %s)\n' "$name" "$took" "$target" "$([ "$took" -le "$target" ] && echo met || echo MISSED)"
}

"$bin/kbtz-gen" --synthetic "$work/school.db" --classes 120 --teachers 300 --periods 8 --fill 0.97 --seed 1 >/dev/null
python3 "$root/scripts/fet-school.py" "$work/school.db" "$work/school.fet"

step "import into SQLite" 2000 "$bin/kbtz-import" --fet "$work/school.fet" --db "$work/imported.db"
step "export from SQLite" 1000 "$bin/kbtz-export" --db "$work/imported.db" --fet "$work/back.fet"
cmp -s "$work/back.fet" "$work/school.fet" && echo "export from SQLite: the file as imported"

if [ -n "${KBTZ_PG_CONNINFO:-}" ]; then
  psql "$KBTZ_PG_CONNINFO" -qc 'drop database if exists kbtz_fet_bench' -c 'create database kbtz_fet_bench' >/dev/null 2>&1
  pg="$KBTZ_PG_CONNINFO dbname=kbtz_fet_bench"
  step "import into PostgreSQL" 5000 "$bin/kbtz-import" --fet "$work/school.fet" --pg "$pg"
  step "export from PostgreSQL" 1000 "$bin/kbtz-export" --pg "$pg" --fet "$work/back-pg.fet"
  cmp -s "$work/back-pg.fet" "$work/school.fet" && echo "export from PostgreSQL: the file as imported"
  psql "$KBTZ_PG_CONNINFO" -qc 'drop database kbtz_fet_bench' >/dev/null 2>&1
fi
