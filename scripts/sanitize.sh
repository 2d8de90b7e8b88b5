#!/usr/bin/env bash
# The test suite under AddressSanitizer and UndefinedBehaviorSanitizer, in a
# build of its own (build-asan, no widgets). Any finding fails the run. When
# KBTZ_PG_CONNINFO is not set and PostgreSQL 15 is installed, a throw-away
# cluster on 127.0.0.1 is started so that the PostgreSQL tests run too.
#   scripts/sanitize.sh [extra ctest arguments]
set -euo pipefail

cd "$(dirname "$0")/.."
build=build-asan
jobs=${KBTZ_JOBS:-2}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKBTZ_SANITIZE=ON -DKBTZ_BUILD_WIDGETS=OFF \
  -DKBTZ_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j"$jobs"

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0

if [ -z "${KBTZ_PG_CONNINFO:-}" ] && [ -x /usr/lib/postgresql/15/bin/initdb ]; then
  pgdir=$(mktemp -d /tmp/kbtz-pg-asan.XXXXXX)
  trap 'scripts/pg-cluster.sh stop "$pgdir"; rm -rf "$pgdir"' EXIT
  KBTZ_PG_CONNINFO=$(scripts/pg-cluster.sh start "$pgdir" "${KBTZ_PG_PORT_ASAN:-55441}")
  export KBTZ_PG_CONNINFO
fi

(cd "$build" && ctest --output-on-failure -j"$jobs" "$@")
echo "sanitize: no finding"
