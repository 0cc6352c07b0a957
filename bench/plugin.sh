#!/bin/sh
# Builds and runs the plug-in benchmark under Wine, beside the built plug-in:
#   sh bench/plugin.sh [FILE-COUNT]
# On a host that runs no 32-bit code it runs built for x86_64 (KIND=win32 or
# KIND=win64 chooses).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
kind=win32
/usr/lib/wine/wine --version >/dev/null 2>&1 || kind=win64
kind="${KIND:-$kind}"
build="${BUILD_DIR:-$root/build}/$kind"
sh "$root/tools/build.sh" $kind pixamor plugin_bench sample_media dshow_media >/dev/null

. "$root/tools/session.sh"
export WINEPREFIX="$build/wineprefix" WINEARCH=$kind
trap stop_session EXIT INT TERM
start_xvfb
start_pulse "$build/pulse-bench"
"$root/tools/wine-prefix.sh"
"$root/tools/wine-exec.sh" "$build/bin/plugin_bench.exe" "${1:-1000}"
