#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draw the springcalc program icon (standard library only). The window's
two spring drawings are drawn by the program itself, at the screen's scale
(diagram/spring_drawings.cpp).

Run from anywhere:  python3 resources/draw_resources.py
Writes next to this script:
  springcalc.ico (32x32, 4 bpp), springcalc.png, springcalc-64.png,
  springcalc-128.png, springcalc.svg (the same 32x32 pixels as squares, for
  the desktop's scalable icon)
  resources.qrc
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def png_rgba(rows):
    """rows: list of lists of (r, g, b, a)."""
    h, w = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(tag, body):
        return (struct.pack(">I", len(body)) + tag + body +
                struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# classic 16-colour VGA palette
VGA = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128),
       (128, 0, 0), (128, 0, 128), (128, 128, 0), (192, 192, 192),
       (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255),
       (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255)]
K, NAVY, SILVER, DGREY, BLUE, CYAN, WHT = 0, 1, 7, 8, 9, 11, 15


def icon_pixels():
    """32x32 palette indices, None = transparent."""
    px = [[None] * 32 for _ in range(32)]

    def rect(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = c

    def tower(x0, y0, x1, y1, body, shade, win, wstep=(2, 3)):
        rect(x0, y0, x1, y1, K)
        rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, body)
        rect(x1 - 2, y0 + 1, x1 - 1, y1 - 1, shade)  # shadowed side
        for y in range(y0 + 3, y1 - 2, wstep[1]):
            for x in range(x0 + 2, x1 - 2, wstep[0]):
                px[y][x] = win
                px[y + 1][x] = win

    # tall blue glass tower in the middle, with a mast
    tower(11, 4, 21, 31, BLUE, NAVY, CYAN)
    rect(14, 2, 18, 4, K)
    rect(15, 3, 17, 3, DGREY)
    rect(16, 0, 16, 1, K)
    # grey tower on the left
    tower(2, 10, 12, 31, SILVER, DGREY, NAVY)
    # white tower on the right
    tower(20, 13, 29, 31, WHT, SILVER, BLUE)
    return px


def ico_4bpp(px):
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in VGA)
    xor = bytearray()
    mask = bytearray()
    for y in range(31, -1, -1):
        row = px[y]
        for x in range(0, 32, 2):
            hi, lo = (row[x] or 0), (row[x + 1] or 0)
            xor.append((hi << 4) | lo)
        bits = 0
        for x in range(32):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        mask += struct.pack(">I", bits)
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0,
                       len(xor) + len(mask), 0, 0, 16, 0)
    image = info + pal + bytes(xor) + bytes(mask)
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 22)
    return head + entry + image


def icon_rgba(px, scale=1):
    rows = []
    for row in px:
        out = []
        for i in row:
            p = (0, 0, 0, 0) if i is None else VGA[i] + (255,)
            out += [p] * scale
        rows += [out] * scale
    return rows


def icon_svg(px):
    """The icon pixels as squares on a 32-unit grid, so any size the desktop
    asks for stays sharp. Runs of one colour in a row become one rectangle,
    and a run repeated in the rows below grows that rectangle downwards."""
    rects = []   # [x, y, width, height, colour index]
    open_runs = {}  # (x, width, colour) -> rectangle reaching the row above
    for y, row in enumerate(px):
        runs, x = {}, 0
        while x < len(row):
            i, run = row[x], 1
            while x + run < len(row) and row[x + run] == i:
                run += 1
            if i is not None:
                key = (x, run, i)
                if key in open_runs:
                    open_runs[key][3] += 1
                    runs[key] = open_runs[key]
                else:
                    runs[key] = [x, y, run, 1, i]
                    rects.append(runs[key])
            x += run
        open_runs = runs
    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" '
           'viewBox="0 0 32 32" shape-rendering="crispEdges">']
    for x, y, w, h, i in rects:
        out.append('<rect x="%d" y="%d" width="%d" height="%d" '
                   'fill="#%02x%02x%02x"/>' % ((x, y, w, h) + VGA[i]))
    out.append("</svg>")
    return ("\n".join(out) + "\n").encode()


QRC = """<!DOCTYPE RCC>
<RCC version="1.0">
  <qresource prefix="/">
    <file>springcalc.png</file>
    <file>springcalc-128.png</file>
  </qresource>
</RCC>
"""


def main():
    icon = icon_pixels()
    files = {
        "springcalc.ico": ico_4bpp(icon),
        "springcalc.png": png_rgba(icon_rgba(icon)),
        "springcalc-64.png": png_rgba(icon_rgba(icon, 2)),
        "springcalc-128.png": png_rgba(icon_rgba(icon, 4)),
        "springcalc.svg": icon_svg(icon),
        "resources.qrc": QRC.encode(),
    }
    for name, data in files.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
        print("%-24s %6d bytes" % (name, len(data)))


if __name__ == "__main__":
    main()
