#!/usr/bin/env python3
"""Writes the tiny seed files of the .bmp reader's fuzz target: one per header kind, depth and
compression that the reader knows. Usage: make_bmp_seeds.py <folder>"""
import struct
import sys
from pathlib import Path


def bmp(width, height, bits, data, compression=0, header_size=40, masks=(), palette=b"", clr_used=0):
    if header_size == 12:
        header = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        header = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, bits, compression,
                             len(data), 0, 0, clr_used, 0)
        if header_size > 40:
            header += b"".join(struct.pack("<I", m) for m in masks)
            header = header.ljust(header_size, b"\0")
        else:
            header += b"".join(struct.pack("<I", m) for m in masks)
    off_bits = 14 + len(header) + len(palette)
    return b"BM" + struct.pack("<IHHI", off_bits + len(data), 0, 0, off_bits) + header + palette + data


def grey_palette(count, entry=4):
    return b"".join(bytes([i * 255 // max(count - 1, 1)] * 3) + b"\0" * (entry - 3) for i in range(count))


seeds = {
    "mono_3x2.bmp": bmp(3, 2, 1, bytes([0xA0, 0, 0, 0, 0x40, 0, 0, 0]), palette=grey_palette(2)),
    "nibbles_topdown_3x2.bmp": bmp(3, -2, 4, bytes([0x01, 0x50, 0, 0, 0x10, 0, 0, 0]),
                                   palette=grey_palette(2), clr_used=2),
    "rle4_5x2.bmp": bmp(5, 2, 4, bytes([5, 0x12, 0, 0, 0, 3, 0xAB, 0xC0, 2, 0xDE, 0, 1]), compression=2,
                        palette=grey_palette(16)),
    "rle8_6x3.bmp": bmp(6, 3, 8, bytes([3, 5, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 7, 0, 1]),
                        compression=1, palette=grey_palette(8), clr_used=8),
    "core_24_2x1.bmp": bmp(2, 1, 24, bytes([1, 2, 3, 4, 5, 6, 0, 0]), header_size=12),
    "core_8_2x1.bmp": bmp(2, 1, 8, bytes([1, 0, 0, 0]), header_size=12, palette=grey_palette(256, 3)),
    "rgb555_2x1.bmp": bmp(2, 1, 16, bytes([0x00, 0x7C, 0xE0, 0x03])),
    "fields565_2x1.bmp": bmp(2, 1, 16, bytes([0x00, 0xF8, 0xE0, 0x07]), compression=3,
                             masks=(0xF800, 0x07E0, 0x001F)),
    "alpha4444_1x1.bmp": bmp(1, 1, 16, bytes([0x21, 0x8F, 0, 0]), compression=6,
                             masks=(0xF00, 0xF0, 0xF, 0xF000)),
    "v5_rgba_1x1.bmp": bmp(1, 1, 32, bytes([0x11, 0x22, 0x33, 0x44]), compression=3, header_size=124,
                           masks=(0xFF, 0xFF00, 0xFF0000, 0xFF000000)),
    "v3_10bit_1x1.bmp": bmp(1, 1, 32, bytes([0x01, 0x00, 0xF8, 0x3F]), compression=3, header_size=56,
                            masks=(0x3FF00000, 0xFFC00, 0x3FF, 0)),
    "argb_2x2.bmp": bmp(2, 2, 32, bytes(range(16))),
}
folder = Path(sys.argv[1])
folder.mkdir(parents=True, exist_ok=True)
for name, content in seeds.items():
    (folder / name).write_bytes(content)
