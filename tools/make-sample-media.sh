#!/bin/sh
# Writes small real media files made by sox and ffmpeg into the folder given
# (default build/win32/samples), for the recognition tests and the benchmark.
# Files whose tool or encoder is missing are left out; the tests skip them.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
out="${1:-$root/build/win32/samples}"
mkdir -p "$out" || exit 1
cd "$out" || exit 1

have() { command -v "$1" >/dev/null 2>&1; }
# Each writes the file named last; a file that could not be made is removed.
ff() {
  for last; do :; done
  ffmpeg -hide_banner -loglevel error -nostdin -y "$@" 2>/dev/null ||
    { echo "make-sample-media: ffmpeg could not write $last"; rm -f "$last"; }
}
# sx NAME OPTIONS...: a 0.3 s tone with the output options given.
sx() {
  name=$1
  shift
  sox -n "$@" "$name" $tone 2>/dev/null || { echo "make-sample-media: sox could not write $name"; rm -f "$name"; }
}
tone="synth 0.3 sine 440"
sine="sine=frequency=440:duration=0.3"
picture="testsrc=duration=0.3:size=64x48:rate=10"

if have sox; then
  sx pcm16.wav -r 22050 -b 16 -e signed-integer
  sx ulaw.wav -r 8000 -e u-law
  sx msadpcm.wav -r 22050 -e ms-adpcm
  sx imaadpcm.wav -r 22050 -e ima-adpcm
  sx sound.aiff -r 22050
  sx sound.aifc -r 22050 -t aifc
  sx sound.au -r 8000
  # Written to a pipe: sox cannot go back to fix the sizes.
  sox -n -r 48000 -b 32 -t wav - $tone 2>/dev/null >sox-streamed.wav
else
  echo "make-sample-media: sox is missing, its files are left out"
fi

if have ffmpeg; then
  # Written to a pipe: the RIFF size stays 0xFFFFFFFF.
  ffmpeg -hide_banner -loglevel error -nostdin -f lavfi -i "$sine" -f wav - 2>/dev/null >ffmpeg-streamed.wav
  ff -f lavfi -i "$sine" -c:a libmp3lame -f wav mp3-in-wave.wav
  # MPEG audio frames with an ID3v1 tag (128 bytes from "TAG") at the end.
  ff -f lavfi -i "$sine" -c:a libmp3lame -id3v2_version 0 tagged.mp3
  [ -f tagged.mp3 ] && { printf 'TAG%-30s' Tone; head -c 95 /dev/zero; } >>tagged.mp3
  ff -f lavfi -i "$sine" -c:a libmp3lame untagged.mp3
  ff -f lavfi -i "$picture" -f lavfi -i "$sine" -c:v msvideo1 -c:a pcm_s16le -shortest clip.avi
  ff -f lavfi -i "$picture" -c:v qtrle clip-ftyp.mov
  # The same movie in the older layout that begins with an atom of media
  # data: its leading "ftyp" atom is renamed, which players skip as data.
  if [ -f clip-ftyp.mov ]; then
    cp clip-ftyp.mov clip.mov && printf 'mdat' | dd of=clip.mov bs=1 seek=4 conv=notrunc 2>/dev/null
  fi
  ff -f lavfi -i "$sine" -c:a real_144 -ar 8000 -ac 1 clip.rm
  ff -f lavfi -i "$picture" -r 25 -c:v mpeg1video clip.mpg
  ff -f lavfi -i "$sine" -c:a wmav2 clip.wma
  ff -f lavfi -i "$picture" -frames:v 1 picture.png
  ff -f lavfi -i "$picture" -frames:v 1 picture.bmp
  ff -f lavfi -i "$picture" -frames:v 1 picture.jpg
  # Formats that the plug-in finds by their heads, sound and picture together
  # where the format has both.
  both="-f lavfi -i $picture -f lavfi -i $sine -shortest"
  ff $both -r 25 -c:v mpeg1video -c:a mp2 -f mpeg head-system.mpg
  ff -f lavfi -i "$picture" -r 25 -c:v mpeg1video -f mpeg1video head-video.mpv
  ff $both -r 25 -c:v mpeg2video -c:a mp2 -f mpegts head-transport.ts
  ff -f lavfi -i "$sine" -c:a libmp3lame -metadata title=Tone head-id3.mp3
  ff $both -c:v wmv2 -c:a wmav2 head-clip.wmv
  if ffmpeg -hide_banner -encoders 2>/dev/null | grep -q libx264; then
    ff $both -c:v libx264 -pix_fmt yuv420p -c:a aac head-clip.mp4
  else
    ff $both -c:v mpeg4 -c:a aac head-clip.mp4
  fi
  # With the movie box first, so that the head names the sound track.
  ff -f lavfi -i "$sine" -c:a aac -movflags +faststart head-sound.m4a
  # As ffmpeg writes it by default: the movie box, and so the track, at the
  # end; the plain "isom" brand does not tell a sound either.
  ff -f lavfi -i "$sine" -c:a aac sound.mp4
  ff -f lavfi -i "$sine" -c:a libvorbis head-sound.ogg
  ff -f lavfi -i "$sine" -c:a flac head-sound.flac
  ff $both -c:v libvpx -c:a libvorbis head-clip.webm
  ff $both -c:v mpeg4 -c:a mp2 head-clip.mkv
else
  echo "make-sample-media: ffmpeg is missing, its files are left out"
fi

# Standard MIDI: a header of length 6 and one track with one note.
printf 'MThd\000\000\000\006\000\000\000\001\000\140MTrk\000\000\000\014\000\220\074\100\140\200\074\100\000\377\057\000' >song.mid
printf 'rtsp://media.example/clip.rm\r\n' >reference.ram
exit 0
