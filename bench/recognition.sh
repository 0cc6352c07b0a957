#!/bin/sh
# Builds and runs the recognition benchmark under Wine:
#   sh bench/recognition.sh [FILE-COUNT]
# The program runs from a folder of its own, so that no outside-engine
# library built for the tests sits beside it and the other chain times the
# content tests without engine probes.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}/win32"
sh "$root/tools/build.sh" win32 >/dev/null
cmake --build "$build" --target recognition_bench sample_media >/dev/null
mkdir -p "$build/bench"
cp "$build/bin/recognition_bench.exe" "$build/bench/"

. "$root/tools/session.sh"
export WINEPREFIX="$build/wineprefix"
trap stop_session EXIT INT TERM
start_xvfb
"$root/tools/wine-prefix.sh"
samples=$(WINEPREFIX="$WINEPREFIX" winepath -w "$build/samples" 2>/dev/null)
"$root/tools/wine-exec.sh" "$build/bench/recognition_bench.exe" "$samples" "${1:-1200}"
