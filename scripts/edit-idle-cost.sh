#!/usr/bin/env bash
# How much of one core `brimlow edit` takes while nobody touches it: the
# demo signal loops, meters and analyser move. Starts its own Xvfb, lets the
# editor settle, then reads the process's user+system CPU time from
# /proc/PID/stat over the measured span and prints it as a percentage of one
# core, with the machine's load at the time.
#
#   scripts/edit-idle-cost.sh [--seconds N] [--program PATH] [edit options...]
#   scripts/edit-idle-cost.sh --set "GUI Scale=200%"
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
program="$root/build/tools/brimlow"
seconds=20
settle=3
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --program) program="$2"; shift 2 ;;
    *) break ;;
  esac
done
[ -x "$program" ] || { echo "edit-idle-cost: no program at $program (build it first)" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "edit-idle-cost: Xvfb is not installed (scripts/setup.sh)" >&2; exit 1; }

work="$(mktemp -d)"
xvfb_pid=""
edit_pid=""
cleanup() {
  [ -n "$edit_pid" ] && kill "$edit_pid" 2>/dev/null && wait "$edit_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and tells its number on the descriptor.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "edit-idle-cost: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
display=":$(head -n1 "$work/display")"

DISPLAY="$display" "$program" edit "$@" </dev/null >"$work/edit.log" 2>&1 &
edit_pid=$!

# Clock ticks of user+system time (fields 14 and 15 of /proc/PID/stat).
cpu_ticks() {
  local stat
  stat="$(cat "/proc/$edit_pid/stat")" || return 1
  stat="${stat##*) }"  # the name may hold spaces
  # shellcheck disable=SC2086
  set -- $stat
  echo $(( ${12} + ${13} ))
}

sleep "$settle"
kill -0 "$edit_pid" 2>/dev/null || { echo "edit-idle-cost: edit ended early" >&2; cat "$work/edit.log" >&2; exit 1; }
start_ticks="$(cpu_ticks)"
start_time="$(date +%s.%N)"
sleep "$seconds"
end_ticks="$(cpu_ticks)" || { echo "edit-idle-cost: edit ended early" >&2; cat "$work/edit.log" >&2; exit 1; }
end_time="$(date +%s.%N)"
hz="$(getconf CLK_TCK)"

read -r load1 load5 load15 _ </proc/loadavg
awk -v t0="$start_ticks" -v t1="$end_ticks" -v s0="$start_time" -v s1="$end_time" -v hz="$hz" \
    -v args="$*" -v l1="$load1" -v l5="$load5" -v cores="$(nproc)" 'BEGIN {
  printf "edit %s: %.1f %% of one core over %.1f s (load average %s, %s, %d cores)\n",
         (args == "" ? "(defaults)" : args), 100.0 * (t1 - t0) / hz / (s1 - s0), s1 - s0, l1, l5, cores
}'
