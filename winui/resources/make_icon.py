#!/usr/bin/env python3
"""Writes korv.ico, the program icon: one 32 x 32 image in the classic
sixteen-colour palette (three sheets of paper on a wooden tray, carried on a
white-gloved hand that comes up from a navy sleeve). The pixels are the
ones the Qt program draws. Run it again after changing them."""
import struct
import sys

PIXELS = [
    "................................", "..............KKKKKKKKKKKKKK....",
    "..............KWWWWWWWWWWWWK....", "..........KKKKKKKKKKKKKKWWWK....",
    "..........KWWWWWWWWWWWWKWWWK....", "......KKKKKKKKKKKKKKKWWKWWWK....",
    "......KWWWWWWWWWWWWWKWWKWWWK....", "......KWBBBBBBWWWWWWKWWKWWWK....",
    "......KWWWWWWWWWWWWWKWWKWWWK....", "......KWNNNNNNNNNNWWKWWKWWWK....",
    "......KWWWWWWWWWWWWWKWWKWWWK....", "......KWNNNNNNNNNNWWKWWKWWWK....",
    "......KWWWWWWWWWWWWWKWWKWWWK....", "......KWNNNNNNWWWWWWKSSKSSSK....",
    "......KWWWWWWWWWWWWKKKKKSSSK....", "..KKKKKKKKKKKKKKKKKKWWKKKKKKKK..",
    ".KYYYYYYYYYYYYYYYYYKWWKYYYYYYYK.", ".KOOOOOOOOOOOOOOOOOKWSKOOOOOOOK.",
    "..KKKKKKKKKKKKKKKKKKWSKKKKKKKK..", "...KWWWWWWWWWWWWWWWWWWWK........",
    "..KWWWWWWWWWWWWWWWWWWWWWK.......", "..KSSSSSSSSSWWWWWWWWWWWWK.......",
    "..KWWWWWWWWWKWWWWWWWWWWWK.......", "...KSSSSSSSKWWWWWWWWWWWK........",
    "....KKKKKKKKWWWWWWWWWWK.........", "...........KWWWWWWWWWWK.........",
    "...........KSSSSSSSSSSK.........", "..........KKKKKKKKKKKKKK........",
    "..........KWWWWWWWWWWWWK........", "..........KNNNNNNNNNNNNK........",
    "..........KNNNNNNNNNNNNK........", "..........KNNNNNNNNNNNNK........",
]

# The classic palette, in its order; the letters pick entries of it.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
INDEX = {".": 0, "K": 0, "W": 15, "S": 7, "N": 4, "B": 12, "Y": 11, "O": 3}


def icon_bytes():
    size = 32
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    colours = bytearray()
    mask = bytearray()
    # Bitmaps are stored bottom row first.
    for row in reversed(PIXELS):
        for x in range(0, size, 2):
            colours.append(INDEX[row[x]] << 4 | INDEX[row[x + 1]])
        bits = 0
        for x in range(size):
            bits = bits << 1 | (1 if row[x] == "." else 0)
        mask += struct.pack(">I", bits)
    image = header + palette + bytes(colours) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "korv.ico"
    with open(out, "wb") as f:
        f.write(icon_bytes())
