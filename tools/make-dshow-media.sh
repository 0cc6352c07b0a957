#!/bin/sh
# Writes the real media files that the DirectShow tests play into a folder
# (default build/win32/samples): PCM and MS ADPCM waves, MP3, an MPEG-1 system
# stream, MS-RLE AVI files with and without sound, one whose frames are one
# flat colour per second, a QuickTime movie, and flat-colour videos of
# several formats.
# Needs sox, ffmpeg and python3 on the Linux side.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out="${1:-$root/build/win32/samples}"
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }

sox -n -r 22050 -c 1 -b 16 dshow-pcm.wav synth 4 sine 440 vol 0.5
sox dshow-pcm.wav -e ms-adpcm dshow-adpcm.wav
ff -f lavfi -i "sine=frequency=440:duration=4:sample_rate=22050" -c:a libmp3lame -b:a 64k dshow-tone.mp3
ff -f lavfi -i "testsrc=size=160x120:rate=25:duration=3" -f lavfi -i "sine=frequency=440:duration=3:sample_rate=44100" \
   -c:v mpeg1video -c:a mp2 -f mpeg dshow-mpeg1.mpg
ff -f lavfi -i "testsrc=size=160x120:rate=15:duration=3" -f lavfi -i "sine=frequency=440:duration=3:sample_rate=22050" \
   -c:v qtrle -c:a pcm_s16be -f mov dshow-movie.tmp

# 320 x 240 videos whose frames are one flat colour per second, each whole
# second in the middle of its colour: red until 0.5 s, then green, blue and
# white; 3.5 s long, a key frame every five frames, with sound.
colours="color=c=red:s=320x240:r=25:d=0.5[a];color=c=lime:s=320x240:r=25:d=1[b];\
color=c=blue:s=320x240:r=25:d=1[c];color=c=white:s=320x240:r=25:d=1[d];[a][b][c][d]concat=n=4:v=1:a=0[v]"
seconds() {
  out=$1; shift
  ff -filter_complex "$colours" -f lavfi -i "sine=frequency=440:duration=3.5:sample_rate=44100" \
     -map "[v]" -map 0:a -g 5 -pix_fmt yuv420p "$@" "$out"
}
seconds dshow-seconds.mpg -c:v mpeg1video -b:v 800k -c:a mp2 -f mpeg
seconds dshow-seconds.mp4 -c:v libx264 -preset veryfast -c:a aac
seconds dshow-seconds.wmv -c:v wmv2 -c:a wmav2 -f asf
seconds dshow-seconds.webm -c:v libvpx -c:a libvorbis
seconds dshow-seconds-mpeg4.avi -c:v mpeg4 -c:a libmp3lame

python3 - <<'EOF'
import struct

# A classic QuickTime movie has no "ftyp" atom: its first atom is "mdat" or
# "moov". The chunk offsets are absolute, so the atoms before "moov" are
# merged into one "mdat" atom without moving a byte.
data = bytearray(open("dshow-movie.tmp", "rb").read())
pos = 0
while data[pos + 4:pos + 8] != b"moov":
    pos += struct.unpack(">I", data[pos:pos + 4])[0]
data[0:8] = struct.pack(">I", pos) + b"mdat"
open("dshow-movie.mov", "wb").write(data)


def rle8_frame(width, height, colour_at):
    # Rows bottom-up, each a list of (count, colour) runs, then end of line;
    # end of bitmap after the last row.
    out = bytearray()
    for y in range(height):
        x = 0
        while x < width:
            colour = colour_at(x, y)
            run = 1
            while x + run < width and run < 255 and colour_at(x + run, y) == colour:
                run += 1
            out += bytes((run, colour))
            x += run
        out += b"\x00\x00"
    out += b"\x00\x01"
    return bytes(out)


def chunk(fourcc, body):
    pad = b"\x00" if len(body) % 2 else b""
    return fourcc + struct.pack("<I", len(body)) + body + pad


def riff_list(kind, fourcc, body):
    return kind + struct.pack("<I", len(body) + 4) + fourcc + body


def checkers(shift):
    return lambda x, y: 1 + ((x + shift) // 8 + y // 8) % 4


def write_rle_avi(path, with_sound, frames=24, colours=lambda i, fps: checkers(i * 2)):
    width, height, fps = 64, 48, 8
    rate = 22050
    samples_per_frame = rate // fps
    palette = bytearray(1024)
    for i, (b, g, r) in enumerate([(0, 0, 0), (0, 0, 255), (0, 255, 0), (255, 0, 0), (255, 255, 255)]):
        palette[i * 4:i * 4 + 3] = bytes((b, g, r))
    video = [rle8_frame(width, height, colours(i, fps)) for i in range(frames)]
    audio = []
    for i in range(frames):
        block = bytearray()
        for s in range(samples_per_frame):
            block += struct.pack("<h", 4000 if ((i * samples_per_frame + s) // 25) % 2 else -4000)
        audio.append(bytes(block))
    biggest = max(len(v) for v in video)
    streams = 2 if with_sound else 1

    avih = struct.pack("<IIIIIIIIII4I", 1000000 // fps, 200000, 0, 0x10 | 0x100, frames, 0, streams,
                       biggest, width, height, 0, 0, 0, 0)
    vstrh = struct.pack("<4s4sIHHIIIIIIiI4h", b"vids", b"mrle", 0, 0, 0, 0, 1, fps, 0, frames, biggest,
                        -1, 0, 0, 0, width, height)
    vstrf = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 1, biggest, 0, 0, 256, 0) + bytes(palette)
    strls = riff_list(b"LIST", b"strl", chunk(b"strh", vstrh) + chunk(b"strf", vstrf))
    if with_sound:
        astrh = struct.pack("<4s4sIHHIIIIIIiI4h", b"auds", b"\x00\x00\x00\x00", 0, 0, 0, 0, 2, rate * 2, 0,
                            frames * samples_per_frame, samples_per_frame * 2, -1, 2, 0, 0, 0, 0)
        astrf = struct.pack("<HHIIHHH", 1, 1, rate, rate * 2, 2, 16, 0)
        strls += riff_list(b"LIST", b"strl", chunk(b"strh", astrh) + chunk(b"strf", astrf))
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) + strls)

    movi = bytearray()
    index = bytearray()
    for i in range(frames):
        parts = [(b"00dc", video[i])]
        if with_sound:
            parts.append((b"01wb", audio[i]))
        for fourcc, body in parts:
            index += struct.pack("<4sIII", fourcc, 0x10, len(movi) + 4, len(body))
            movi += chunk(fourcc, body)
    body = hdrl + riff_list(b"LIST", b"movi", bytes(movi)) + chunk(b"idx1", bytes(index))
    open(path, "wb").write(riff_list(b"RIFF", b"AVI ", body))


write_rle_avi("dshow-rle.avi", False)
write_rle_avi("dshow-rle-sound.avi", True)
# Second 0 red, 1 green, 2 blue, 3 white.
write_rle_avi("dshow-rle-seconds.avi", False, 32, lambda i, fps: lambda x, y: 1 + i // fps)
EOF
rm -f dshow-movie.tmp
ls -l dshow-*
