#!/bin/sh
# Builds and runs the plug-in benchmark under Wine, beside the built plug-in:
# PIXAMOR.SPI under 32-bit Wine (where this host runs 32-bit code) and
# PIXAMOR.SPH under 64-bit Wine, each reporting the same lines.
#   sh bench/plugin.sh [FILE-COUNT]
# KIND=win32 or KIND=win64 runs only that one.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/session.sh"
trap stop_session EXIT INT TERM
start_xvfb
for kind in ${KIND:-win32 win64}; do
  if [ $kind = win32 ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "== PIXAMOR.SPI: this host runs no 32-bit code, skipped"
    continue
  fi
  build="${BUILD_DIR:-$root/build}/$kind"
  sh "$root/tools/build.sh" $kind pixamor plugin_bench sample_media dshow_media >/dev/null
  [ $kind = win32 ] && echo "== PIXAMOR.SPI under 32-bit Wine" || echo "== PIXAMOR.SPH under 64-bit Wine"
  [ -n "${pulse_pid:-}" ] && kill "$pulse_pid" 2>/dev/null || true
  start_pulse "$build/pulse-bench"
  export WINEPREFIX="$build/wineprefix" WINEARCH=$kind
  "$root/tools/wine-prefix.sh"
  "$root/tools/wine-exec.sh" "$build/bin/plugin_bench.exe" "${1:-1000}"
  wineserver -k >/dev/null 2>&1 || true
done
