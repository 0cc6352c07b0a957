#!/usr/bin/env python3
"""Draws the player's icons and cursors and writes them as .ico/.cur files.

Run from anywhere: python3 tools/make-player-icons.py
Each picture is a function from pixel centre (x, y in 0..1) to an RGBA
colour or None (transparent); every picture is rendered at 16 and 32 pixels
(cursors at 32) as 32-bit images with an AND mask.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'player')

WHITE = (255, 255, 255, 255)
BLACK = (0, 0, 0, 255)
BLUE = (40, 90, 200, 255)
GREEN = (30, 160, 60, 255)
GREY = (120, 120, 120, 255)
ORANGE = (230, 140, 20, 255)


def in_circle(x, y, cx=0.5, cy=0.5, r=0.46):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_triangle(x, y, left=0.34, top=0.25, bottom=0.75, right=0.74):
    if x < left or x > right or y < top or y > bottom:
        return False
    half = (bottom - top) / 2 * (right - x) / (right - left)
    mid = (top + bottom) / 2
    return abs(y - mid) <= half


def in_rect(x, y, left, top, right, bottom):
    return left <= x <= right and top <= y <= bottom


def in_bars(x, y):
    return in_rect(x, y, 0.28, 0.25, 0.43, 0.75) or in_rect(x, y, 0.57, 0.25, 0.72, 0.75)


def in_square(x, y):
    return in_rect(x, y, 0.28, 0.28, 0.72, 0.72)


def badge(colour, mark):
    def draw(x, y):
        if not in_circle(x, y):
            return None
        return WHITE if mark(x, y) else colour
    return draw


def player(x, y):
    if not in_rect(x, y, 0.06, 0.06, 0.94, 0.94):
        return None
    if in_rect(x, y, 0.06, 0.70, 0.94, 0.94):
        return GREY if in_rect(x, y, 0.16, 0.80, 0.84, 0.84) else (60, 60, 60, 255)
    return WHITE if in_triangle(x, y, 0.36, 0.16, 0.62, 0.66) else BLUE


def usage(x, y):
    if not in_circle(x, y):
        return None
    dot = in_circle(x, y, 0.5, 0.27, 0.07)
    stem = in_rect(x, y, 0.44, 0.40, 0.56, 0.78)
    return WHITE if dot or stem else ORANGE


def plain(colour, mark):
    return lambda x, y: colour if mark(x, y) else None


def arrow(x, y):
    """The usual slanted arrow pointing up and left, black with a white rim."""
    if not (0 <= x <= y * 0.62 and y <= 0.62):
        return None
    inner = x >= 0.04 and y <= 0.58 and x <= y * 0.62 - 0.05
    return BLACK if inner else WHITE


def state_cursor(colour, mark):
    def draw(x, y):
        pixel = arrow(x, y)
        if pixel:
            return pixel
        # the state sign sits at the lower right of the arrow
        sx, sy = (x - 0.45) / 0.5, (y - 0.45) / 0.5
        if 0 <= sx <= 1 and 0 <= sy <= 1 and in_circle(sx, sy):
            return WHITE if mark(sx, sy) else colour
        return None
    return draw


def render(draw, size):
    rows = []
    for row in range(size):
        y = (row + 0.5) / size
        rows.append([draw((col + 0.5) / size, y) for col in range(size)])
    return rows


def image_bytes(rows):
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    stride = ((size + 31) // 32) * 4
    for pixels in reversed(rows):  # bottom-up
        bits = bytearray(stride)
        for col, pixel in enumerate(pixels):
            if pixel is None:
                colour += b'\0\0\0\0'
                bits[col // 8] |= 0x80 >> (col % 8)
            else:
                r, g, b, a = pixel
                colour += bytes((b, g, r, a))
        mask += bits
    return header + bytes(colour) + bytes(mask)


def write_group(name, images, kind, hotspot=(0, 0)):
    """kind 1 = icon, 2 = cursor."""
    data = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for rows in images:
        blob = image_bytes(rows)
        size = len(rows)
        planes, bits = (1, 32) if kind == 1 else hotspot
        data += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, planes, bits, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(data + b''.join(blobs))


def icon(name, draw):
    write_group(name, [render(draw, 32), render(draw, 16)], 1)


def cursor(name, draw):
    write_group(name, [render(draw, 32)], 2, hotspot=(0, 1))


icon('Player.ico', player)
icon('Playing.ico', badge(GREEN, in_triangle))
icon('Stopped.ico', badge(GREY, in_square))
icon('Usage.ico', usage)
icon('PlayButton.ico', plain(GREEN, in_triangle))
icon('PauseButton.ico', plain(BLUE, in_bars))
icon('StopButton.ico', plain(BLACK, in_square))
cursor('Playing.cur', state_cursor(GREEN, in_triangle))
cursor('NotPlaying.cur', state_cursor(GREY, in_square))
