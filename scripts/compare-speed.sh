#!/usr/bin/env bash
# Times the command-line host on the comparison workload: 60 s of stereo
# 48 kHz float noise through twelve "A - Peak" bands (+3 dB, Q 1, 40 Hz to
# 16 kHz, log-spaced), in every filter mode and with 2x and 4x oversampling.
# Prints the user CPU seconds of each whole run (the best of RUNS rounds),
# how many times faster than real time that is, and its ratio to brimlow's
# Zero Latency run. Where they are installed (Debian: sox, ffmpeg,
# lsp-plugins-lv2, x42-plugins), the same file and bands go through sox's
# cookbook peaking filters, the LSP 16-band parametric equaliser and three
# x42 fil4 equalisers in series (four bells each) in ffmpeg's LV2 host, and
# ffmpeg copying the file gives that host's own cost.
#
# The rounds interleave: each round runs every command once, so a change of
# the machine's load during the script touches all of them alike.
#
# Usage: scripts/compare-speed.sh [BUILD_DIR] [RUNS]    (default build, 5)
# Needs the tool and the noise generator built:
#   cmake --build BUILD_DIR --target brimlow brimlow_noise_file
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-5}
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

# Band k (0..11): 40 Hz to 16 kHz, log-spaced.
band_freq() { awk -v k="$1" 'BEGIN { printf "%.3f", 40 * (16000 / 40) ^ (k / 11) }'; }

bands=()
for b in $(seq 1 12); do
  bands+=(--set "Active $b=on" --set "Type $b=A - Peak" --set "Gain $b=3" --set "Q $b=1" --set "Freq $b=$(band_freq $((b - 1)))")
done

# Each command: a label and its words, kept in parallel arrays (one command
# a string of NUL-separated words).
labels=()
commands=()
add() {
  local label=$1
  shift
  labels+=("$label")
  commands+=("$(printf '%s\037' "$@")")
}
add_brimlow() {
  local label=$1
  shift
  add "$label" "$brimlow" process "$work/noise.wav" "$work/out.wav" "$@"
}

add_brimlow "no band active"
modes=("Zero Latency" "MinimumPhase Eco" "MinimumPhase High" "MinimumPhase Max" "LinearPhase Eco" "LinearPhase High" "LinearPhase Max")
for mode in "${modes[@]}"; do
  add_brimlow "$mode" "${bands[@]}" --set "Filter Mode=$mode"
done
for os in 2x 4x; do
  for mode in "Zero Latency" "LinearPhase High"; do
    add_brimlow "$mode, $os" "${bands[@]}" --set "Filter Mode=$mode" --set "OS Mode=$os"
  done
done

# The peers, each on the same file and bands.
if command -v sox >/dev/null; then
  effects=()
  for b in $(seq 0 11); do effects+=(equalizer "$(band_freq "$b")" 1q 3); done
  add "sox, 12 peaking filters" sox -q "$work/noise.wav" -e floating-point "$work/sox.wav" "${effects[@]}"
fi
if command -v ffmpeg >/dev/null; then
  ffmpeg_run=(ffmpeg -nostdin -hide_banner -loglevel error -y -i "$work/noise.wav")
  add "ffmpeg copying the file" "${ffmpeg_run[@]}" -c:a pcm_f32le "$work/copy.wav"
  lsp=/usr/lib/lv2/lsp-plugins.lv2/para_equalizer_x16_stereo.ttl
  if [ -f "$lsp" ]; then
    controls=""
    for b in $(seq 0 11); do
      # Bell, +3 dB as a linear gain, Q 1.
      controls="$controls|ft_$b=1|f_$b=$(band_freq "$b")|g_$b=1.412538|q_$b=1"
    done
    uri='http\\://lsp-plug.in/plugins/lv2/para_equalizer_x16_stereo'
    add "ffmpeg + LSP x16 LV2, IIR" "${ffmpeg_run[@]}" -af "lv2=p=$uri:c=mode=0$controls" -c:a pcm_f32le "$work/lv2.wav"
    add "ffmpeg + LSP x16 LV2, FIR" "${ffmpeg_run[@]}" -af "lv2=p=$uri:c=mode=1$controls" -c:a pcm_f32le "$work/lv2.wav"
  fi
  if [ -d /usr/lib/lv2/fil4.lv2 ]; then
    # fil4 has four bells besides its shelves and pass filters (all off
    # here): three in series hold the twelve, instance i taking bands i,
    # i + 3, i + 6 and i + 9 (each section covers its band's frequency).
    # Bandwidth 0.5 gives the output level of brimlow's twelve bells.
    uri='http\\://gareus.org/oss/lv2/fil4#stereo'
    chain=""
    for i in 0 1 2; do
      c="enable=1|LSsec=0|HSsec=0|HighPass=0|LowPass=0"
      for s in 1 2 3 4; do
        c="$c|sec$s=1|freq$s=$(band_freq $((3 * (s - 1) + i)))|q$s=0.5|gain$s=3"
      done
      chain="$chain${chain:+,}lv2=p=$uri:c=$c"
    done
    add "ffmpeg + 3 x42 fil4 LV2" "${ffmpeg_run[@]}" -af "$chain" -c:a pcm_f32le "$work/fil4.wav"
  fi
fi

# User seconds of one run of command i.
user_seconds() {
  local words=()
  IFS=$'\037' read -r -a words <<<"${commands[$1]}"
  local log=$work/time.txt
  if ! /usr/bin/time -f %U -o "$log" "${words[@]}" >/dev/null 2>&1; then
    echo "compare-speed: '${labels[$1]}' failed" >&2
    exit 1
  fi
  cat "$log"
}

best=()
for i in "${!labels[@]}"; do best+=(""); done
for _ in $(seq 1 "$runs"); do
  for i in "${!labels[@]}"; do
    t=$(user_seconds "$i")
    best[i]=$(awk -v a="${best[i]}" -v b="$t" 'BEGIN { print (a == "" || b < a) ? b : a }')
  done
done

declare -A times
for i in "${!labels[@]}"; do times[${labels[i]}]=${best[i]}; done
reference=${times["Zero Latency"]}

echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "best of $runs interleaved rounds; ratio: to brimlow Zero Latency"
printf '%-34s %9s %10s %8s\n' "run" "user" "real time" "ratio"
for i in "${!labels[@]}"; do
  awk -v l="${labels[i]}" -v t="${best[i]}" -v s="$seconds" -v r="$reference" 'BEGIN {
    rt = (t > 0) ? sprintf("%8.0f x", s / t) : sprintf("%8s x", "inf")
    ratio = (r > 0) ? sprintf("%7.2f", t / r) : sprintf("%7s", "-")
    printf "%-34s %7.2f s %s %s\n", l, t, rt, ratio
  }'
done
# What oversampling costs: each oversampled run against the same mode without.
for os in 2x 4x; do
  for mode in "Zero Latency" "LinearPhase High"; do
    awk -v l="$mode, $os" -v t="${times["$mode, $os"]}" -v b="${times[$mode]}" \
      'BEGIN { if (b > 0) printf "%-34s %7.1f x the cost without\n", l, t / b }'
  done
done
