#!/usr/bin/env python3
"""Writes player/DetailNames.bin: the display names of the 27 track
information fields as dialog-initialisation records for the detail dialog's
combo box (resource 516 of type 240).

Each record: control id (16-bit), message 0x0403 (16-bit), text length with
its NUL (32-bit), the text and its NUL; a 16-bit zero ends the list.
"""
import os
import struct

NAMES = [
    "Archival Location", "Artist", "Commissioned", "Comments", "Copyright",
    "Creation Date of Subject", "Cropped", "Dimensions", "Dots per Inch",
    "Engineer", "Genre", "Keywords", "Lightness Settings", "Medium",
    "Name of Subject", "Palette Settings", "Product", "Subject Description",
    "Software", "Sharpness", "Source", "Source Form",
    "Technician Who Digitized The Subject", "SMPTE Time Code",
    "Digitization Time", "MP3", "Lyric",
]
COMBO_BOX = 1050
ADD_STRING = 0x0403

data = b''
for name in NAMES:
    text = name.encode('ascii') + b'\0'
    data += struct.pack('<HHI', COMBO_BOX, ADD_STRING, len(text)) + text
data += struct.pack('<H', 0)
assert len(NAMES) == 27 and len(data) == 563, len(data)

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'player', 'DetailNames.bin')
with open(out, 'wb') as f:
    f.write(data)
