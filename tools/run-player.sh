#!/bin/sh
# Sets up the machine, builds PLAYER.EXE and plays a generated sample under Wine.
# Uses the current display when there is one, else a virtual one.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
sh "$root/tools/setup.sh" || exit 1
sh "$root/tools/build.sh" win32 || exit 1
sample="$build/win32/sample.wav"
[ -f "$sample" ] || sox -n -r 44100 -c 2 -b 16 "$sample" synth 5 sine 440 fade 0.2 5 0.5

. "$root/tools/session.sh"
export WINEPREFIX="$build/win32/wineprefix"
trap stop_session EXIT INT TERM
[ -n "${DISPLAY:-}" ] || start_xvfb
"$root/tools/wine-prefix.sh" || exit 1
"$root/tools/wine-exec.sh" "$build/win32/bin/PLAYER.EXE" "$@" "$sample"
