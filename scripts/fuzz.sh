#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a
# bounded time (FUZZ_SECONDS, default 30). A finding stops the script with
# the fuzzer's report and the crashing input under build-fuzz/findings/.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail

cd "$(dirname "$0")/.."
seconds=${1:-${FUZZ_SECONDS:-30}}
build=build-fuzz

cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER="${FUZZ_CXX:-clang++}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

# A smaller quarantine keeps the memory of a long run well under the limit.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=64}
mkdir -p "$build/findings"
for target in fuzz_tag fuzz_forbidden_periods; do
  corpus="$build/corpus/${target#fuzz_}"
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"${target#fuzz_}"/* "$corpus"/ 2>/dev/null || true
  echo "== $target: ${seconds}s"
  "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target-" "$corpus" 2>"$build/$target.log" || {
      tail -n 60 "$build/$target.log"
      echo "$target: FINDING (see $build/findings/)" >&2
      exit 1
    }
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|Done [0-9]+ runs' "$build/$target.log" || true
done
echo "fuzz: no finding"
