#!/bin/sh
# Sets up the machine, builds PLAYER.EXE and plays a generated sample under Wine.
# Uses the current display and sound when there is a display, else virtual ones.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
sh "$root/tools/setup.sh" || exit 1
sh "$root/tools/build.sh" win32 player || exit 1
sample="$build/win32/sample.wav"
[ -f "$sample" ] || sox -n -r 44100 -c 2 -b 16 "$sample" synth 5 sine 440 fade 0.2 5 0.5

. "$root/tools/session.sh"
export WINEPREFIX="$build/win32/wineprefix"
trap stop_session EXIT INT TERM
# Without a display of your own the machine is taken to be headless: a
# virtual display and a null audio sink that plays in real time.
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb
  start_pulse "$build/win32/pulse-player"
fi
"$root/tools/wine-prefix.sh" || exit 1
# A Unix path would start with "/", which the player reads as an option word.
"$root/tools/wine-exec.sh" "$build/win32/bin/PLAYER.EXE" "$@" "$(winepath -w "$sample" 2>/dev/null)"
