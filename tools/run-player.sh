#!/bin/sh
# Sets up the machine, builds PLAYER.EXE and plays a generated five-second
# video with sound under Wine: on a display the player's window with its
# control bar and its tray icon show while it plays. Uses the current display
# and sound when there is a display, else virtual ones.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
sh "$root/tools/setup.sh" || exit 1
# A host that runs 32-bit code neither natively nor emulated (setup.sh) plays
# the same program built for x86_64.
kind=win32
/usr/lib/wine/wine --version >/dev/null 2>&1 || kind=win64
sh "$root/tools/build.sh" $kind player || exit 1
sample="$build/$kind/first-run.avi"
# Microsoft Video 1 pictures, which Wine's MCI AVI device draws, and a tone.
[ -f "$sample" ] || ffmpeg -hide_banner -loglevel error -nostdin -y \
  -f lavfi -i "testsrc=size=320x240:rate=15:duration=5" \
  -f lavfi -i "sine=frequency=440:duration=5:sample_rate=22050" \
  -c:v msvideo1 -c:a pcm_s16le "$sample" || exit 1

. "$root/tools/session.sh"
export WINEPREFIX="$build/$kind/wineprefix" WINEARCH=$kind
trap stop_session EXIT INT TERM
# Without a display of your own the machine is taken to be headless: a
# virtual display and a null audio sink that plays in real time.
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb
  start_pulse "$build/$kind/pulse-player"
fi
"$root/tools/wine-prefix.sh" || exit 1
# A Unix path would start with "/", which the player reads as an option word;
# Wine's drive Z: is the root of the Unix tree.
# Through MCI, whose AVI device draws the pictures under Wine too.
"$root/tools/wine-exec.sh" "$build/$kind/bin/PLAYER.EXE" -TryByMci -NoTryByDirectShow "$@" \
  "Z:$(echo "$sample" | tr / '\\')"
status=$?
if [ $status -eq 0 ]; then
  echo "PLAYER.EXE played $sample (5 s of a 320x240 test picture with a 440 Hz tone) and ended."
else
  echo "PLAYER.EXE ended with exit code $status while playing $sample."
fi
exit $status
