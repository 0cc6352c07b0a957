#!/bin/sh
# Start-up benchmark under Wine, in one run: (a) a trivial Win32 program
# started and ended, (b) PLAYER.EXE started as a second instance that forwards
# one file, until the primary reports that file as started, (c) a cold
# PLAYER.EXE start until its first file has started playing; (b) and (c) with
# MCI alone and with DirectShow as the standard engine. Prints the medians
# over RUNS runs (default 7) and the ratios b/a, c/a and b/c.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
runs="${RUNS:-7}"
sh "$root/tools/build.sh" win32 >/dev/null || exit 1

. "$root/tools/session.sh"
export WINEPREFIX="$build/win32/wineprefix"
trap stop_session EXIT INT TERM
[ -n "${DISPLAY:-}" ] || start_xvfb
[ -n "${PULSE_SERVER:-}" ] || start_pulse "$build/win32/pulse"
"$root/tools/wine-prefix.sh" || exit 1

media=$(mktemp -d)
for n in 1 2; do
  sox -n -r 22050 -c 1 -b 16 "$media/bench$n.wav" synth 30 sine 440 || exit 1
done
windows() { printf 'Z:%s' "$1" | tr / '\\'; }
"$root/tools/wine-exec.sh" "$build/win32/bin/startup_bench.exe" "$runs" \
  "$(windows "$media/bench1.wav")" "$(windows "$media/bench2.wav")"
rc=$?
rm -rf "$media"
exit $rc
