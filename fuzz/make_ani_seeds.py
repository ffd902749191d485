#!/usr/bin/env python3
"""Writes the seed and regression files of the animated cursor reader's fuzz target: good
files, files as lenient readers meet them, and hostile ones. Usage: make_ani_seeds.py <folder>"""
import struct
import sys
from pathlib import Path


def chunk(cid, data, pad=True, size=None):
    size = len(data) if size is None else size
    return cid + struct.pack("<I", size) + data + (b"\0" if pad and len(data) % 2 else b"")


def cursor(w, hx, hy):
    # One 4-bit image with its AND mask.
    rows = (w // 2 + 3) // 4 * 4 * w + (w // 8 + 3) // 4 * 4 * w
    image = struct.pack("<IiiHHIIiiII", 40, w, 2 * w, 1, 4, 0, 0, 0, 0, 0, 0) + b"\0" * 64 + b"\x11" * rows
    return struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", w, w, 16, 0, hx, hy, len(image), 22) + image


def anih(frames, steps, rate, flags):
    return chunk(b"anih", struct.pack("<9I", 36, frames, steps, 0, 0, 0, 0, rate, flags))


def riff(body, size=None):
    form = b"ACON" + body
    return chunk(b"RIFF", form, size=size)


def fram(frames, pad=True):
    return chunk(b"LIST", b"fram" + b"".join(chunk(b"icon", f, pad) for f in frames), pad)


info = chunk(b"LIST", b"INFO" + chunk(b"INAM", b"Busy\0") + chunk(b"IART", b"Ann"))
good = riff(anih(2, 3, 6, 3) + chunk(b"rate", struct.pack("<3I", 5, 6, 7))
            + chunk(b"seq ", struct.pack("<3I", 0, 1, 0)) + fram([cursor(16, 1, 2), cursor(32, 9, 9)]) + info)
seeds = {
    "good.ani": good,
    "wrong-riff-size.ani": riff(anih(1, 1, 6, 1) + fram([cursor(16, 0, 0)]), size=4),
    "odd-no-pad.ani": riff(anih(2, 2, 6, 0) + fram([cursor(16, 0, 0) + b"\0", cursor(16, 3, 3)], pad=False) + info),
    "step-past-frames.ani": riff(anih(1, 2, 6, 3) + chunk(b"seq ", struct.pack("<2I", 0, 5)) + fram([cursor(16, 0, 0)])),
    "huge-chunk-sizes.ani": riff(anih(1, 1, 6, 1) + chunk(b"LIST", b"fram" + chunk(b"icon", cursor(16, 0, 0), size=0xFFFFFFF0), size=0xFFFFFFFF)),
    "too-many-frames.ani": riff(anih(5000, 5000, 1, 1) + chunk(b"LIST", b"fram" + chunk(b"icon", b"") * 5000)),
    "many-tiny-chunks.ani": riff(anih(1, 1, 1, 1) + chunk(b"junk", b"") * 20000 + fram([cursor(16, 0, 0)])),
    "frame-hostile-directory.ani": riff(anih(1, 1, 1, 1) + fram([struct.pack("<HHH", 0, 2, 0xFFFF) + b"\xff" * 64])),
}
folder = Path(sys.argv[1])
folder.mkdir(parents=True, exist_ok=True)
for name, data in seeds.items():
    (folder / name).write_bytes(data)
