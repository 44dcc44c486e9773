#!/usr/bin/env bash
# Sets up the machine, builds Brimlow and runs its tests.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" -j "$(nproc)" --output-on-failure
