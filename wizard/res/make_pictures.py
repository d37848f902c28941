#!/usr/bin/env python3
"""Draws the setup's three pictures: the two logos (PNG) and the picture at the right edge
of the installer window (24-bit BMP). Standard library only; run it from anywhere, it
writes next to itself. The output is deterministic, so the committed files can be
checked by running it again."""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SS = 4  # supersampling per axis for smooth edges


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


class Canvas:
    """RGBA canvas in floats, drawn with coverage-weighted shapes."""

    def __init__(self, w, h, bg=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(bg) for _ in range(w * h)]

    def blend(self, x, y, color, cover):
        if cover <= 0:
            return
        p = self.px[y * self.w + x]
        a = color[3] / 255.0 * min(cover, 1.0)
        out_a = a + p[3] / 255.0 * (1 - a)
        if out_a <= 0:
            return
        for i in range(3):
            p[i] = (color[i] * a + p[i] * (p[3] / 255.0) * (1 - a)) / out_a
        p[3] = out_a * 255.0

    def shape(self, inside, color, box=None):
        """inside(x, y) -> bool at sub-pixel positions; color may be a function of (x, y)."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if inside(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS):
                            hits += 1
                if hits:
                    c = color(x + 0.5, y + 0.5) if callable(color) else color
                    self.blend(x, y, c, hits / (SS * SS))


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def polygon(pts):
    def inside(x, y):
        c = False
        n = len(pts)
        for i in range(n):
            xa, ya = pts[i]
            xb, yb = pts[(i + 1) % n]
            if (ya > y) != (yb > y) and x < (xb - xa) * (y - ya) / (yb - ya) + xa:
                c = not c
        return c
    return inside


def segment(xa, ya, xb, yb, width):
    def inside(x, y):
        dx, dy = xb - xa, yb - ya
        t = max(0.0, min(1.0, ((x - xa) * dx + (y - ya) * dy) / (dx * dx + dy * dy)))
        px, py = xa + t * dx, ya + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def bbox(pts, pad=2):
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)


TEAL = (0, 128, 128, 255)
TEAL_DARK = (0, 92, 96, 255)
MINT = (192, 220, 192, 255)
WHITE = (255, 255, 255, 255)
SLATE = (52, 84, 122, 255)
SLATE_LIGHT = (92, 130, 170, 255)
ORANGE = (236, 128, 32, 255)
YELLOW = (250, 196, 64, 255)


def quillmark_logo(n=122):
    """A teal tile with a sheet of an invoice and a quill writing on it."""
    c = Canvas(n, n)
    s = n / 122.0
    c.shape(rounded_rect(4 * s, 4 * s, 118 * s, 118 * s, 22 * s),
            lambda x, y: mix(TEAL, TEAL_DARK, y / n))
    # The sheet with a folded corner.
    sheet = [(30 * s, 22 * s), (76 * s, 22 * s), (92 * s, 38 * s), (92 * s, 100 * s), (30 * s, 100 * s)]
    c.shape(polygon(sheet), WHITE, bbox(sheet))
    fold = [(76 * s, 22 * s), (92 * s, 38 * s), (76 * s, 38 * s)]
    c.shape(polygon(fold), MINT, bbox(fold))
    # Lines of the invoice and its sum.
    for i, w in enumerate((40, 34, 40, 24)):
        y = (46 + i * 10) * s
        c.shape(segment(38 * s, y, (38 + w) * s, y, 3.2 * s), (150, 180, 170, 255))
    c.shape(segment(60 * s, 90 * s, 84 * s, 90 * s, 3.6 * s), TEAL)
    # The quill: a slim vane from lower left to upper right with a dark shaft.
    vane = [(48 * s, 86 * s), (94 * s, 14 * s), (108 * s, 10 * s), (102 * s, 26 * s), (56 * s, 92 * s)]
    c.shape(polygon(vane), (255, 236, 200, 255), bbox(vane))
    c.shape(segment(44 * s, 96 * s, 104 * s, 14 * s, 2.4 * s), (120, 72, 24, 255))
    nib = [(40 * s, 102 * s), (46 * s, 90 * s), (52 * s, 94 * s)]
    c.shape(polygon(nib), (60, 40, 20, 255), bbox(nib))
    return c


def server_logo(n=122):
    """A database drum in slate blue with a small flame above it: the database server."""
    c = Canvas(n, n)
    s = n / 122.0
    cx, rx, ry = 58 * s, 36 * s, 10 * s
    tops = [44 * s, 66 * s, 88 * s]
    for i, top in enumerate(reversed(tops)):
        body_top, body_bottom = top, top + 16 * s
        shade = lambda x, y, cx=cx, rx=rx: mix(SLATE_LIGHT, SLATE, abs(x - cx) / rx)
        c.shape(lambda x, y, t=body_top, b=body_bottom: t <= y <= b and abs(x - cx) <= rx, shade,
                (cx - rx - 1, body_top - 1, cx + rx + 1, body_bottom + 1))
        c.shape(ellipse(cx, body_bottom, rx, ry), shade, (cx - rx - 1, body_bottom - ry - 1, cx + rx + 1, body_bottom + ry + 1))
        c.shape(ellipse(cx, body_top, rx, ry), (150, 180, 210, 255),
                (cx - rx - 1, body_top - ry - 1, cx + rx + 1, body_top + ry + 1))
    # A small flame at the upper right.
    fx, fy = 92 * s, 30 * s
    outer = [(fx, fy - 24 * s), (fx + 12 * s, fy - 4 * s), (fx + 9 * s, fy + 8 * s), (fx, fy + 13 * s),
             (fx - 9 * s, fy + 8 * s), (fx - 11 * s, fy - 4 * s), (fx - 4 * s, fy - 10 * s)]
    c.shape(polygon(outer), ORANGE, bbox(outer))
    inner = [(fx + 1 * s, fy - 10 * s), (fx + 6 * s, fy + 2 * s), (fx + 4 * s, fy + 8 * s), (fx, fy + 10 * s),
             (fx - 4 * s, fy + 8 * s), (fx - 5 * s, fy + 1 * s)]
    c.shape(polygon(inner), YELLOW, bbox(inner))
    return c


def right_picture(w=69, h=312):
    """A calm teal band: gradient to mint, soft waves and a row of small crosses."""
    c = Canvas(w, h, (0, 0, 0, 255))
    top, bottom = (0, 110, 112, 255), (170, 210, 180, 255)
    c.shape(lambda x, y: True, lambda x, y: mix(top, bottom, (y / h) ** 0.9))
    for k in range(5):
        amp, base = 6 + k, 120 + k * 34
        col = (255, 255, 255, 36 + 8 * k)
        c.shape(lambda x, y, amp=amp, base=base: abs(y - (base + amp * math.sin(x / w * 2 * math.pi + k))) <= 1.6,
                col, (0, base - amp - 3, w, base + amp + 3))
    for i in range(4):
        cx, cy, arm = w / 2, 26 + i * 22, 4.5
        col = (255, 255, 255, 150 - 30 * i)
        c.shape(lambda x, y, cx=cx, cy=cy: (abs(x - cx) <= arm and abs(y - cy) <= 1.6) or
                (abs(y - cy) <= arm and abs(x - cx) <= 1.6), col, (cx - arm - 1, cy - arm - 1, cx + arm + 1, cy + arm + 1))
    return c


def png_bytes(c):
    raw = bytearray()
    for y in range(c.h):
        raw.append(0)
        for x in range(c.w):
            p = c.px[y * c.w + x]
            raw += bytes(max(0, min(255, int(round(v)))) for v in p)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", c.w, c.h, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def bmp_bytes(c):
    """24-bit, bottom-up, rows padded to four bytes."""
    stride = (c.w * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(c.h - 1, -1, -1):
        row = bytearray()
        for x in range(c.w):
            r, g, b, _ = (max(0, min(255, int(round(v)))) for v in c.px[y * c.w + x])
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        pixels += row
    header = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    return file_header + header + pixels


def main():
    out = {
        "quillmark_logo.png": png_bytes(quillmark_logo()),
        "firebird_logo.png": png_bytes(server_logo()),
        "bild_rechts.bmp": bmp_bytes(right_picture()),
    }
    for name, data in out.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
        print(name, len(data), "bytes")


if __name__ == "__main__":
    main()
