#!/usr/bin/env bash
# Builds the benchmark and runs it: every user interaction of the control on
# synthetic schools (small 12, large 120, huge 400 classes), beside the floor
# of its statements, on SQLite and (with --pg) PostgreSQL, each with and
# without its equivalent statement forms. Prints one table at the end; then the
# conflict check and the PDF of all classes on the large school (kbtz-report-bench).
#
#   scripts/bench.sh [--pg] [--sizes small,large,huge] [--seconds N] [-- kbtz-bench flags]
#
# PostgreSQL takes part when KBTZ_PG_CONNINFO names a server; --pg starts a
# throw-away cluster on 127.0.0.1 for the run when it does not. The build goes to
# build-bench/ (KBTZ_BENCH_BUILD_DIR); Google Benchmark's own report of each
# run is kept in build-bench/bench-report.txt.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KBTZ_BENCH_BUILD_DIR:-$root/build-bench}
pg=0
extra=()
while [ $# -gt 0 ]; do
  case "$1" in
    --pg) pg=1 ;;
    --sizes) export KBTZ_BENCH_SIZES=${2:?}; shift ;;
    --seconds) export KBTZ_BENCH_SECONDS=${2:?}; shift ;;
    --) shift; extra=("$@"); break ;;
    -h|--help) sed -n '2,14p' "$0"; exit 0 ;;
    *) echo "bench.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKBTZ_BUILD_BENCH=ON -DKBTZ_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target kbtz-bench kbtz-report-bench
# The test host's memory is measured when the widget and the host are here.
host_memory=0
if [ -f "$root/src/ui/CMakeLists.txt" ] && [ -f "$root/src/host/frm_kbtz.cpp" ]; then
  cmake --build "$build" -j2 --target kbtz-host-memory kbtz-panel-bench
  host_memory=1
fi

cluster=
cleanup() {
  if [ -n "$cluster" ]; then "$root/scripts/pg-cluster.sh" stop "$cluster" || true; rm -rf "$cluster"; fi
}
trap cleanup EXIT
if [ "$pg" = 1 ] && [ -z "${KBTZ_PG_CONNINFO:-}" ]; then
  cluster=$(mktemp -d /tmp/kbtz-bench-pg.XXXXXX)
  KBTZ_PG_CONNINFO=$("$root/scripts/pg-cluster.sh" start "$cluster" "${KBTZ_BENCH_PG_PORT:-55439}")
  export KBTZ_PG_CONNINFO
fi

export KBTZ_BENCH_QUIET=1
"$build/bin/kbtz-bench" --benchmark_out="$build/bench-report.txt" --benchmark_out_format=console "${extra[@]}"
echo
# The conflict check and the PDF of all classes on the large school.
"$build/bin/kbtz-report-bench" --benchmark_out="$build/report-bench-report.txt" --benchmark_out_format=console
echo
if [ "$host_memory" = 1 ]; then
  "$build/bin/kbtz-host-memory" --classes 120 --teachers 300 --interactions 100
  # How soon the open conflicts panel is current again after a change.
  "$build/bin/kbtz-panel-bench" --changes 60
else
  echo "frmKbTz memory: not measured (the host window is not built here)"
fi
