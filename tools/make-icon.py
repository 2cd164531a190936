#!/usr/bin/env python3
"""Renders the program's icon, packaging/netglobe.png (256x256): the shipped
globe image seen from space over Europe and Africa, lit from the upper left,
transparent outside the disc. Needs ImageMagick's convert for the image files.

Usage: tools/make-icon.py [OUTPUT]
"""
import math
import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SIZE = 512            # drawn at twice the size, then scaled down for smooth edges
LON0, LAT0 = 15, 25   # the point of the globe in the middle of the disc
LIGHT = (-0.35, 0.35, 0.87)


def readppm(path):
    with open(path, "rb") as f:
        data = f.read()
    # Header: P6, width, height, maximum value, then one whitespace byte.
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def render(mapw, maph, pixels):
    c, s = math.cos(math.radians(LAT0)), math.sin(math.radians(LAT0))
    out = bytearray(SIZE * SIZE * 4)
    r = SIZE / 2
    for j in range(SIZE):
        y = (r - j - 0.5) / r
        for i in range(SIZE):
            x = (i + 0.5 - r) / r
            d = x * x + y * y
            if d >= 1:
                continue
            z = math.sqrt(1 - d)
            # Orthographic view: the point under the pixel, turned by LAT0
            # about the x axis, gives latitude and longitude.
            lat = math.asin(max(-1.0, min(1.0, y * c + z * s)))
            lon = math.radians(LON0) + math.atan2(x, z * c - y * s)
            mx = int((lon / (2 * math.pi) + 0.5) % 1.0 * mapw) % mapw
            my = min(maph - 1, int((0.5 - lat / math.pi) * maph))
            light = 0.3 + 0.7 * max(0.0, LIGHT[0] * x + LIGHT[1] * y + LIGHT[2] * z)
            src = (my * mapw + mx) * 3
            dst = (j * SIZE + i) * 4
            for k in range(3):
                out[dst + k] = min(255, int(pixels[src + k] * light))
            # A soft edge one pixel wide.
            out[dst + 3] = min(255, int((1 - math.sqrt(d)) * r * 255))
    return out


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "packaging", "netglobe.png")
    with tempfile.TemporaryDirectory() as tmp:
        mappath = os.path.join(tmp, "map.ppm")
        subprocess.run(["convert", os.path.join(ROOT, "data", "velmar.jpg"), "-resize", "1024x512!",
                        mappath], check=True)
        mapw, maph, pixels = readppm(mappath)
        rawpath = os.path.join(tmp, "globe.rgba")
        with open(rawpath, "wb") as f:
            f.write(render(mapw, maph, pixels))
        subprocess.run(["convert", "-size", f"{SIZE}x{SIZE}", "-depth", "8", f"rgba:{rawpath}",
                        "-resize", "256x256", "-strip", "-define", "png:exclude-chunks=date,time",
                        target], check=True)
    print(f"make-icon: wrote {target}")


if __name__ == "__main__":
    main()
