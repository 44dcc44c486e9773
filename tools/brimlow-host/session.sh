#!/usr/bin/env bash
# The stand-in host's session: the plug-in bundle loaded and driven through
# its exports in both layouts, a factory preset's settings given control by
# control, the session chunk saved and restored into the other layout, the
# editor's picture, and the audio checked sample for sample against the
# command-line host with the same settings. Usage: session.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
host=$build/tools/brimlow-host/brimlow-host
brimlow=$build/tools/brimlow
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A 32-bit word, little-endian, as printf escapes.
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
# One second of mono 16-bit noise at 48 kHz.
mono_wav() {
  local frames=48000 bytes=96000
  {
    printf "RIFF$(le32 $((36 + bytes)))WAVEfmt $(le32 16)\\x01\\x00\\x01\\x00$(le32 48000)$(le32 96000)\\x02\\x00\\x10\\x00"
    printf "data$(le32 $bytes)"
    head -c "$bytes" /dev/urandom
  } > "$1"
  : "$frames"
}

"$brimlow" demo "$work/stereo.wav" > /dev/null
mono_wav "$work/mono.wav"

# The factory preset "Master:Telephone", control by control.
telephone=(
  "Active 1=on" "Type 1=A - Peak" "Gain 1=-18" "Freq 1=300" "Q 1=10"
  "Active 2=on" "Type 2=A - Low Cut" "Slope 2=24 dB" "Freq 2=400" "Q 2=0.7"
  "Active 3=on" "Gain 3=3.6" "Freq 3=400" "Q 3=2"
  "Active 4=on" "Gain 4=8.6" "Freq 4=300" "Q 4=2.5"
  "Active 5=on" "Gain 5=-18" "Freq 5=4400" "Q 5=10"
  "Active 6=on" "Type 6=A - High Cut" "Slope 6=24 dB" "Freq 6=3400" "Q 6=0.7"
  "Active 7=on" "Gain 7=3.6" "Freq 7=3400" "Q 7=2"
  "Active 8=on" "Gain 8=8.6" "Freq 8=4400" "Q 8=2.5"
)
controls=()
for setting in "${telephone[@]}"; do controls+=(--control "$setting"); done

echo "== stereo, Master:Telephone, chunk out, editor"
"$host" --layout 2-2 --input "$work/stereo.wav" --output "$work/telephone.wav" "${controls[@]}" \
  --chunk-out "$work/telephone.chunk" --editor "$work/editor.png" | tee "$work/first.txt"
grep -qx "editor: 872 x 632" "$work/first.txt"
grep -qx "closed: 0" "$work/first.txt"
test -s "$work/editor.png"

echo "== mono, the chunk back in"
"$host" --layout 1-1 --input "$work/mono.wav" --output "$work/mono-out.wav" \
  --chunk-in "$work/telephone.chunk" --chunk-out "$work/again.chunk" | tee "$work/second.txt"
grep -qx "chunk restore: 0" "$work/second.txt"
grep -qx "chunk equal: 1" "$work/second.txt"
# The state is what was saved; only the type word of the header differs.
cmp <(tail -c +57 "$work/telephone.chunk") <(tail -c +57 "$work/again.chunk")

echo "== both hosts, the same settings"
settings=("OS Mode=2x" "Filter Mode=LinearPhase Eco" "Active 4=on" "Type 4=D - High Shelf" "Phase=Invert")
for layout in 2-2 1-1; do
  input=$work/stereo.wav
  [ "$layout" = 1-1 ] && input=$work/mono.wav
  host_args=() process_args=()
  for setting in "${settings[@]}"; do
    host_args+=(--control "$setting")
    process_args+=(--set "$setting")
  done
  "$host" --layout "$layout" --input "$input" --output "$work/host-$layout.wav" "${host_args[@]}"
  "$brimlow" process "$input" "$work/process-$layout.wav" "${process_args[@]}" > /dev/null
  cmp "$work/host-$layout.wav" "$work/process-$layout.wav"
done
echo "== the stand-in host's session passed"
