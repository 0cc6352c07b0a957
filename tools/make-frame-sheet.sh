#!/bin/sh
# Draws docs/viewer-real-frames.png: the pictures that a viewer gets from the
# plug-in with "ShowImage" on (frame at 1 s) for videos of several formats,
# made here by ffmpeg from its test pattern. Needs ffmpeg and ImageMagick.
#   sh tools/make-frame-sheet.sh [win32|win64]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
kind="${1:-win32}"
build="${BUILD_DIR:-$root/build}/$kind"
sh "$root/tools/build.sh" "$kind" pixamor plugin_pictures >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ff() { ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "testsrc=size=320x240:rate=25:duration=3" \
  -f lavfi -i "sine=frequency=440:duration=3" -g 5 -pix_fmt yuv420p "$@"; }
ff -c:v mpeg1video -c:a mp2 -f mpeg "$work/clip.mpg"
ff -c:v libx264 -preset veryfast -c:a aac "$work/clip.mp4"
ff -c:v wmv2 -c:a wmav2 -f asf "$work/clip.wmv"
ff -c:v libvpx -c:a libvorbis "$work/clip.webm"
ff -c:v mpeg4 -c:a libmp3lame "$work/clip-mpeg4.avi"
ff -c:v msvideo1 -pix_fmt rgb555le -c:a pcm_s16le "$work/clip-video1.avi"
names="clip.mpg clip.mp4 clip.wmv clip.webm clip-mpeg4.avi clip-video1.avi"

. "$root/tools/session.sh"
export WINEPREFIX="$build/wineprefix" WINEARCH=$kind
trap 'stop_session; rm -rf "$work"' EXIT
start_xvfb
"$root/tools/wine-prefix.sh"
. "$root/tools/wine-loader.sh"
key='HKCU\Software\Malvoren\Pixamor'
"$wine" reg add "$key" /v ShowImage /t REG_DWORD /d 1 /f >/dev/null 2>&1
"$wine" reg add "$key" /v FramePosition /t REG_DWORD /d 1 /f >/dev/null 2>&1
"$wine" reg add "$key" /v PlayWhenOpen /t REG_DWORD /d 0 /f >/dev/null 2>&1
args=""
# Wine's drive Z: is the root folder.
for n in $names; do args="$args Z:$(echo "$work/$n" | tr / '\\\\')"; done
(cd "$build/bin" && "$root/tools/wine-exec.sh" ./plugin_pictures.exe $args) || true
set --
for n in $names; do set -- "$@" -label "$n" "$work/$n.bmp"; done
montage "$@" -tile 3x -geometry +16+10 -background '#f2f2f2' -font DejaVu-Sans -pointsize 13 \
  "$root/docs/viewer-real-frames.png"
echo "wrote docs/viewer-real-frames.png"
