#!/usr/bin/env bash
# One command from a fresh Debian 12 machine (run as root):
#   scripts/setup.sh demo   install what is missing, build, create the sample
#                           database and run the control on it
#   scripts/setup.sh test   install what is missing, build and run every test
set -euo pipefail

cd "$(dirname "$0")/.."
mode=${1:-demo}
jobs=$(nproc 2>/dev/null || echo 2)

scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKBTZ_BUILD_TESTS=ON >/dev/null
cmake --build build -j"$jobs"

case "$mode" in
  demo)
    scripts/demo.sh
    ;;
  test)
    # A throw-away PostgreSQL cluster on loopback, so the suite runs on both engines.
    pgdir=$(mktemp -d /tmp/kbtz-pg.XXXXXX)
    trap 'scripts/pg-cluster.sh stop "$pgdir"; rm -rf "$pgdir"' EXIT
    KBTZ_PG_CONNINFO=$(scripts/pg-cluster.sh start "$pgdir" "${KBTZ_PG_PORT:-55439}")
    export KBTZ_PG_CONNINFO
    (cd build && ctest --output-on-failure -j"$jobs")
    ;;
  *)
    echo "usage: $0 demo|test" >&2
    exit 2
    ;;
esac
