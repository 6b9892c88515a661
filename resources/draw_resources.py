#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draw the springcalc bitmaps and program icon (standard library only).

Run from anywhere:  python3 resources/draw_resources.py
Writes next to this script:
  compression_spring.bmp, extension_spring.bmp  (24-bit BMP, 3 colours)
  compression_spring@2x.bmp, extension_spring@2x.bmp  (the same drawn at
  twice the size, for screens of device pixel ratio 2)
  springcalc.ico (32x32, 4 bpp), springcalc.png, springcalc-64.png,
  springcalc-128.png, springcalc.svg (the same 32x32 pixels as squares, for
  the desktop's scalable icon)
  resources.qrc
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

GREY, BLACK, WHITE = (192, 192, 192), (0, 0, 0), (255, 255, 255)


def rnd(v):
    """Round half away from zero (Python's round() rounds half to even)."""
    return int(v + 0.5) if v >= 0 else -int(-v + 0.5)


class Canvas:
    """RGB canvas drawn in design pixels; `k` device pixels stand for one
    design pixel (k = 2 for the copy at twice the size), and slanted or
    round edges are worked out per device pixel so that copy is finer, not
    just bigger.  An optional 180-degree rotation (tf = (cx2, cy2)) lets
    one half of a symmetric drawing be repeated."""

    def __init__(self, w, h, bg, k=1):
        self.w, self.h, self.k = w, h, k
        self.px = [[bg] * (w * k) for _ in range(h * k)]
        self.tf = None

    def put_dev(self, X, Y, c):
        if self.tf:
            cx2, cy2 = self.tf
            X, Y = (cx2 + 1) * self.k - 1 - X, (cy2 + 1) * self.k - 1 - Y
        if 0 <= X < self.w * self.k and 0 <= Y < self.h * self.k:
            self.px[Y][X] = c

    def put(self, x, y, c):
        for j in range(self.k):
            for i in range(self.k):
                self.put_dev(x * self.k + i, y * self.k + j, c)

    def hline(self, y, x0, x1, c=BLACK):
        for x in range(min(x0, x1), max(x0, x1) + 1):
            self.put(x, y, c)

    def vline(self, x, y0, y1, c=BLACK):
        for y in range(min(y0, y1), max(y0, y1) + 1):
            self.put(x, y, c)

    def get(self, x, y):
        X, Y = x * self.k, y * self.k
        if self.tf:
            cx2, cy2 = self.tf
            X, Y = (cx2 + 1) * self.k - 1 - X, (cy2 + 1) * self.k - 1 - Y
        return self.px[Y][X]

    # centre lines pass behind the wire: they never paint over white
    def dashdot_h(self, y, x0, x1):
        for x in range(x0, x1 + 1):
            if _dashdot_on(x - x0) and self.get(x, y) != WHITE:
                self.put(x, y, BLACK)

    def dashdot_v(self, x, y0, y1):
        for y in range(y0, y1 + 1):
            if _dashdot_on(y - y0) and self.get(x, y) != WHITE:
                self.put(x, y, BLACK)

    def band(self, top, bot, lt, rt, lb, rb, square_left=False):
        """White slanted band (one turn of wire seen from the side) with a
        black outline one design pixel wide.  lt/rt are the outline columns
        on the top row, lb/rb those on the bottom row; edges are
        interpolated per device row, so bands sharing an edge share exactly
        the same outline pixels.  Corners are clipped by one pixel to
        suggest the round wire, except on the left when that edge is a
        ground end face."""
        k = self.k
        for Y in range(top * k, bot * k + k):
            y = (Y + 0.5) / k - 0.5
            t = min(max((y - top) / (bot - top), 0.0), 1.0)
            xl = rnd((lt + (lb - lt) * t) * k)
            xr = rnd((rt + (rb - rt) * t) * k)
            edge = Y // k in (top, bot)
            for X in range(xl, xr + k):
                left, right = X < xl + k, X >= xr
                if edge and (right or (left and not square_left)):
                    continue
                self.put_dev(X, Y, BLACK if edge or left or right else WHITE)

    def blob(self, inside):
        """White region, given as a test of a point in design pixels,
        outlined one design pixel wide in black."""
        k = self.k
        W, H = self.w * k, self.h * k

        def at(X, Y):
            return inside((X + 0.5) / k - 0.5, (Y + 0.5) / k - 0.5)

        pts = {(X, Y) for Y in range(H) for X in range(W) if at(X, Y)}
        for (X, Y) in pts:
            inner = all((X + dx, Y + dy) in pts
                        for d in range(1, k + 1)
                        for dx, dy in ((-d, 0), (d, 0), (0, -d), (0, d)))
            self.put_dev(X, Y, WHITE if inner else BLACK)

    def dimension(self, y, x0, x1, head=(0, 1, 1, 2, 2, 2)):
        """Dimension line between two extension lines at x0 and x1, with
        arrowheads (half heights from the tip backwards) touching them."""
        self.hline(y, x0 + 1, x1 - 1)
        for i, hh in enumerate(head):
            self.vline(x0 + 1 + i, y - hh, y + hh)
            self.vline(x1 - 1 - i, y - hh, y + hh)


def _dashdot_on(i):
    # long dash 7, gap 2, dot 1, gap 2
    return (i % 12) in (0, 1, 2, 3, 4, 5, 6, 9)


def rotate_about(cx2, cy2):
    """180-degree rotation about (cx2/2, cy2/2)."""
    return (cx2, cy2)


# --------------------------------------------------------------------------
# compression spring, 190 x 118
# --------------------------------------------------------------------------
def compression_spring(k=1):
    c = Canvas(190, 118, GREY, k)
    top, bot, axis = 27, 61, 44
    left, right = 12, 185
    s = 5  # horizontal shift of a band from top to bottom

    def end_group():
        # closed and ground end turn: vertical end face
        c.band(top, bot, left, left + 5, left, left + 5 + s, True)
        # next turn touches it, then three turns at the working pitch
        for lt in (left + 5, left + 15, left + 25, left + 35):
            c.band(top, bot, lt, lt + 5, lt + s, lt + 5 + s)

    end_group()
    c.tf = rotate_about(left + right, top + bot)
    end_group()
    c.tf = None

    gap0, gap1 = left + 47, right - 47
    for y in (top, axis, bot):
        c.dashdot_h(y, gap0, gap1)

    # free length
    ext_top, ext_bot, dim = bot + 3, 93, 91
    c.vline(left, ext_top, ext_bot)
    c.vline(right, ext_top, ext_bot)
    c.dimension(dim, left, right)
    return c


# --------------------------------------------------------------------------
# extension spring, 200 x 93
# --------------------------------------------------------------------------
def extension_spring(k=1):
    c = Canvas(200, 93, GREY, k)
    top, bot, axis = 17, 49, 33
    hook_x = 27            # centre of the left hook
    r_in, r_out = 13, 17.5  # hook ring radii (inside face at hook_x - 13)
    coil0 = 42             # first close-wound turn
    s = 3
    mirror_x2 = 194        # right half = left half rotated about x = 97

    def end_group():
        # hook: ring open towards the coils at the lower right, joined to
        # the first turn by a straight leg along the top outline
        def inside(xf, yf):
            dx, dy = xf - hook_x, yf - axis
            d2 = dx * dx + dy * dy
            if r_in * r_in <= d2 <= r_out * r_out:
                # open towards the coils: drop 90 deg .. -40 deg (y up);
                # the top is continued by a straight leg instead
                a = math.degrees(math.atan2(-dy, dx))
                if not -40 < a < 90:
                    return True
            x, y = math.floor(xf + 0.5), math.floor(yf + 0.5)
            return (top - 1 <= y <= top + 3 and
                    hook_x <= x < coil0 + (2 if y >= top else -1))

        c.blob(inside)
        for k in range(5):
            lt = coil0 + 5 * k
            c.band(top, bot, lt, lt + 5, lt + s, lt + 5 + s)
        c.dashdot_v(hook_x, axis - 22, axis + 22)

    end_group()
    c.tf = rotate_about(mirror_x2, 2 * axis)
    end_group()
    c.tf = None

    gap0, gap1 = coil0 + 25 + s + 3, mirror_x2 - (coil0 + 25 + s + 3)
    for y in (top, axis, bot):
        c.dashdot_h(y, gap0, gap1)

    # free length between the inside faces of the hooks
    in_l, in_r = hook_x - r_in, mirror_x2 - hook_x + r_in
    c.vline(in_l, axis + 14, 79)
    c.vline(in_r, axis + 14, 79)
    c.dimension(77, in_l, in_r)
    return c


# --------------------------------------------------------------------------
# file writers
# --------------------------------------------------------------------------
def bmp24(canvas):
    w, h = len(canvas.px[0]), len(canvas.px)
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(h - 1, -1, -1):  # bottom-up
        row = bytearray()
        for (r, g, b) in canvas.px[y]:
            row += bytes((b, g, r))
        row += b"\0" * (stride - w * 3)
        rows.append(bytes(row))
    data = b"".join(rows)
    head = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data),
                       2835, 2835, 0, 0)
    return head + info + data


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
    <file>compression_spring.bmp</file>
    <file>extension_spring.bmp</file>
    <file>compression_spring@2x.bmp</file>
    <file>extension_spring@2x.bmp</file>
    <file>springcalc.png</file>
    <file>springcalc-128.png</file>
  </qresource>
</RCC>
"""


def main():
    icon = icon_pixels()
    files = {
        "compression_spring.bmp": bmp24(compression_spring()),
        "extension_spring.bmp": bmp24(extension_spring()),
        "compression_spring@2x.bmp": bmp24(compression_spring(2)),
        "extension_spring@2x.bmp": bmp24(extension_spring(2)),
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
