#!/usr/bin/env bash
# Times the command-line host on the comparison workload: 60 s of stereo
# 48 kHz float noise through twelve "A - Peak" bands (+3 dB, Q 1, 40 Hz to
# 16 kHz, log-spaced), in every filter mode and with 2x and 4x oversampling.
# Prints the user CPU seconds of the whole `brimlow process` run (the best
# of several runs) and how many times faster than real time that is.
#
# Usage: scripts/compare-speed.sh [BUILD_DIR] [RUNS]    (default build, 3)
# Needs the tool and the benchmarks built: cmake --build BUILD_DIR --target brimlow brimlow_noise_file
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-3}
brimlow=$build/tools/brimlow
noise=$build/bench/brimlow_noise_file
for program in "$brimlow" "$noise"; do
  if [ ! -x "$program" ]; then
    echo "compare-speed: $program is missing; build the brimlow and brimlow_noise_file targets" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seconds=60
"$noise" "$work/noise.wav" "$seconds" 48000

bands=()
for b in $(seq 1 12); do
  freq=$(awk -v k="$b" 'BEGIN { printf "%.3f", 40 * (16000 / 40) ^ ((k - 1) / 11) }')
  bands+=(--set "Active $b=on" --set "Type $b=A - Peak" --set "Gain $b=3" --set "Q $b=1" --set "Freq $b=$freq")
done

# User seconds of one run.
user_seconds() {
  local log=$work/time.txt
  /usr/bin/time -f %U -o "$log" "$brimlow" process "$work/noise.wav" "$work/out.wav" "$@" >/dev/null
  cat "$log"
}

best_of() {
  local best=""
  for _ in $(seq 1 "$runs"); do
    local t
    t=$(user_seconds "$@")
    best=$(awk -v a="$best" -v b="$t" 'BEGIN { print (a == "" || b < a) ? b : a }')
  done
  echo "$best"
}

row() {
  local label=$1
  shift
  local t
  t=$(best_of "$@")
  awk -v l="$label" -v t="$t" -v s="$seconds" \
    'BEGIN { if (t > 0) printf "%-28s %7.2f s %8.0f x\n", l, t, s / t; else printf "%-28s %7.2f s %8s x\n", l, t, "inf" }'
}

echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores"
printf '%-28s %9s %10s\n' "run" "user" "real time"
row "no band active"
modes=("Zero Latency" "MinimumPhase Eco" "MinimumPhase High" "MinimumPhase Max" "LinearPhase Eco" "LinearPhase High" "LinearPhase Max")
for mode in "${modes[@]}"; do
  row "$mode" "${bands[@]}" --set "Filter Mode=$mode"
done
for os in 2x 4x; do
  for mode in "Zero Latency" "LinearPhase High"; do
    row "$mode, $os" "${bands[@]}" --set "Filter Mode=$mode" --set "OS Mode=$os"
  done
done
