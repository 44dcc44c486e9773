#!/usr/bin/env bash
# Sets up the machine, builds Brimlow and runs the command-line host on its built-in input.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
"$root/build/tools/brimlow" "$@"
