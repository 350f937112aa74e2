#!/usr/bin/env python3
"""Draws the agent's icons and the status window's background tile.

Every picture is described once on a 16-unit grid and rendered for each size
(the 256-colour 16 x 16 image that older displays take, and 32-bit images at
16, 20, 24, 32 and 48 pixels, plus 64 for the two large ones), so that the
icons stay sharp at any DPI. Rectangle edges snap to whole pixels; curves are
antialiased by supersampling. Standard library only.

    scripts/make-icons.py                      # writes resources/icons/*.ico, *.bmp
    scripts/make-icons.py --sheet shots/icons.png   # and a contact sheet of the results
"""

import argparse
import math
import os
import struct
import zlib

# ---------------------------------------------------------------------------
# Palette: every colour the pictures use, by role.

def hexrgb(s):
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))


PAL = {k: hexrgb(v) for k, v in {
    "ink": "323a45",        # outlines
    "body_hi": "f4f6f8",    # printer body, lit top
    "body_lo": "aeb6c0",    # printer body, shaded bottom
    "body_edge": "8a939e",
    "slot": "262b33",
    "paper": "ffffff",
    "paper_edge": "7d8793",
    "paper_shade": "dfe4ea",
    "sky_hi": "8ccbf5",
    "sky_lo": "3f97dd",
    "hill": "43a047",
    "hill_dk": "2e7d32",
    "sun": "ffc629",
    "led": "35c24a",
    "led_off": "6b737d",
    "yel": "ffd21f",
    "mag": "e2137e",
    "cyan": "1aa6e8",
    "red_hi": "f0524a",
    "red_lo": "c4211a",
    "red_ink": "7f1510",
    "white": "ffffff",
    "blue_hi": "5fa2f0",
    "blue_lo": "1f5fc4",
    "blue_ink": "163f84",
    "blue_tile": "d6e7fb",
    "blue_tile_edge": "7aaee8",
    "orange": "f08a24",
    "orange_dk": "b35a0c",
    "beige": "e9d2a6",
    "beige_dk": "b89a62",
    "chip": "3b4350",
    "chip_hi": "5b6573",
    "pin": "c9ced5",
    "gold": "d9a932",
    "lcd": "1f3b2c",
    "lcd_on": "7cf29a",
    "grey_hi": "e3e6ea",
    "grey_lo": "9aa2ac",
    "bg_tile": "f1f3f6",
    "bg_weave": "e4e8ee",
    "bg_dot": "d7dde6",
}.items()}


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# ---------------------------------------------------------------------------
# Shapes. A shape is (bbox, inside) in device pixels, bbox = (x0, y0, x1, y1)
# and inside(x, y) a test of one sample point.

class Shape:
    def __init__(self, bbox, inside):
        self.bbox = bbox
        self.inside = inside

    def __sub__(self, other):
        return Shape(self.bbox, lambda x, y: self.inside(x, y) and not other.inside(x, y))

    def __or__(self, other):
        a, b = self.bbox, other.bbox
        return Shape((min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3])),
                     lambda x, y: self.inside(x, y) or other.inside(x, y))

    def __and__(self, other):
        return Shape(self.bbox, lambda x, y: self.inside(x, y) and other.inside(x, y))


class Canvas:
    """Premultiplied RGBA in floats; pictures draw in 16-unit design space."""

    def __init__(self, size, samples=4):
        self.n = size
        self.s = size / 16.0
        self.ss = samples
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
        # outline width in device pixels
        self.ow = 1 if size < 40 else 2

    # -- geometry in design units, snapped where it keeps edges crisp
    def X(self, v):
        return math.floor(v * self.s + 0.5)

    def rect(self, x0, y0, x1, y1, r=0.0, grow=0):
        X0, Y0, X1, Y1 = self.X(x0) - grow, self.X(y0) - grow, self.X(x1) + grow, self.X(y1) + grow
        rr = max(0.0, r * self.s + grow) if r else 0.0

        def inside(x, y):
            if x < X0 or x >= X1 or y < Y0 or y >= Y1:
                return False
            if rr <= 0:
                return True
            cx = min(max(x, X0 + rr), X1 - rr)
            cy = min(max(y, Y0 + rr), Y1 - rr)
            return (x - cx) ** 2 + (y - cy) ** 2 <= rr * rr
        return Shape((X0, Y0, X1, Y1), inside)

    def circle(self, cx, cy, r, grow=0.0):
        CX, CY, R = cx * self.s, cy * self.s, r * self.s + grow
        return Shape((CX - R, CY - R, CX + R, CY + R),
                     lambda x, y: (x - CX) ** 2 + (y - CY) ** 2 <= R * R)

    def ring(self, cx, cy, r, w):
        return self.circle(cx, cy, r) - self.circle(cx, cy, r - w)

    def seg(self, x0, y0, x1, y1, w, grow=0.0, cap=True):
        """A stroke of width w (design units) from one point to another."""
        A = (x0 * self.s, y0 * self.s)
        B = (x1 * self.s, y1 * self.s)
        h = w * self.s / 2 + grow
        dx, dy = B[0] - A[0], B[1] - A[1]
        ll = dx * dx + dy * dy or 1e-9

        def inside(x, y):
            t = ((x - A[0]) * dx + (y - A[1]) * dy) / ll
            if not cap and (t < 0 or t > 1):
                return False
            t = min(1.0, max(0.0, t))
            px, py = A[0] + t * dx, A[1] + t * dy
            return (x - px) ** 2 + (y - py) ** 2 <= h * h
        return Shape((min(A[0], B[0]) - h, min(A[1], B[1]) - h, max(A[0], B[0]) + h, max(A[1], B[1]) + h),
                     inside)

    def poly(self, pts):
        P = [(x * self.s, y * self.s) for x, y in pts]

        def inside(x, y):
            c = False
            j = len(P) - 1
            for i in range(len(P)):
                xi, yi = P[i]
                xj, yj = P[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    c = not c
                j = i
            return c
        xs = [p[0] for p in P]
        ys = [p[1] for p in P]
        return Shape((min(xs), min(ys), max(xs), max(ys)), inside)

    def arc(self, cx, cy, r, w, a0, a1):
        """Part of a ring between two angles in degrees (0 = right, clockwise on screen)."""
        CX, CY = cx * self.s, cy * self.s
        ring = self.ring(cx, cy, r, w)

        def inside(x, y):
            if not ring.inside(x, y):
                return False
            a = math.degrees(math.atan2(y - CY, x - CX)) % 360
            return (a - a0) % 360 <= (a1 - a0) % 360
        return Shape(ring.bbox, inside)

    # -- paints
    def vgrad(self, c0, c1, y0, y1):
        Y0, Y1 = y0 * self.s, y1 * self.s
        return lambda x, y: mix(c0, c1, min(1.0, max(0.0, (y - Y0) / ((Y1 - Y0) or 1))))

    def fill(self, shape, paint, alpha=1.0):
        n, ss = self.n, self.ss
        x0, y0, x1, y1 = shape.bbox
        for j in range(max(0, int(math.floor(y0))), min(n, int(math.ceil(y1)) + 1)):
            for i in range(max(0, int(math.floor(x0))), min(n, int(math.ceil(x1)) + 1)):
                hit = 0
                for b in range(ss):
                    for a in range(ss):
                        if shape.inside(i + (a + 0.5) / ss, j + (b + 0.5) / ss):
                            hit += 1
                if not hit:
                    continue
                cov = alpha * hit / (ss * ss)
                col = paint(i + 0.5, j + 0.5) if callable(paint) else paint
                p = self.px[j * n + i]
                for k in range(3):
                    p[k] = col[k] / 255.0 * cov + p[k] * (1 - cov)
                p[3] = cov + p[3] * (1 - cov)

    def clear(self, shape):
        """Erases what lies under the shape (a gap that sets a badge apart)."""
        n, ss = self.n, self.ss
        x0, y0, x1, y1 = shape.bbox
        for j in range(max(0, int(math.floor(y0))), min(n, int(math.ceil(y1)) + 1)):
            for i in range(max(0, int(math.floor(x0))), min(n, int(math.ceil(x1)) + 1)):
                hit = sum(shape.inside(i + (a + 0.5) / ss, j + (b + 0.5) / ss)
                          for b in range(ss) for a in range(ss))
                keep = 1 - hit / (ss * ss)
                self.px[j * n + i] = [v * keep for v in self.px[j * n + i]]

    def outlined(self, make, paint, line=PAL["ink"], **kw):
        """Draws make(grow=0) in the line colour and make(grow=-ow) in the paint."""
        self.fill(make(grow=0, **kw), line)
        self.fill(make(grow=-self.ow, **kw), paint)

    def rgba(self):
        """Straight-alpha 8-bit RGBA rows."""
        out = []
        for j in range(self.n):
            row = []
            for i in range(self.n):
                r, g, b, a = self.px[j * self.n + i]
                if a <= 1e-6:
                    row.append((0, 0, 0, 0))
                else:
                    row.append((min(255, round(r / a * 255)), min(255, round(g / a * 255)),
                                min(255, round(b / a * 255)), round(a * 255)))
            out.append(row)
        return out


# ---------------------------------------------------------------------------
# Pictures. Each takes a canvas and draws on the 16-unit grid.

def photo(cv, x0, y0, x1, y1):
    """A tiny landscape photo: sky, sun and a hill."""
    cv.fill(cv.rect(x0, y0, x1, y1), cv.vgrad(PAL["sky_hi"], PAL["sky_lo"], y0, y1))
    w, h = x1 - x0, y1 - y0
    cv.fill(cv.circle(x0 + w * 0.72, y0 + h * 0.3, h * 0.2) & cv.rect(x0, y0, x1, y1), PAL["sun"])
    hill = cv.poly([(x0, y1), (x0, y0 + h * 0.62), (x0 + w * 0.35, y0 + h * 0.42),
                    (x0 + w * 0.7, y0 + h * 0.68), (x1, y0 + h * 0.55), (x1, y1)])
    cv.fill(hill & cv.rect(x0, y0, x1, y1), cv.vgrad(PAL["hill"], PAL["hill_dk"], y0 + h * 0.45, y1))


def printer(cv, out_sheet=False, led="led", ribbon=False):
    """A compact photo printer, front view: paper in the back, the output slot in front."""
    # paper standing in the feeder behind the body
    cv.outlined(lambda grow: cv.rect(4, 1, 12, 8, grow=grow), PAL["paper"], PAL["paper_edge"])
    if cv.n >= 24:
        for k in range(2):
            cv.fill(cv.rect(5.5, 2.5 + 1.5 * k, 10.5, 2.5 + 1.5 * k + 0.5 / cv.s * max(1, cv.ow)),
                    PAL["paper_shade"])
    # body
    cv.outlined(lambda grow: cv.rect(1, 6, 15, 13.5, r=1.6, grow=grow),
                cv.vgrad(PAL["body_hi"], PAL["body_lo"], 6.5, 13.5))
    # lit top edge
    cv.fill(cv.rect(2, 7, 14, 8), PAL["white"], 0.55)
    # output slot
    cv.fill(cv.rect(3, 10, 13, 11), PAL["slot"])
    # power light
    cv.fill(cv.rect(12, 8, 14, 9, r=0.4), PAL[led])
    if ribbon:
        for k, c in enumerate(("yel", "mag", "cyan")):
            cv.fill(cv.rect(3 + k, 8, 4 + k, 9), PAL[c])
    if out_sheet:
        # the print leaving the slot, its picture coming out with it
        cv.outlined(lambda grow: cv.rect(4, 10, 12, 16, grow=grow), PAL["paper"], PAL["paper_edge"])
        photo(cv, 4 + cv.ow / cv.s + 0.01, 11, 12 - cv.ow / cv.s, 16 - cv.ow / cv.s)
        # the slot's lip stays in front of the sheet
        cv.fill(cv.rect(3, 10, 13, 11), PAL["slot"])


# At 16 pixels the badges are drawn pixel by pixel: a 10-pixel disc leaves no
# room for antialiased strokes. K outline, R red, W white.
CROSS_16 = ["...KKKK...", ".KKRRRRKK.", ".KWWRRWWK.", "KRRWWWWRRK", "KRRRWWRRRK",
            "KRRRWWRRRK", "KRRWWWWRRK", ".KWWRRWWK.", ".KKRRRRKK.", "...KKKK..."]
FORBIDDEN_16 = ["...RRRR...", ".RRRRRRRR.", ".RRRWWWRR.", "RRRRRWWWRR", "RRWRRRWWRR",
                "RRWWRRRWRR", "RRWWWRRRRR", ".RRWWWRRR.", ".RRRRRRRR.", "...RRRR..."]


def pixel_art(cv, rows, x0, y0, colours):
    for j, row in enumerate(rows):
        for i, ch in enumerate(row):
            if ch in colours:
                paint = colours[ch]
                cv.fill(cv.rect(x0 + i, y0 + j, x0 + i + 1, y0 + j + 1),
                        paint(0, (y0 + j + 0.5) * cv.s) if callable(paint) else paint)


def badge(cv, art, vector):
    """A state badge over the lower right of a picture, set apart by a transparent gap."""
    if cv.n == 16:
        cv.clear(cv.circle(11, 11, 5, grow=1.0))
        red = cv.vgrad(PAL["red_hi"], PAL["red_lo"], 6, 16)
        pixel_art(cv, art, 6, 6, {"K": PAL["red_ink"], "R": red, "W": PAL["white"]})
        return
    cx, cy, r = 11.5, 11.5, 4.5
    cv.clear(cv.circle(cx, cy, r, grow=1.0))
    vector(cv, cx, cy, r)


def cross(cv, cx, cy, r):
    cv.fill(cv.circle(cx, cy, r), PAL["red_ink"])
    cv.fill(cv.circle(cx, cy, r, grow=-cv.ow), cv.vgrad(PAL["red_hi"], PAL["red_lo"], cy - r, cy + r))
    d = r * 0.46
    cv.fill(cv.seg(cx - d, cy - d, cx + d, cy + d, 1.4, cap=False) |
            cv.seg(cx - d, cy + d, cx + d, cy - d, 1.4, cap=False), PAL["white"])


def forbidden(cv, cx, cy, r):
    cv.fill(cv.circle(cx, cy, r, grow=-cv.ow), PAL["white"])
    w = 1.5
    d = (r - w / 2) * math.cos(math.radians(45))
    bar = cv.seg(cx - d, cy - d, cx + d, cy + d, w * 0.95, cap=False) & cv.circle(cx, cy, r)
    cv.fill(cv.ring(cx, cy, r, w) | bar, cv.vgrad(PAL["red_hi"], PAL["red_lo"], cy - r, cy + r))


def printer_error(cv):
    printer(cv, led="led_off")
    badge(cv, CROSS_16, cross)


def printer_offline(cv):
    printer(cv, led="led_off")
    badge(cv, FORBIDDEN_16, forbidden)


def printer_printing(cv):
    printer(cv, out_sheet=True)


def agent(cv):
    printer(cv, out_sheet=True, ribbon=True)


def disc_button(cv, top, bottom, edge, glyph, shift=0.0, halo=None):
    if halo:
        cv.fill(cv.circle(8, 8, 8), halo)
    cv.fill(cv.circle(8, 8, 7.5 if halo else 8), edge)
    cv.fill(cv.circle(8, 8, 7.5 if halo else 8, grow=-cv.ow), cv.vgrad(top, bottom, 0, 16))
    # gloss on the upper half
    cv.fill(cv.circle(8, 5.2, 5.2) & cv.circle(8, 8, 6.6), PAL["white"], 0.22)
    glyph(cv, shift)


def question(cv, d=0.0):
    cv.fill(cv.arc(8 + d, 6.1 + d, 2.55, 1.75, 180, 90) | cv.seg(8.9 + d, 7.8 + d, 8 + d, 8.9 + d, 1.75)
            | cv.rect(7.1 + d, 8.6 + d, 8.9 + d, 10 + d), PAL["white"])
    cv.fill(cv.circle(8 + d, 12 + d, 1.05), PAL["white"])


def info(cv, d=0.0, cx=8.0, cy=8.0, k=1.0):
    cv.fill(cv.circle(cx + d, cy - 3.6 * k + d, 1.05 * k), PAL["white"])
    cv.fill(cv.rect(cx - 1 * k + d, cy - 1.6 * k + d, cx + 1 * k + d, cy + 4 * k + d), PAL["white"])


def help_normal(cv):
    disc_button(cv, PAL["blue_hi"], PAL["blue_lo"], PAL["blue_ink"], question)


def help_focused(cv):
    disc_button(cv, mix(PAL["blue_hi"], PAL["white"], 0.25), PAL["blue_hi"], PAL["blue_ink"], question,
                halo=PAL["orange"])


def help_pressed(cv):
    disc_button(cv, PAL["blue_lo"], PAL["blue_ink"], PAL["blue_ink"], question, shift=0.6)


def sheet(cv, fill=PAL["paper"], edge=PAL["paper_edge"], lines=PAL["grey_lo"], d=0.0):
    """A page with a folded corner and lines of text."""
    pts = [(2.5 + d, 1 + d), (10 + d, 1 + d), (13.5 + d, 4.5 + d), (13.5 + d, 15 + d), (2.5 + d, 15 + d)]
    cv.fill(cv.poly(pts), edge)
    inner = cv.ow / cv.s
    cv.fill(cv.poly([(2.5 + d + inner, 1 + d + inner), (10 + d - inner * 0.4, 1 + d + inner),
                     (13.5 + d - inner, 4.5 + d + inner * 0.4), (13.5 + d - inner, 15 + d - inner),
                     (2.5 + d + inner, 15 + d - inner)]), fill)
    cv.fill(cv.poly([(10 + d, 1 + d), (10 + d, 4.5 + d), (13.5 + d, 4.5 + d)]), edge)
    cv.fill(cv.poly([(10 + d + inner, 1.5 + d + inner * 2), (10 + d + inner, 4.5 + d - inner),
                     (13 + d - inner, 4.5 + d - inner)]), mix(fill, edge, 0.25))
    for k, x1 in enumerate((9, 11, 11, 8)):
        cv.fill(cv.rect(4.5 + d, 3 + 2 * k + d, x1 + d, 4 + 2 * k + d), lines)


def properties_picture(cv, page, disc_top, disc_bottom, disc_edge, d=0.0):
    sheet(cv, *page, d=d)
    cx, cy, r = 11.5 + d, 11.5 + d, 4.5
    cv.clear(cv.circle(cx, cy, r, grow=1.0))
    cv.fill(cv.circle(cx, cy, r), disc_edge)
    cv.fill(cv.circle(cx, cy, r, grow=-cv.ow), cv.vgrad(disc_top, disc_bottom, cy - r, cy + r))
    info(cv, 0, cx, cy + 0.3, 0.62)


def properties_normal(cv):
    properties_picture(cv, (PAL["paper"], PAL["paper_edge"], PAL["grey_lo"]),
                       PAL["blue_hi"], PAL["blue_lo"], PAL["blue_ink"])


def properties_focused(cv):
    cv.fill(cv.rect(0, 0, 16, 16, r=2), PAL["orange"], 0.35)
    properties_normal(cv)


def properties_pressed(cv):
    cv.fill(cv.rect(0, 0, 16, 16, r=2), PAL["blue_tile"])
    properties_picture(cv, (PAL["paper_shade"], PAL["paper_edge"], PAL["grey_lo"]),
                       PAL["blue_lo"], PAL["blue_ink"], PAL["blue_ink"], d=0.6)


def properties_disabled(cv):
    grey = mix(PAL["grey_lo"], PAL["white"], 0.3)
    properties_picture(cv, (PAL["grey_hi"], grey, mix(grey, PAL["white"], 0.2)),
                       mix(PAL["grey_lo"], PAL["white"], 0.35), PAL["grey_lo"], grey)


# -- tree glyphs: one picture each, and its selected form on a highlight tile

def share(cv):
    nodes = ((4, 8), (12, 3.5), (12, 12.5))
    line = PAL["blue_ink"]
    cv.fill(cv.seg(4, 8, 12, 3.5, 1.2) | cv.seg(4, 8, 12, 12.5, 1.2), line)
    for x, y in nodes:
        cv.fill(cv.circle(x, y, 2.9), line)
        cv.fill(cv.circle(x, y, 2.9, grow=-cv.ow), cv.vgrad(PAL["blue_hi"], PAL["blue_lo"], y - 3, y + 3))


def identity(cv):
    cv.outlined(lambda grow: cv.rect(0.5, 3, 15.5, 13, r=1.5, grow=grow),
                cv.vgrad(PAL["white"], PAL["grey_hi"], 3, 13))
    cv.fill(cv.rect(1, 3.5, 15, 5.5), PAL["blue_lo"])
    # portrait
    cv.fill(cv.circle(5, 8, 1.6), PAL["body_edge"])
    cv.fill(cv.circle(5, 12.6, 3.0) & cv.rect(1, 9.5, 9, 12), PAL["body_edge"])
    for k, x1 in enumerate((14, 13, 12)):
        cv.fill(cv.rect(9, 7 + 1.6 * k, x1, 7.8 + 1.6 * k), PAL["grey_lo"])


SEVEN = {  # segments a..g of seven-segment digits
    "1": "bc", "2": "abged", "3": "abgcd", "4": "fgbc", "7": "abc", "0": "abcdef",
}


def counter(cv):
    cv.outlined(lambda grow: cv.rect(0, 3, 16, 13, r=1.2, grow=grow), PAL["lcd"])
    for k, ch in enumerate("120"):
        x0, y0, w, h = 2 + 4 * k, 5, 3, 6
        segs = {
            "a": (x0, y0, x0 + w, y0 + 1), "g": (x0, y0 + 2.5, x0 + w, y0 + 3.5), "d": (x0, y0 + h - 1, x0 + w, y0 + h),
            "f": (x0, y0, x0 + 1, y0 + 3), "b": (x0 + w - 1, y0, x0 + w, y0 + 3),
            "e": (x0, y0 + 3, x0 + 1, y0 + h), "c": (x0 + w - 1, y0 + 3, x0 + w, y0 + h),
        }
        for sname in SEVEN[ch]:
            cv.fill(cv.rect(*segs[sname]), PAL["lcd_on"])


def chip(cv):
    for k in range(4):
        for x0 in (0.5, 13):
            cv.fill(cv.rect(x0, 3.5 + 2.5 * k, x0 + 2.5, 4.5 + 2.5 * k), PAL["body_edge"])
    cv.outlined(lambda grow: cv.rect(2.5, 1.5, 13.5, 14.5, r=1, grow=grow),
                cv.vgrad(PAL["chip_hi"], PAL["chip"], 2, 14), PAL["slot"])
    cv.fill(cv.circle(5, 4.3, 0.9), PAL["chip_hi"])
    cv.fill(cv.rect(5.5, 6.5, 10.5, 11.5), PAL["gold"], 0.9)


def plug(cv):
    # cable from the left, a plug body, two contacts
    cv.fill(cv.seg(0.5, 12, 4, 12, 2.0, cap=False) | cv.seg(4, 12, 5.5, 10, 2.0), PAL["slot"])
    cv.outlined(lambda grow: cv.rect(5, 4, 12, 12, r=1.2, grow=grow),
                cv.vgrad(PAL["grey_hi"], PAL["grey_lo"], 4, 12))
    for y0 in (5.5, 9):
        cv.fill(cv.rect(12, y0, 15.5, y0 + 1.5), PAL["gold"])
        cv.fill(cv.rect(12, y0 + 1, 15.5, y0 + 1.5), PAL["orange_dk"], 0.6)


def resistor(cv):
    cv.fill(cv.seg(0.5, 8, 15.5, 8, 1.0, cap=False), PAL["body_edge"])
    cv.outlined(lambda grow: cv.rect(3.5, 5, 12.5, 11, r=2.2, grow=grow),
                cv.vgrad(PAL["beige"], PAL["beige_dk"], 5, 11), PAL["orange_dk"])
    for x0, c in ((5, "orange"), (7, "red_lo"), (9, "slot"), (11, "gold")):
        cv.fill(cv.rect(x0, 5, x0 + 1, 11) & cv.rect(3.5, 5, 12.5, 11, r=2.2, grow=-cv.ow), PAL[c])
    # heat above the head
    for x in (5.5, 8, 10.5):
        cv.fill(cv.arc(x - 0.8, 2.6, 1.2, 0.8, 270, 90) | cv.arc(x + 0.8, 2.6, 1.2, 0.8, 90, 270),
                PAL["orange"])


def photos(cv):
    for d, a in ((2.5, 0.9), (0, 1.0)):
        cv.outlined(lambda grow, d=d: cv.rect(0.5 + d, 4 - d, 13 + d, 14.5 - d, grow=grow), PAL["paper"],
                    PAL["paper_edge"])
    inset = 1.0 + cv.ow / cv.s
    photo(cv, 0.5 + inset, 4 + inset, 13 - inset, 14.5 - inset * 1.9)


def info_glyph(cv):
    cv.fill(cv.circle(8, 8, 7.5), PAL["blue_ink"])
    cv.fill(cv.circle(8, 8, 7.5, grow=-cv.ow), cv.vgrad(PAL["blue_hi"], PAL["blue_lo"], 0, 16))
    info(cv, 0, 8, 8.6, 1.0)


def gear(cv):
    teeth = 8
    pts = []
    for k in range(teeth * 4):
        a = 2 * math.pi * k / (teeth * 4)
        r = 7.2 if (k % 4) in (0, 1) else 5.4
        pts.append((8 + r * math.cos(a + 0.2), 8 + r * math.sin(a + 0.2)))
    body = cv.poly(pts)
    cv.fill(body, PAL["chip"])
    cv.fill(body & cv.circle(8, 8, 6.6), cv.vgrad(PAL["grey_hi"], PAL["grey_lo"], 1, 15))
    cv.fill(cv.circle(8, 8, 2.6), PAL["chip"])
    cv.fill(cv.circle(8, 8, 2.6, grow=-cv.ow), PAL["white"])


def wifi(cv):
    col = cv.vgrad(PAL["blue_hi"], PAL["blue_lo"], 2, 14)
    w = 1.6 if cv.n <= 16 else 2.0
    for r in (12.5, 8.8, 5.1):
        cv.fill(cv.arc(8, 14.5, r, w, 225, 315), col)
    cv.fill(cv.circle(8, 13.5, 1.5), PAL["blue_lo"])


def tile(draw):
    def selected(cv):
        cv.fill(cv.rect(0, 0, 16, 16, r=2.5), PAL["blue_tile_edge"])
        cv.fill(cv.rect(0, 0, 16, 16, r=2.5, grow=-cv.ow), PAL["blue_tile"])
        draw(cv)
    return selected


def printer_plain(cv):
    printer(cv)


# ---------------------------------------------------------------------------
# Output: .ico with a 256-colour 16 x 16 image and 32-bit images, .bmp tile.

SIZES = (16, 20, 24, 32, 48)


def median_cut(colours, count):
    """Splits the colour set along its widest channel until there are count boxes; their means."""
    boxes = [colours]
    while len(boxes) < count:
        boxes.sort(key=lambda b: max(max(c[k] for c in b) - min(c[k] for c in b) for k in range(3)))
        box = boxes.pop()
        if len(box) < 2:
            boxes.append(box)
            break
        k = max(range(3), key=lambda k: max(c[k] for c in box) - min(c[k] for c in box))
        box.sort(key=lambda c: c[k])
        boxes += [box[:len(box) // 2], box[len(box) // 2:]]
    return [tuple(round(sum(c[k] for c in b) / len(b)) for k in range(3)) for b in boxes if b]


def shared_palette():
    """The 256 colours of every 8-bit image: the named colours, then the shades the
    16-pixel pictures need besides them, found by median cut over all of them."""
    named = list(dict.fromkeys(PAL.values()))
    shades = set()
    for _, _, draw, _ in ICONS:
        for row in render(draw, 16):
            shades.update(p[:3] for p in row if p[3] >= 128 and p[:3] not in named)
    pal = named + median_cut(sorted(shades), 256 - len(named))
    return pal + [(0, 0, 0)] * (256 - len(pal))


def nearest(c, cache={}):
    if c not in cache:
        def dist(p):
            dr, dg, db = c[0] - p[0], c[1] - p[1], c[2] - p[2]
            return 3 * dr * dr + 4 * dg * dg + 2 * db * db
        cache[c] = min(range(len(PALETTE)), key=lambda i: dist(PALETTE[i]))
    return cache[c]


def mask_rows(img, transparent):
    n = len(img)
    stride = ((n + 31) // 32) * 4
    out = b""
    for row in reversed(img):
        bits = bytearray(stride)
        for i, p in enumerate(row):
            if transparent(p):
                bits[i // 8] |= 0x80 >> (i % 8)
        out += bytes(bits)
    return out


def dib32(img):
    n = len(img)
    head = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    pix = b"".join(bytes((b, g, r, a)) for row in reversed(img) for (r, g, b, a) in row)
    return head + pix + mask_rows(img, lambda p: p[3] == 0)


def dib8(img):
    n = len(img)
    head = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 8, 0, 0, 0, 0, 256, 0)
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)
    stride = (n + 3) & ~3
    pix = b""
    for row in reversed(img):
        idx = bytes(nearest(p[:3]) if p[3] >= 128 else 0 for p in row)
        pix += idx + bytes(stride - n)
    return head + pal + pix + mask_rows(img, lambda p: p[3] < 128)


def render(draw, size):
    cv = Canvas(size, samples=4 if size <= 32 else 3)
    draw(cv)
    return cv.rgba()


def write_ico(path, draw, extra_sizes=()):
    images = [(16, 8, dib8(render(draw, 16)))]
    images += [(n, 32, dib32(render(draw, n))) for n in SIZES + tuple(extra_sizes)]
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for n, bpp, blob in images:
        entries += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
        blobs += blob
    with open(path, "wb") as f:
        f.write(head + entries + blobs)


def background_tile():
    """An 8 x 8 tile of a faint weave, 256 colours, for the status window's pattern brush."""
    n = 8
    base, weave, dot = PAL["bg_tile"], PAL["bg_weave"], PAL["bg_dot"]
    img = []
    for y in range(n):
        row = []
        for x in range(n):
            c = base
            if (x + y) % 8 == 0 or (x - y) % 8 == 4:
                c = weave
            if (x, y) in ((0, 0), (4, 4)):
                c = dot
            row.append(c)
        img.append(row)
    return img


def write_bmp(path, img):
    n = len(img)
    stride = (n + 3) & ~3
    info = struct.pack("<IiiHHIIiiII", 40, n, n, 1, 8, 0, 0, 2835, 2835, 256, 0)
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)
    pix = b"".join(bytes(nearest(c) for c in row) + bytes(stride - n) for row in reversed(img))
    off = 14 + len(info) + len(pal)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", off + len(pix), 0, 0, off) + info + pal + pix)


# id, file name, picture, extra sizes
ICONS = [
    (128, "agent", agent, (64,)),
    (131, "printer", printer_plain, ()),
    (132, "printer_error", printer_error, ()),
    (133, "printer_printing", printer_printing, ()),
    (134, "printer_offline", printer_offline, ()),
    (136, "about", agent, (64,)),
    (137, "help", help_normal, ()),
    (138, "help_focused", help_focused, ()),
    (139, "help_pressed", help_pressed, ()),
    (146, "properties", properties_normal, ()),
    (147, "properties_focused", properties_focused, ()),
    (148, "properties_pressed", properties_pressed, ()),
    (172, "properties_disabled", properties_disabled, ()),
]
TREE = [("printer", printer_plain), ("shared", share), ("device", identity), ("counters", counter),
        ("firmware", chip), ("port", plug), ("head", resistor), ("photos", photos), ("info", info_glyph),
        ("driver", gear), ("wifi", wifi)]
for k, (name, draw) in enumerate(TREE):
    ICONS.append((150 + 2 * k, "tree_" + name, draw, ()))
    ICONS.append((151 + 2 * k, "tree_" + name + "_selected", tile(draw), ()))
PALETTE = shared_palette()


# ---------------------------------------------------------------------------
# Contact sheet: reads the written files back, so it shows what the resources hold.

def read_ico(path):
    data = open(path, "rb").read()
    _, _, count = struct.unpack_from("<HHH", data, 0)
    out = []
    for k in range(count):
        w, _, _, _, _, bpp, size, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * k)
        n = w or 256
        hdr = struct.unpack_from("<IiiHHIIiiII", data, off)
        bits = hdr[4]
        p = off + 40
        pal = []
        if bits == 8:
            pal = [(data[p + 4 * i + 2], data[p + 4 * i + 1], data[p + 4 * i]) for i in range(256)]
            p += 1024
        stride = ((n * bits + 31) // 32) * 4
        xor = data[p:p + stride * n]
        mstride = ((n + 31) // 32) * 4
        andm = data[p + stride * n:p + stride * n + mstride * n]
        img = []
        for y in range(n):
            r = n - 1 - y
            row = []
            for x in range(n):
                masked = andm[r * mstride + x // 8] & (0x80 >> (x % 8))
                if bits == 32:
                    b, g, rr, a = xor[r * stride + 4 * x:r * stride + 4 * x + 4]
                    row.append((rr, g, b, a))
                else:
                    c = pal[xor[r * stride + x]]
                    row.append((0, 0, 0, 0) if masked else c + (255,))
            img.append(row)
        out.append((n, bits, img))
    return out


FONT = {  # 3 x 5 digits for the sheet's labels
    "0": "111101101101111", "1": "010110010010111", "2": "111001111100111", "3": "111001111001111",
    "4": "101101111001001", "5": "111100111001111", "6": "111100111101111", "7": "111001001001001",
    "8": "111101111101111", "9": "111101111001111",
}


def write_png(path, w, h, px):
    raw = b"".join(b"\0" + bytes(v for p in px[y * w:(y + 1) * w] for v in p) for y in range(h))

    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xFFFFFFFF)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def read_bmp(path):
    data = open(path, "rb").read()
    off = struct.unpack_from("<I", data, 10)[0]
    n = struct.unpack_from("<i", data, 18)[0]
    pal = [(data[54 + 4 * i + 2], data[54 + 4 * i + 1], data[54 + 4 * i]) for i in range(256)]
    stride = (n + 3) & ~3
    return [[pal[data[off + (n - 1 - y) * stride + x]] + (255,) for x in range(n)] for y in range(n)]


def contact_sheet(path, files, tile):
    zoom = 4
    backs = ((255, 255, 255), (212, 208, 200), (40, 44, 52))
    cell_w = 16 * zoom * 2 + 8 + sum(SIZES) + 64 + 8 * (len(SIZES) + 1)
    col_w = 18 + cell_w * len(backs)
    row_h = max(16 * zoom, 64) + 8
    cols = 2
    rows = (len(files) + cols + 1) // cols
    W, H = cols * col_w + 8, rows * row_h + 8
    px = [(250, 250, 250)] * (W * H)

    def blit(img, x0, y0, back, z=1):
        for y, row in enumerate(img):
            for x, (r, g, b, a) in enumerate(row):
                c = tuple(round(back[k] * (1 - a / 255) + (r, g, b)[k] * a / 255) for k in range(3))
                for dy in range(z):
                    for dx in range(z):
                        px[(y0 + y * z + dy) * W + x0 + x * z + dx] = c

    for k, (ident, path_ico) in enumerate(files):
        images = read_ico(path_ico)
        cx, cy = 4 + (k % cols) * col_w, 4 + (k // cols) * row_h
        for i, ch in enumerate(str(ident)):
            for b, on in enumerate(FONT[ch]):
                if on == "1":
                    for dy in range(2):
                        for dx in range(2):
                            px[(cy + 4 + (b // 3) * 2 + dy) * W + cx + i * 8 + (b % 3) * 2 + dx] = (0, 0, 0)
        x = cx + 28
        for back in backs:
            small8 = next(img for n, bits, img in images if bits == 8)
            small32 = next(img for n, bits, img in images if n == 16 and bits == 32)
            for y in range(row_h - 8):
                for xx in range(cell_w - 4):
                    px[(cy + y) * W + x + xx] = back
            blit(small8, x, cy, back, zoom)
            blit(small32, x + 16 * zoom + 4, cy, back, zoom)
            xx = x + 32 * zoom + 12
            for n, bits, img in images:
                if bits == 32 and n > 16 or (bits == 32 and n == 16):
                    blit(img, xx, cy, back)
                    xx += n + 6
            x += cell_w
    # the background tile, repeated as the pattern brush repeats it
    k = len(files)
    cx, cy = 4 + (k % cols) * col_w + 28, 4 + (k // cols) * row_h
    for ty in range(0, row_h - 8, len(tile)):
        for tx in range(0, cell_w * 2, len(tile)):
            blit(tile, cx + tx, cy + ty, (0, 0, 0))
    write_png(path, W, H, px)


def main():
    top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(top, "resources", "icons"))
    ap.add_argument("--sheet", help="also write a PNG contact sheet of the icons here")
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    written = []
    for ident, name, draw, extra in ICONS:
        path = os.path.join(args.out, "%d_%s.ico" % (ident, name))
        write_ico(path, draw, extra)
        written.append((ident, path))
    tile_path = os.path.join(args.out, "145_background.bmp")
    write_bmp(tile_path, background_tile())
    if args.sheet:
        contact_sheet(args.sheet, sorted(written), read_bmp(tile_path))


if __name__ == "__main__":
    main()
