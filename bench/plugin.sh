#!/bin/sh
# Builds and runs the plug-in benchmark under Wine, beside the built plug-in:
#   sh bench/plugin.sh [FILE-COUNT]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
# KIND=win64 where the host runs no 32-bit code.
kind="${KIND:-win32}"
build="${BUILD_DIR:-$root/build}/$kind"
sh "$root/tools/build.sh" "$kind" pixamor plugin_bench sample_media >/dev/null
[ "$kind" = win64 ] && export WINEARCH=win64

. "$root/tools/session.sh"
export WINEPREFIX="$build/wineprefix"
trap stop_session EXIT INT TERM
start_xvfb
"$root/tools/wine-prefix.sh"
"$root/tools/wine-exec.sh" "$build/bin/plugin_bench.exe" "${1:-1000}"
