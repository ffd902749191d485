#!/usr/bin/env python3
"""Writes icon files whose counts, not their bytes, make them heavy to show.

  shared DEPTHS SIZES OUT   SIZES entries that all point at one 16 x 16 32-bit image; entry i
                            claims bit count 1 + i % DEPTHS and the i-th distinct width and
                            height, so the pane's grid has DEPTHS rows and SIZES columns.
  large COUNT OUT           COUNT images of 8192 x 8192 pixels at 1 bit whose entries (sizes
                            1 x 1 to COUNT x COUNT) share one 40-byte header and a two-colour
                            palette; the pixel data lies past the end of the file (the loader
                            reads it as zeros).

Uses the standard library only.
"""
import struct
import sys


def shared_image():
    # BITMAPINFOHEADER of 16 x 32 (colour rows and mask rows), 32 bits, then 16 rows of
    # colours and 16 rows of mask (4 bytes each).
    header = struct.pack("<IiiHHIIiiII", 40, 16, 32, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = b"".join(
        struct.pack("<BBBB", (x * 16) & 255, (y * 16) & 255, 128, 255)
        for y in range(16) for x in range(16))
    return header + colours + bytes(4 * 16)


def shared(depths, sizes, out):
    if sizes > 65535 or sizes > 256 * 256:
        raise SystemExit("at most 65535 entries, and 65536 distinct sizes exist")
    image = shared_image()
    offset = 6 + 16 * sizes
    data = bytearray(struct.pack("<HHH", 0, 1, sizes))
    for i in range(sizes):
        width, height = i % 256, i // 256  # 0 stands for 256
        data += struct.pack("<BBBBHHII", width, height, 0, 0, 1, 1 + i % depths,
                            len(image), offset)
    data += image
    with open(out, "wb") as f:
        f.write(data)


def large(count, out):
    offset = 6 + 16 * count
    side = 8192
    row = side // 8  # 1-bit rows, already a multiple of 4 bytes
    size = 40 + 8 + 2 * row * side  # header, palette, colour rows and mask rows
    data = bytearray(struct.pack("<HHH", 0, 1, count))
    for i in range(count):
        # Entry sizes of 1 x 1 to count x count: every image gets a small cell of its own, so
        # a window shows all of them at once.
        data += struct.pack("<BBBBHHII", i + 1, i + 1, 2, 0, 1, 1, size, offset)
    data += struct.pack("<IiiHHIIiiII", 40, side, 2 * side, 1, 1, 0, 0, 0, 0, 2, 0)
    data += bytes([0, 0, 0, 0, 255, 255, 255, 0])
    with open(out, "wb") as f:
        f.write(data)


def main(args):
    if len(args) == 4 and args[0] == "shared":
        shared(int(args[1]), int(args[2]), args[3])
    elif len(args) == 3 and args[0] == "large":
        large(int(args[1]), args[2])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
