#!/usr/bin/env bash
# Times the command-line host on the comparison workload: 60 s of stereo
# 48 kHz float noise through twelve "A - Peak" bands (+3 dB, Q 1, 40 Hz to
# 16 kHz, log-spaced), in every filter mode and with 2x and 4x oversampling.
# Prints the user CPU seconds of the whole `brimlow process` run (the best
# of several runs) and how many times faster than real time that is. Where
# they are installed (Debian: sox, ffmpeg, lsp-plugins-lv2), the same file
# and bands through sox's cookbook peaking filters and through the LSP
# 16-band parametric equaliser in ffmpeg's LV2 host are timed alongside.
#
# Usage: scripts/compare-speed.sh [BUILD_DIR] [RUNS]    (default build, 3)
# Needs the tool and the noise generator built:
#   cmake --build BUILD_DIR --target brimlow brimlow_noise_file
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

# User seconds of one run of a command.
user_seconds() {
  local log=$work/time.txt
  /usr/bin/time -f %U -o "$log" "$@" >/dev/null 2>&1
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

print_row() {
  awk -v l="$1" -v t="$2" -v s="$seconds" \
    'BEGIN { if (t > 0) printf "%-34s %7.2f s %8.0f x\n", l, t, s / t; else printf "%-34s %7.2f s %8s x\n", l, t, "inf" }'
}

# A brimlow process run with the given settings; its time is kept by label.
declare -A times
row() {
  local label=$1
  shift
  local t
  t=$(best_of "$brimlow" process "$work/noise.wav" "$work/out.wav" "$@")
  times[$label]=$t
  print_row "$label" "$t"
}

echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores"
printf '%-34s %9s %10s\n' "run" "user" "real time"
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
# What oversampling costs: each oversampled run against the same mode without.
for os in 2x 4x; do
  for mode in "Zero Latency" "LinearPhase High"; do
    awk -v l="$mode, $os" -v t="${times["$mode, $os"]}" -v b="${times[$mode]}" \
      'BEGIN { if (b > 0) printf "%-34s %7.1f x the cost without\n", l, t / b }'
  done
done

# The references, each on the same file and bands.
if command -v sox >/dev/null; then
  effects=()
  for b in $(seq 1 12); do
    effects+=(equalizer "$(awk -v k="$b" 'BEGIN { printf "%.3f", 40 * (16000 / 40) ^ ((k - 1) / 11) }')" 1q 3)
  done
  print_row "sox, 12 peaking filters" \
    "$(best_of sox -q "$work/noise.wav" -e floating-point "$work/sox.wav" "${effects[@]}")"
fi
lsp=/usr/lib/lv2/lsp-plugins.lv2/para_equalizer_x16_stereo.ttl
if command -v ffmpeg >/dev/null && [ -f "$lsp" ]; then
  controls=""
  for b in $(seq 0 11); do
    freq=$(awk -v k="$b" 'BEGIN { printf "%.3f", 40 * (16000 / 40) ^ (k / 11) }')
    # Bell, +3 dB as a linear gain, Q 1.
    controls="$controls|ft_$b=1|f_$b=$freq|g_$b=1.412538|q_$b=1"
  done
  uri='http\\://lsp-plug.in/plugins/lv2/para_equalizer_x16_stereo'
  for mode in 0 1; do
    label=$([ "$mode" = 0 ] && echo "IIR" || echo "FIR")
    print_row "ffmpeg + LSP x16 LV2, $label" "$(best_of ffmpeg -nostdin -hide_banner -loglevel error -y \
      -i "$work/noise.wav" -af "lv2=p=$uri:c=mode=$mode$controls" -c:a pcm_f32le "$work/lv2.wav")"
  done
fi
