#!/usr/bin/env python3
"""Regenerates the bundled sample photos in samples/photos (needs cjpeg).

The pictures are drawn here, so they are the project's own: a landscape, a
portrait, one stored sideways with an EXIF orientation tag, a greyscale one
and one with a Japanese file name.
"""
import math
import os
import struct
import subprocess
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples", "photos")


def scene(w, h, seed, grey=False):
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            u, v = x / w, y / h
            sky = v < 0.55 + 0.08 * math.sin(6 * u + seed)
            sun = (u - 0.7) ** 2 + (v - 0.25) ** 2 < 0.01
            if sun:
                r, g, b = 250, 220, 90
            elif sky:
                r, g, b = int(90 + 100 * v), int(150 + 80 * v), 235
            else:
                t = 0.5 + 0.5 * math.sin(25 * u + 9 * v + seed)
                r, g, b = int(40 + 60 * t), int(110 + 90 * t), int(40 + 30 * t)
            if grey:
                row.append((r * 299 + g * 587 + b * 114) // 1000)
            else:
                row += bytes((r, g, b))
        rows.append(bytes(row))
    return b"".join(rows)


def encode(w, h, pixels, grey=False, quality=85):
    header = b"P5\n%d %d\n255\n" % (w, h) if grey else b"P6\n%d %d\n255\n" % (w, h)
    return subprocess.run(["cjpeg", "-quality", str(quality)], input=header + pixels,
                          capture_output=True, check=True).stdout


def jpeg(name, w, h, seed, grey=False, quality=85):
    return encode(w, h, scene(w, h, seed, grey), grey, quality)


def sideways(w, h, seed):
    """An upright w x h scene stored turned left, as a phone held upright stores it."""
    upright = scene(w, h, seed)
    stored = bytearray()
    for y in range(w):            # stored row y is upright column w-1-y
        for x in range(h):        # stored column x is upright row x
            i = 3 * (x * w + (w - 1 - y))
            stored += upright[i:i + 3]
    return encode(h, w, bytes(stored))


def with_orientation(data, orientation):
    tiff = b"MM\x00\x2a\x00\x00\x00\x08" + struct.pack(">H", 1) + struct.pack(">HHIHH", 0x0112, 3, 1, orientation, 0) + b"\x00\x00\x00\x00"
    payload = b"Exif\x00\x00" + tiff
    return data[:2] + b"\xff\xe1" + struct.pack(">H", len(payload) + 2) + payload + data[2:]


def main():
    os.makedirs(OUT, exist_ok=True)
    files = {
        "hills.jpg": jpeg("hills", 640, 400, 0.3),
        "tower-portrait.jpg": jpeg("tower", 360, 540, 1.7),
        # Stored sideways as cameras do; shown upright by its orientation tag.
        "phone-sideways.jpg": with_orientation(sideways(320, 480, 2.9), 6),
        "fog-grey.jpg": jpeg("fog", 480, 360, 4.1, grey=True),
        "夕焼け.jpg": jpeg("sunset", 600, 450, 5.3),
    }
    for name, data in files.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    print("wrote", len(files), "pictures to", os.path.normpath(OUT))


if __name__ == "__main__":
    sys.exit(main())
