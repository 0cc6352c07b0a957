#!/bin/sh
# Builds and runs the plug-in benchmark under Wine, beside the built plug-in:
#   sh bench/plugin.sh [FILE-COUNT]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}/win32"
sh "$root/tools/build.sh" win32 pixamor plugin_bench >/dev/null

. "$root/tools/session.sh"
export WINEPREFIX="$build/wineprefix"
trap stop_session EXIT INT TERM
start_xvfb
"$root/tools/wine-prefix.sh"
"$root/tools/wine-exec.sh" "$build/bin/plugin_bench.exe" "${1:-1000}"
