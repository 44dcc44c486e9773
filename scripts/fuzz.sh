#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz/), writes their seed corpora
# and runs each target over its seeds, then fuzzes each one for a bounded
# time. Exits non-zero when a seed or a fuzzer finds a crash; the input is
# left as build-fuzz/tests/fuzz/findings/<target>-crash-* (or -timeout-,
# -oom-, -leak-).
#
# Usage: scripts/fuzz.sh [target...]     (default: every target)
# BRIMLOW_FUZZ_SECONDS   seconds per target (default 30)
# BRIMLOW_FUZZ_PARALLEL  targets fuzzed at once (default half the cores)
# BRIMLOW_FUZZ_DIR       build tree (default build-fuzz)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${BRIMLOW_FUZZ_SECONDS:-30}
parallel=${BRIMLOW_FUZZ_PARALLEL:-$(($(nproc) / 2 > 0 ? $(nproc) / 2 : 1))}
dir=${BRIMLOW_FUZZ_DIR:-$root/build-fuzz}
case $dir in /*) ;; *) dir=$PWD/$dir ;; esac

"$root/scripts/setup.sh"
CC=clang CXX=clang++ "$root/scripts/build.sh" "$dir" -DBRIMLOW_FUZZ=ON -DBRIMLOW_BUILD_TESTS=OFF \
  -DBRIMLOW_BUILD_BENCH=OFF
ctest --test-dir "$dir" -j "$(nproc)" --output-on-failure

fuzz=$dir/tests/fuzz
declare -A dicts=()
all=()
while read -r t d; do
  [ -n "$t" ] || continue
  all+=("$t")
  dicts[$t]=${d:-}
done <"$fuzz/targets.txt"
if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=("${all[@]}")
fi
for t in "${targets[@]}"; do
  if [ ! -x "$fuzz/$t" ]; then
    echo "$t: no such fuzz target (have: ${all[*]})"
    exit 2
  fi
done
mkdir -p "$fuzz/findings"

# One fuzzer process per target, several targets at a time.
fuzz_one() {
  local t=$1 work=$fuzz/work/$1 dict=()
  if [ -n "${dicts[$t]:-}" ]; then dict=(-dict="${dicts[$t]}"); fi
  local status=0
  # One job on one worker writes its log to fuzz-0.log in the working folder.
  (cd "$work" && "$fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -jobs=1 -workers=1 \
    -print_final_stats=1 -artifact_prefix="$fuzz/findings/$t-" "${dict[@]}" \
    "$fuzz/corpus/$t" "$fuzz/seeds/$t" >/dev/null 2>&1) || status=$?
  echo "$status" >"$work/status"
}

echo "fuzzing ${targets[*]}: ${seconds} s each, $parallel at a time"
for t in "${targets[@]}"; do
  # New inputs go to corpus/<target> and are kept between local runs; the
  # seeds are rewritten on every build.
  mkdir -p "$fuzz/corpus/$t" "$fuzz/work/$t"
  rm -f "$fuzz/work/$t"/fuzz-*.log "$fuzz/work/$t/status"
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  fuzz_one "$t" &
done
wait

failed=()
for t in "${targets[@]}"; do
  log=$fuzz/work/$t/fuzz-0.log
  status=$(cat "$fuzz/work/$t/status" 2>/dev/null || echo 1)
  if [ "$status" -ne 0 ]; then
    echo "== $t: FAILED (exit $status)"
    [ -f "$log" ] && tail -n 60 "$log"
    failed+=("$t")
  else
    echo "== $t: ok $( [ -f "$log" ] && grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$log" |
      sed 's/^stat:://; s/: */=/' | tr '\n' ' ')"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found problems in: ${failed[*]}"
  exit 1
fi
echo "fuzzing: ${#targets[@]} targets, ${seconds} s each, nothing found"
