#!/usr/bin/env bash
# Sets up the machine, builds Brimlow and runs the command-line host's demo:
# a built-in test signal through a factory preset, written to
# build/brimlow-demo.wav unless another file is named.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
if [ "$#" -eq 0 ]; then
  set -- "$root/build/brimlow-demo.wav"
fi
"$root/build/tools/brimlow" demo "$@"
