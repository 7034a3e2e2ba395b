#!/usr/bin/env bash
# Lines per second through the logger, by one and by four processes sharing one log, against
# a baseline in the same run: the same stamped lines, one append-mode write call each, no
# lock. Prints each figure and its ratio to the baseline.
#   LINES  lines per process (default 200000)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target rundll-log-bench >/dev/null
bench=build/native/rundll-log-bench
lines=${LINES:-200000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs `procs` copies of one mode at once; prints lines per second over all of them.
rate() {
  local mode=$1 procs=$2 start end pids=()
  rm -f "$work/$mode.log"
  start=$(date +%s.%N)
  for ((i = 0; i < procs; i++)); do
    "$bench" "$mode" "$work/$mode.log" "$lines" & pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid"; done
  end=$(date +%s.%N)
  local written
  written=$(grep -c 'line' "$work/$mode.log")
  [ "$written" -eq $((procs * lines)) ] || { echo "$mode x$procs wrote $written lines" >&2; exit 1; }
  python3 -c "print(round($written / ($end - $start)))"
}

for procs in 1 4; do
  base=$(rate baseline "$procs")
  logged=$(rate logger "$procs")
  python3 -c "print(f'{$procs} process(es), {$lines} lines each: logger {$logged} lines/s, baseline {$base} lines/s, ratio {$logged / $base:.2f}')"
done
