#!/bin/sh
# Runs every fuzz target for long: sh tools/fuzz-long.sh [SECONDS-EACH] [TARGET...]
# Builds the host targets first; each target keeps its corpus in
# build/native/fuzz/NAME (seeded with the sample media when present) and
# leaves what it finds there as crash-*, leak-* or timeout-* files.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}/native"
seconds="${1:-600}"
[ $# -gt 0 ] && shift
sh "$root/tools/build.sh" native >/dev/null || exit 1
targets="$*"
[ -n "$targets" ] || targets=$(cd "$build/tests" && ls *_fuzz 2>/dev/null)
samples="${BUILD_DIR:-$root/build}/win32/samples"
status=0
for target in $targets; do
  corpus="$build/fuzz/$target"
  mkdir -p "$corpus"
  [ -d "$samples" ] && cp -n "$samples"/* "$corpus"/ 2>/dev/null
  log="$build/fuzz/$target.log"
  (cd "$build/fuzz" && "$build/tests/$target" -max_total_time="$seconds" -max_len=4096 \
     -artifact_prefix="$corpus/" -print_final_stats=1 "$corpus" >"$log" 2>&1)
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  found=$(ls "$corpus" | grep -cE '^(crash|leak|timeout|oom)-')
  echo "$target: ${runs:-?} executions in ${seconds} s, exit $rc, findings $found (log $log)"
  [ "$rc" -eq 0 ] && [ "$found" -eq 0 ] || status=1
done
exit $status
