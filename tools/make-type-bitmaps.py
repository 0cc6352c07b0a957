#!/usr/bin/python3
"""Draws the plug-in's type pictures: the 36 kind bitmaps shipped in data/
(160 x 120, 8 bits per pixel) and the built-in 96 x 96, 16-colour fallback
compiled into the plug-in as a resource. Run from the repository's root:
    /usr/bin/python3 tools/make-type-bitmaps.py
Needs python3-pil and fonts-dejavu-core."""
import os
import struct
from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# File stem, the kind's title, its colour.
FAMILIES = [
    ("WAVE", "Wave", (40, 110, 200)), ("WAVECDC", "Wave codec", (40, 70, 160)),
    ("MIDI", "MIDI", (150, 60, 170)), ("AVI", "AVI", (200, 90, 30)),
    ("CDXA", "CD-ROM XA", (120, 120, 40)), ("CDDA", "CD audio", (30, 140, 130)),
    ("AU", "AU", (90, 130, 50)), ("AIFF", "AIFF", (60, 140, 90)),
    ("QT", "QuickTime", (60, 90, 130)), ("RM", "RealMedia", (170, 40, 60)),
    ("MPEG", "MPEG", (190, 60, 40)), ("DSHOW", "Playable", (90, 90, 90)),
    ("PLAYLIST", "Playlist", (110, 80, 40)), ("WM", "Windows Media", (30, 100, 60)),
    ("RAWPCM", "Raw PCM", (80, 60, 140)),
]
VARIANTS = {"AVI", "CDXA", "QT", "RM", "MPEG", "DSHOW", "WM"}
# Suffix, badge text of the stream variant; the plain name carries both.
STREAMS = [("", "sound + picture"), ("A", "sound"), ("V", "picture"), ("U", "unknown")]
SINGLE_BADGE = {"PLAYLIST": "list", "CDDA": "sound"}


def note(draw, x, y, colour):
    draw.ellipse([x, y + 14, x + 10, y + 22], fill=colour)
    draw.line([x + 10, y, x + 10, y + 18], fill=colour, width=2)
    draw.line([x + 10, y, x + 16, y + 5], fill=colour, width=2)


def film(draw, x, y, colour):
    draw.rectangle([x, y, x + 22, y + 18], outline=colour, width=2)
    for i in range(3):
        draw.rectangle([x + 3 + 7 * i, y + 3, x + 6 + 7 * i, y + 5], fill=colour)
        draw.rectangle([x + 3 + 7 * i, y + 13, x + 6 + 7 * i, y + 15], fill=colour)


def badge(draw, text, font):
    """The stream variant in a white band along the bottom, with its symbol."""
    draw.rectangle([0, 86, 159, 119], fill=(255, 255, 255))
    ink = (0, 0, 0)
    x = 8
    if "sound" in text:
        note(draw, x, 90, ink)
        x += 22
    if "picture" in text:
        film(draw, x, 92, ink)
        x += 28
    if text in ("unknown", "list"):
        draw.text((x, 92), "?" if text == "unknown" else "\u2261", font=font, fill=ink)
        x += 18
    draw.text((x + 2, 95), text, font=font, fill=ink)


def fitted_font(draw, text, width, start):
    size = start
    while size > 10:
        font = ImageFont.truetype(FONT, size)
        if draw.textlength(text, font=font) <= width:
            return font
        size -= 1
    return ImageFont.truetype(FONT, size)


def type_bitmap(title, colour, badge_text):
    image = Image.new("RGB", (160, 120), colour)
    draw = ImageDraw.Draw(image)
    draw.rectangle([0, 0, 159, 119], outline=(255, 255, 255), width=2)
    font = fitted_font(draw, title, 148, 30)
    box = draw.textbbox((0, 0), title, font=font)
    draw.text(((160 - (box[2] - box[0])) // 2 - box[0], 44 - (box[3] - box[1]) // 2 - box[1]),
              title, font=font, fill=(255, 255, 255))
    badge(draw, badge_text, ImageFont.truetype(FONT, 13))
    return image.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def builtin_bitmap():
    image = Image.new("RGB", (96, 96), (0, 0, 128))
    draw = ImageDraw.Draw(image)
    draw.rectangle([0, 0, 95, 95], outline=(255, 255, 255), width=2)
    note(draw, 14, 14, (255, 255, 0))
    film(draw, 54, 16, (255, 255, 0))
    font = ImageFont.truetype(FONT, 16)
    draw.text((12, 52), "Media", font=font, fill=(255, 255, 255))
    # The 16 colours of the standard palette keep it readable on any display.
    palette = [0, 0, 0, 128, 0, 0, 0, 128, 0, 128, 128, 0, 0, 0, 128, 128, 0, 128, 0, 128, 128,
               192, 192, 192, 128, 128, 128, 255, 0, 0, 0, 255, 0, 255, 255, 0, 0, 0, 255, 255, 0,
               255, 0, 255, 255, 255, 255, 255]
    holder = Image.new("P", (1, 1))
    holder.putpalette(palette + [0] * (768 - len(palette)))
    return image.quantize(palette=holder, dither=Image.Dither.NONE)


def write_4bit_bmp(image, path):
    """Pillow writes palette images with 8 bits per pixel; the resource has 4."""
    width, height = image.size
    row = ((width * 4 + 31) // 32) * 4
    palette = image.getpalette()[:48]
    pixels = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray(row)
        for x in range(width):
            line[x // 2] |= image.getpixel((x, y)) << (0 if x % 2 else 4)
        pixels += line
    colours = b"".join(bytes([palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0]) for i in range(16))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 0, 0, 16, 16)
    offset = 14 + len(header) + len(colours)
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset))
        out.write(header + colours + pixels)


def main():
    data = os.path.join(ROOT, "data")
    for stem, title, colour in FAMILIES:
        streams = STREAMS if stem in VARIANTS else [("", SINGLE_BADGE.get(stem, "sound"))]
        for suffix, text in streams:
            type_bitmap(title, colour, text).save(os.path.join(data, stem + suffix + ".BMP"))
    write_4bit_bmp(builtin_bitmap(), os.path.join(ROOT, "plugin", "Builtin.bmp"))


if __name__ == "__main__":
    main()
