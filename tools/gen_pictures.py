#!/usr/bin/python3
"""Draws every picture bank of Zentrove into data/.

Usage: /usr/bin/python3 tools/gen_pictures.py [DATA_DIR]
    DATA_DIR defaults to data/ beside tools/.

Each bank is written in three resolutions: plain (one file pixel per virtual
pixel), "-hd" (2) and "-hd2" (4). The game cuts a sheet into equal cells left
to right, wrapping at the sheet's width, so each sheet is exactly COLUMNS cells
wide and as many rows high as its frame count needs.

Sprites are drawn from signed distance fields evaluated natively at each
resolution, so edges stay one file pixel soft at every size and glows are
smooth. The two bitmap fonts are pixel art scaled up by whole factors (nearest),
which keeps them crisp. Everything is deterministic: the only random numbers
come from a generator with a fixed seed, and PIL's PNG writer adds no dates.
"""

import math
import os
import sys

import numpy as np
from PIL import Image

RESOLUTIONS = ((1, ""), (2, "-hd"), (4, "-hd2"))

# Neon palette (straight RGB, 0..1).
WHITE = (1.0, 1.0, 1.0)
CYAN = (0.25, 0.9, 1.0)
ICE = (0.75, 0.95, 1.0)
BLUE = (0.25, 0.45, 1.0)
VIOLET = (0.65, 0.3, 1.0)
MAGENTA = (1.0, 0.25, 0.8)
PINK = (1.0, 0.45, 0.65)
RED = (1.0, 0.25, 0.25)
ORANGE = (1.0, 0.55, 0.12)
GOLD = (1.0, 0.82, 0.25)
LIME = (0.55, 1.0, 0.25)
GREEN = (0.25, 1.0, 0.5)
TEAL = (0.2, 1.0, 0.8)
NAVY = (0.03, 0.07, 0.2)
HUES = (RED, ORANGE, GOLD, GREEN, TEAL, CYAN, VIOLET, MAGENTA)


# ---------------------------------------------------------------- geometry --

def rotate(x, y, degrees):
    """Coordinates turned by -degrees, so a shape evaluated there turns by +degrees."""
    a = math.radians(degrees)
    c, s = math.cos(a), math.sin(a)
    return c * x + s * y, -s * x + c * y


def polar(radius, degrees):
    """Point at a screen angle: 0 points up, angles grow clockwise."""
    a = math.radians(degrees)
    return radius * math.sin(a), -radius * math.cos(a)


def sd_circle(x, y, r, cx=0.0, cy=0.0):
    return np.hypot(x - cx, y - cy) - r


def sd_ring(x, y, r, width, cx=0.0, cy=0.0):
    return np.abs(np.hypot(x - cx, y - cy) - r) - width * 0.5


def sd_segment(x, y, ax, ay, bx, by):
    """Unsigned distance to the segment a-b."""
    ex, ey = bx - ax, by - ay
    wx, wy = x - ax, y - ay
    length2 = ex * ex + ey * ey
    t = np.clip((wx * ex + wy * ey) / length2, 0.0, 1.0) if length2 > 0 else 0.0
    return np.hypot(wx - ex * t, wy - ey * t)


def sd_polyline(x, y, points, width, closed=False):
    """A tube of the given width along the points (round joins and caps)."""
    pts = list(points) + ([points[0]] if closed else [])
    d = np.full(x.shape, np.inf)
    for (ax, ay), (bx, by) in zip(pts, pts[1:]):
        d = np.minimum(d, sd_segment(x, y, ax, ay, bx, by))
    return d - width * 0.5


def sd_polygon(x, y, points):
    """Signed distance to a simple polygon (negative inside)."""
    pts = np.asarray(points, dtype=float)
    d = (x - pts[0, 0]) ** 2 + (y - pts[0, 1]) ** 2
    sign = np.ones(x.shape)
    j = len(pts) - 1
    for i in range(len(pts)):
        vix, viy = pts[i]
        ex, ey = pts[j, 0] - vix, pts[j, 1] - viy
        wx, wy = x - vix, y - viy
        t = np.clip((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0, 1.0)
        bx, by = wx - ex * t, wy - ey * t
        d = np.minimum(d, bx * bx + by * by)
        above = y >= viy
        below_next = y < pts[j, 1]
        left = ex * wy > ey * wx
        crossing = (above & below_next & left) | (~above & ~below_next & ~left)
        sign = np.where(crossing, -sign, sign)
        j = i
    return sign * np.sqrt(d)


def sd_box(x, y, half_w, half_h, radius=0.0, cx=0.0, cy=0.0):
    qx = np.abs(x - cx) - half_w + radius
    qy = np.abs(y - cy) - half_h + radius
    outside = np.hypot(np.maximum(qx, 0), np.maximum(qy, 0))
    return outside + np.minimum(np.maximum(qx, qy), 0) - radius


def regular_polygon(n, r, degrees=0.0, cx=0.0, cy=0.0):
    return [(cx + polar(r, degrees + 360.0 * i / n)[0],
             cy + polar(r, degrees + 360.0 * i / n)[1]) for i in range(n)]


def star_points(n, r_out, r_in, degrees=0.0):
    pts = []
    for i in range(2 * n):
        px, py = polar(r_out if i % 2 == 0 else r_in, degrees + 180.0 * i / n)
        pts.append((px, py))
    return pts


def sd_gear(x, y, r_root, r_tip, teeth, tooth_frac=0.45, degrees=0.0):
    """A toothed wheel: teeth as flat-topped blocks out to r_tip."""
    ang = (np.degrees(np.arctan2(x, -y)) - degrees) % 360.0
    pitch = 360.0 / teeth
    local = (ang + pitch * 0.5) % pitch - pitch * 0.5       # degrees from tooth centre
    r = np.hypot(x, y)
    half_tooth = r_tip * math.radians(pitch * tooth_frac * 0.5)
    lateral = r * np.sin(np.radians(np.abs(local)))
    tooth = np.maximum(lateral - half_tooth, r - r_tip)
    return np.minimum(r - r_root, tooth)


# ----------------------------------------------------------------- drawing --

class Cell:
    """One frame being drawn. Coordinates are virtual pixels with the origin at
    the cell centre and y pointing down; f is file pixels per virtual pixel."""

    def __init__(self, width, height, f):
        self.width, self.height, self.f = width, height, f
        xs = (np.arange(width * f) + 0.5) / f - width * 0.5
        ys = (np.arange(height * f) + 0.5) / f - height * 0.5
        self.x, self.y = np.meshgrid(xs, ys)
        self.rgb = np.zeros(self.x.shape + (3,))   # premultiplied
        self.a = np.zeros(self.x.shape)

    def over(self, colour, alpha):
        """Composites colour with coverage alpha over what is drawn so far."""
        colour = np.asarray(colour, dtype=float)
        alpha = np.clip(alpha, 0.0, 1.0)
        self.rgb = colour * alpha[..., None] + self.rgb * (1.0 - alpha[..., None])
        self.a = alpha + self.a * (1.0 - alpha)

    def coverage(self, d):
        """Area covered by the inside (d < 0), anti-aliased over one file pixel."""
        return np.clip(0.5 - d * self.f, 0.0, 1.0)

    def fill(self, d, colour, alpha=1.0):
        self.over(colour, self.coverage(d) * alpha)

    def glow(self, d, colour, radius, strength=0.7):
        """Soft light around a shape: falls off quickly, then fades to nothing."""
        o = np.maximum(d, 0.0) / radius
        self.over(colour, strength * (0.6 * np.exp(-o) + 0.4 * np.exp(-o * o)) * np.exp(-o * o / 9.0))

    def neon(self, d, colour, glow=3.0, strength=0.7, core=0.35, fill=1.0):
        """A glowing shape: halo, coloured body and a white-hot core."""
        self.glow(d, colour, glow, strength)
        self.fill(d, colour, fill)
        if core > 0:
            depth = np.maximum(-np.min(d), 1e-6) if np.min(d) < 0 else 1e-6
            self.fill(d + depth * core, mix(colour, WHITE, 0.75), fill)

    def tube(self, d_line, width, colour, glow=3.0, strength=0.7):
        """A neon tube along a centre line given as unsigned distance."""
        d = d_line - width * 0.5
        self.glow(d, colour, glow, strength)
        self.fill(d, colour)
        self.fill(d_line - width * 0.22, mix(colour, WHITE, 0.7))

    def pixels(self):
        """Straight-alpha RGBA bytes; the outermost edge is kept clear so that
        nearest sampling never bleeds into a neighbouring cell."""
        hx = self.width * 0.5 - np.abs(self.x)
        hy = self.height * 0.5 - np.abs(self.y)
        fade = max(1.0, 0.04 * min(self.width, self.height))
        window = smoothstep((hx - 0.6) / fade) * smoothstep((hy - 0.6) / fade)
        a = self.a * window
        rgb = self.rgb * window[..., None]
        safe = np.where(a > 1e-6, a, 1.0)
        straight = np.clip(rgb / safe[..., None], 0.0, 1.0)
        a8 = np.round(a * 255.0).astype(np.uint8)
        rgb8 = np.round(straight * 255.0).astype(np.uint8)
        rgb8[a8 == 0] = 0
        return np.dstack([rgb8, a8])


def smoothstep(t):
    t = np.clip(t, 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


def mix(c1, c2, t):
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def scale(colour, k):
    return tuple(c * k for c in colour)


def hue(degrees):
    """A saturated colour from a hue angle (0 red, 120 green, 240 blue)."""
    out = []
    for offset in (0.0, 120.0, 240.0):
        v = math.cos(math.radians(degrees - offset))
        out.append(min(1.0, max(0.0, 0.5 + v)))
    return tuple(out)


# ------------------------------------------------------------- sheet I/O --

def sheet_size(cell_w, cell_h, frames, columns):
    rows = -(-frames // columns)
    return columns * cell_w, rows * cell_h


def save_png(path, rgba):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    Image.fromarray(rgba, "RGBA").save(path, optimize=False, compress_level=9)


def write_bank(data_dir, name, cell_w, cell_h, columns, painters):
    """Renders one painter per frame at every resolution into name[-hd|-hd2].png."""
    for f, suffix in RESOLUTIONS:
        w, h = sheet_size(cell_w * f, cell_h * f, len(painters), columns)
        sheet = np.zeros((h, w, 4), dtype=np.uint8)
        for i, paint in enumerate(painters):
            if paint is None:
                continue
            cell = Cell(cell_w, cell_h, f)
            paint(cell)
            x0, y0 = (i % columns) * cell_w * f, (i // columns) * cell_h * f
            sheet[y0:y0 + cell_h * f, x0:x0 + cell_w * f] = cell.pixels()
        save_png(os.path.join(data_dir, name + suffix + ".png"), sheet)


# ------------------------------------------------------------ bank 1: gfx --

def paint_bonus(c):
    c.fill(sd_circle(c.x, c.y, 12.5), GOLD, 0.12)
    c.tube(np.abs(np.hypot(c.x, c.y) - 13.5), 2.2, GOLD, glow=1.6, strength=0.6)
    star = sd_polygon(c.x, c.y, star_points(4, 11.0, 3.6))
    c.neon(star, GOLD, glow=2.5, strength=0.8, core=0.45)
    c.fill(sd_circle(c.x, c.y, 2.2), WHITE)


def paint_halo(c):
    c.glow(sd_circle(c.x, c.y, 6.0), GOLD, 5.0, 0.6)
    c.neon(sd_polygon(c.x, c.y, star_points(6, 12.0, 5.0, 30.0)), GOLD, glow=2.5, core=0.4)


def paint_junk_shape(shape, colour):
    def paint(c):
        d = sd_shape(c.x, c.y, shape, 5.6)
        c.glow(d, colour, 2.2, 0.55)
        c.fill(d, colour, 0.35)
        c.tube(np.abs(d), 2.0, colour, glow=1.0, strength=0.0)
        c.fill(sd_circle(c.x, c.y, 1.4), mix(colour, WHITE, 0.8))
    return paint


def sd_shape(x, y, shape, r):
    if shape == "hex":
        return sd_polygon(x, y, regular_polygon(6, r, 30.0))
    if shape == "diamond":
        return sd_polygon(x, y, regular_polygon(4, r * 1.15))
    if shape == "triangle":
        return sd_polygon(x, y, regular_polygon(3, r * 1.2, 0.0, 0.0, r * 0.15))
    if shape == "square":
        return sd_box(x, y, r * 0.8, r * 0.8, r * 0.25)
    if shape == "pentagon":
        return sd_polygon(x, y, regular_polygon(5, r * 1.05))
    if shape == "circle":
        return sd_circle(x, y, r * 0.9)
    if shape == "cross":
        return np.minimum(sd_box(x, y, r, r * 0.38, r * 0.2), sd_box(x, y, r * 0.38, r, r * 0.2))
    if shape == "octagon":
        return sd_polygon(x, y, regular_polygon(8, r, 22.5))
    if shape == "shield":
        return sd_polygon(x, y, [(-r, -r * 0.9), (r, -r * 0.9), (r, r * 0.1), (0, r * 1.1), (-r, r * 0.1)])
    if shape == "star":
        return sd_polygon(x, y, star_points(5, r * 1.2, r * 0.55))
    raise ValueError(shape)


def paint_ring_dot(c):
    d = sd_circle(c.x, c.y, 4.2)
    c.glow(d, WHITE, 3.0, 0.55)
    c.fill(d, (0.85, 0.85, 0.85))
    c.fill(sd_circle(c.x, c.y, 2.4), WHITE)


def paint_orb(body, ring_colour, radius=7.5):
    def paint(c):
        r = np.hypot(c.x, c.y)
        c.glow(sd_circle(c.x, c.y, radius + 3.0), ring_colour, 4.0, 0.45)
        c.tube(np.abs(r - (radius + 3.0)), 2.0, ring_colour, glow=1.5, strength=0.4)
        t = np.clip(r / radius, 0, 1)[..., None] ** 1.6
        gradient = np.asarray(WHITE) * (1 - t) + np.asarray(body) * t
        c.over(gradient, c.coverage(r - radius))
        c.fill(sd_circle(c.x, c.y, radius * 0.35), WHITE)
    return paint


def paint_spinner(points, colour, r_out=15.0, r_in=7.5, eye=RED):
    def paint(c):
        star = sd_polygon(c.x, c.y, star_points(points, r_out, r_in))
        c.glow(star, colour, 2.2, 0.6)
        c.fill(star, scale(colour, 0.35), 0.85)
        c.tube(np.abs(star), 2.0, colour, glow=1.0, strength=0.0)
        c.fill(sd_circle(c.x, c.y, 4.6), (0.05, 0.0, 0.05))
        eye_d = sd_circle(c.x, c.y, 3.2)
        c.glow(eye_d, eye, 1.5, 0.8)
        c.fill(eye_d, eye)
        c.fill(sd_circle(c.x, c.y, 1.5), WHITE)
    return paint


def paint_bullet(radius):
    def paint(c):
        d = sd_circle(c.x, c.y, radius)
        c.glow(d, ORANGE, radius * 0.9, 0.75)
        c.fill(d, ORANGE)
        c.fill(sd_circle(c.x, c.y, radius * 0.6), GOLD)
        c.fill(sd_circle(c.x, c.y, radius * 0.3), WHITE)
    return paint


def paint_shockwave(step):
    def paint(c):
        radius = 4.0 + step * 1.4
        width = max(2.0, 3.2 - step * 0.2)
        fade = 1.0 - step * 0.09
        d = np.abs(np.hypot(c.x, c.y) - radius) - width * 0.5
        c.glow(d, ORANGE, 1.8, 0.6 * fade)
        c.fill(d, mix(ORANGE, WHITE, 0.5), fade)
    return paint


def paint_flare(r_out, colour):
    def paint(c):
        d = sd_polygon(c.x, c.y, star_points(4, r_out, r_out * 0.18))
        c.glow(sd_circle(c.x, c.y, r_out * 0.2), colour, r_out * 0.35, 0.7)
        c.neon(d, colour, glow=1.5, strength=0.5, core=0.5)
    return paint


def gfx_painters():
    p = [None] * 49
    p[0] = paint_bonus
    p[1] = paint_halo
    p[2] = paint_junk_shape("hex", TEAL)
    p[3] = paint_ring_dot
    p[4] = paint_orb(CYAN, ICE)
    p[5] = paint_spinner(8, MAGENTA)
    p[6] = paint_spinner(6, ORANGE, 13.5, 8.0, GOLD)
    for i, radius in enumerate((3.5, 4.5, 5.5, 4.5)):
        p[7 + i] = paint_bullet(radius)
    for i in range(8):
        p[11 + i] = paint_shockwave(i)
    shapes = ("hex", "diamond", "triangle", "square", "pentagon", "circle", "cross", "octagon")
    for i, shape in enumerate(shapes):
        p[19 + i] = paint_junk_shape(shape, HUES[i])
    for i, colour in enumerate((GREEN, GOLD, PINK, VIOLET, ORANGE, RED, BLUE, WHITE)):
        p[27 + i] = paint_orb(colour, mix(colour, WHITE, 0.5))
    for i in range(8):
        p[35 + i] = paint_spinner(5 + i, HUES[(i + 5) % 8], 13.0 + (i % 3) * 0.7, 7.0, GOLD)
    for i, colour in enumerate((WHITE, CYAN, GOLD, MAGENTA, GREEN, ORANGE)):
        p[43 + i] = paint_flare(9.0 + (i % 3) * 2.5, colour)
    return p


# ---------------------------------------------------------- bank 96: parts --

def paint_particle(index):
    """Small white sparks; the game tints them and picks frames at random."""
    shape, size, variant = index % 8, (index // 8) % 8, index // 64
    r = 1.6 + size * 0.24
    level = (1.0, 0.9, 0.8, 0.95)[variant]
    turn = variant * 22.5
    colour = (level, level, level)

    def paint(c):
        x, y = rotate(c.x, c.y, turn)
        if shape == 0:
            c.over(colour, np.exp(-(x * x + y * y) / (r * r * 0.45)))
            return
        if shape == 1:
            d = sd_circle(x, y, r * 0.6)
        elif shape == 2:
            d = np.minimum(sd_box(x, y, r, 1.0), sd_box(x, y, 1.0, r))
        elif shape == 3:
            u, v = rotate(x, y, 45.0)
            d = np.minimum(sd_box(u, v, r, 1.0), sd_box(u, v, 1.0, r))
        elif shape == 4:
            d = sd_polygon(x, y, regular_polygon(4, r))
        elif shape == 5:
            d = sd_polygon(x, y, star_points(4, r + 0.3, max(1.0, r * 0.4)))
        elif shape == 6:
            d = sd_ring(x, y, max(1.6, r * 0.7), 2.0)
        else:
            d = sd_box(x, y, r * 0.6, r * 0.6, 0.3)
        c.glow(d, colour, 0.6, 0.5)
        c.fill(d, colour)
    return paint


# --------------------------------------------------- bank 85: common/circle --

def paint_soft_disc(c):
    r = np.hypot(c.x, c.y)
    c.over(WHITE, 0.9 * np.exp(-(r / 62.0) ** 2))


def paint_cog_plate(c):
    r = np.hypot(c.x, c.y)
    c.glow(r - 118.0, CYAN, 6.0, 0.5)
    c.fill(r - 118.0, NAVY, 0.7)
    c.tube(np.abs(r - 116.0), 4.0, CYAN, glow=3.0, strength=0.5)
    c.tube(np.abs(r - 98.0), 2.0, scale(CYAN, 0.7), glow=1.5, strength=0.3)
    ang = np.degrees(np.arctan2(c.x, -c.y))
    local = (ang + 7.5) % 15.0 - 7.5
    tick = np.hypot(r * np.radians(local), r - 107.0) - 2.0
    c.fill(tick, ICE, 0.8)


def paint_neon_ring(c):
    c.tube(np.abs(np.hypot(c.x, c.y) - 110.0), 6.0, WHITE, glow=6.0, strength=0.6)


def paint_wheel_disc(c):
    """The difficulty dial: an annulus; its hole leaves the cog beneath visible."""
    r = np.hypot(c.x, c.y)
    band = np.maximum(r - 124.0, 50.0 - r)
    c.glow(r - 124.0, BLUE, 6.0, 0.45)
    c.fill(band, NAVY, 0.7)
    c.tube(np.abs(r - 122.0), 3.5, CYAN, glow=3.0, strength=0.5)
    c.tube(np.abs(r - 52.0), 3.0, CYAN, glow=3.0, strength=0.5)
    c.tube(np.abs(r - 64.0), 2.0, scale(CYAN, 0.6), glow=1.0, strength=0.2)
    ang = np.degrees(np.arctan2(c.x, -c.y))
    local = (ang + 4.0) % 8.0 - 4.0
    big = ((np.floor((ang + 4.0) / 8.0)).astype(int) % 4) == 0
    dot = np.hypot(r * np.radians(local), r - 110.0) - np.where(big, 2.6, 1.4)
    c.fill(dot, ICE, 0.9)


# ---------------------------------------------------- bank 86: common/light --

def paint_light(kind):
    def paint(c):
        r = np.hypot(c.x, c.y)
        if kind == 0:
            c.over(WHITE, np.exp(-(r / 5.0) ** 2))
        elif kind == 1:
            c.over(WHITE, 0.85 * np.exp(-(r / 7.0) ** 2))
        elif kind == 2:
            c.over(WHITE, 0.5 * np.exp(-(r / 6.0) ** 2))
            c.fill(r - 3.0, WHITE)
        else:
            c.over(WHITE, 0.45 * np.exp(-(r / 6.0) ** 2))
            c.neon(sd_polygon(c.x, c.y, star_points(4, 14.0, 1.6)), WHITE, glow=1.2, core=0.4)
    return paint


# --------------------------------------------------- bank 95: common/Buttons --

def paint_badge(colour, pips):
    """A wheel item: a ring with a dark face for the white label drawn on it."""
    def paint(c):
        r = np.hypot(c.x, c.y)
        c.glow(r - 27.0, colour, 3.0, 0.5)
        c.fill(r - 26.0, (0.0, 0.0, 0.0), 0.5)
        c.tube(np.abs(r - 26.0), 3.2, colour, glow=1.5, strength=0.3)
        spread = 24.0
        for k in range(pips):
            px, py = polar(19.5, (k - (pips - 1) * 0.5) * spread)
            c.neon(sd_circle(c.x, c.y, 2.3, px, py), colour, glow=1.5, core=0.5)
    return paint


def paint_round_button(c):
    r = np.hypot(c.x, c.y)
    c.fill(r - 26.0, NAVY, 0.6)
    c.tube(np.abs(r - 26.0), 3.0, ICE, glow=3.0, strength=0.5)


def paint_square_button(c):
    d = sd_box(c.x, c.y, 25.0, 25.0, 7.0)
    c.fill(d, NAVY, 0.6)
    c.tube(np.abs(d), 3.0, ICE, glow=3.0, strength=0.5)


def paint_cog_outer(c):
    d = np.maximum(sd_gear(c.x, c.y, 23.5, 28.5, 12), 17.5 - np.hypot(c.x, c.y))
    c.glow(d, CYAN, 2.5, 0.5)
    c.fill(d, (0.85, 0.93, 1.0))
    c.fill(np.abs(np.hypot(c.x, c.y) - 20.5) - 1.0, scale(CYAN, 0.7))


def paint_cog_middle(c):
    r = np.hypot(c.x, c.y)
    ring = np.abs(r - 14.0) - 2.0
    spokes = np.full(c.x.shape, np.inf)
    for k in range(3):
        ax, ay = polar(7.0, k * 120.0)
        bx, by = polar(14.0, k * 120.0)
        spokes = np.minimum(spokes, sd_segment(c.x, c.y, ax, ay, bx, by) - 1.6)
    d = np.minimum(ring, spokes)
    c.glow(d, CYAN, 2.0, 0.6)
    c.fill(d, CYAN)
    c.fill(np.abs(r - 14.0) - 0.6, ICE)


def paint_cog_hub(c):
    r = np.hypot(c.x, c.y)
    c.neon(r - 6.0, WHITE, glow=2.0, core=0.0)
    c.fill(r - 2.0, NAVY)
    for k in range(3):
        px, py = polar(4.3, 60.0 + k * 120.0)
        c.fill(sd_circle(c.x, c.y, 1.0, px, py), CYAN)
    c.tube(np.abs(r - 9.0), 2.0, ICE, glow=1.5, strength=0.3)


def paint_close_button(c):
    paint_round_button(c)
    d = np.minimum(sd_segment(c.x, c.y, -9, -9, 9, 9), sd_segment(c.x, c.y, -9, 9, 9, -9))
    c.tube(d, 3.5, RED, glow=2.0)


def paint_code_icon(c):
    """Our editor icon: angle brackets and a slash in a rounded frame."""
    frame = sd_box(c.x, c.y, 24.0, 20.0, 6.0)
    c.fill(frame, NAVY, 0.7)
    c.tube(np.abs(frame), 2.5, CYAN, glow=2.5, strength=0.5)
    left = sd_polyline(c.x, c.y, [(-6, -9), (-15, 0), (-6, 9)], 0.0)
    right = sd_polyline(c.x, c.y, [(6, -9), (15, 0), (6, 9)], 0.0)
    slash = sd_segment(c.x, c.y, 3, -11, -3, 11)
    c.tube(np.minimum(left, right), 3.4, LIME, glow=2.0)
    c.tube(slash, 3.0, GOLD, glow=2.0)


def paint_arrow_button(direction):
    def paint(c):
        paint_round_button(c)
        x = c.x * direction
        shaft = sd_segment(x, c.y, -10, 0, 10, 0)
        head = sd_polyline(x, c.y, [(2, -9), (11, 0), (2, 9)], 0.0)
        c.tube(np.minimum(shaft, head), 3.5, GREEN, glow=2.0)
    return paint


def paint_check_button(c):
    paint_round_button(c)
    c.tube(sd_polyline(c.x, c.y, [(-11, 1), (-4, 9), (11, -8)], 0.0), 3.8, GREEN, glow=2.0)


def buttons_painters():
    colours = (GREEN, GOLD, RED, CYAN, VIOLET, PINK)
    p = [paint_badge(colours[i], i + 1) for i in range(6)]
    p += [paint_round_button, paint_square_button, paint_cog_outer, paint_cog_middle, paint_cog_hub,
          paint_close_button, paint_code_icon, paint_arrow_button(-1), paint_arrow_button(1), paint_check_button]
    return p


# ----------------------------------------------------- bank 97: common/icons --

ICON_GLOW = {"glow": 1.0, "strength": 0.45}


def icon_ring(c, colour=WHITE):
    r = np.hypot(c.x, c.y)
    c.fill(r - 13.0, (0.0, 0.0, 0.0), 0.3)
    c.tube(np.abs(r - 12.5), 2.0, colour, glow=1.4, strength=0.35)


def icon(draw, ring=True):
    def paint(c):
        if ring:
            icon_ring(c)
        draw(c)
    return paint


def draw_pause(c):
    d = np.minimum(sd_box(c.x, c.y, 1.6, 6.0, 0.8, -3.8), sd_box(c.x, c.y, 1.6, 6.0, 0.8, 3.8))
    c.neon(d, WHITE, core=0.0, **ICON_GLOW)


def draw_quit(c):
    d = np.minimum(sd_segment(c.x, c.y, -5, -5, 5, 5), sd_segment(c.x, c.y, -5, 5, 5, -5))
    c.tube(d, 3.0, WHITE, **ICON_GLOW)


def draw_back(c):
    d = np.minimum(sd_segment(c.x, c.y, -6, 0, 6, 0), sd_polyline(c.x, c.y, [(-1, -5), (-6, 0), (-1, 5)], 0.0))
    c.tube(d, 2.8, WHITE, **ICON_GLOW)


def draw_play(c):
    d = sd_polygon(c.x, c.y, [(-3.5, -6.5), (7.0, 0.0), (-3.5, 6.5)])
    c.neon(d + 0.4, WHITE, core=0.0, **ICON_GLOW)


def draw_restart(c):
    r = np.hypot(c.x, c.y)
    ang = np.degrees(np.arctan2(c.x, -c.y)) % 360.0
    sx, sy = polar(6.5, 70.0)
    arc = np.where(ang > 70.0, np.abs(r - 6.5), np.hypot(c.x - sx, c.y - sy))
    ex, ey = polar(6.5, 0.0)
    head = sd_polyline(c.x, c.y, [(ex - 3.0, ey - 3.5), (ex + 0.5, ey), (ex - 3.0, ey + 3.5)], 0.0)
    c.tube(np.minimum(arc, head), 2.6, WHITE, **ICON_GLOW)


def draw_small_cog(c):
    d = np.maximum(sd_gear(c.x, c.y, 6.0, 8.5, 8, 0.5), 3.0 - np.hypot(c.x, c.y))
    c.neon(d, WHITE, core=0.0, **ICON_GLOW)


def draw_highlight(c):
    """A bright ring that frames a selected button."""
    d = np.abs(np.hypot(c.x, c.y) - 12.0) - 1.3
    c.glow(d, WHITE, 1.0, 0.7)
    c.fill(d, WHITE)


def draw_speaker(c):
    body = sd_polygon(c.x, c.y, [(-8, -2.5), (-5, -2.5), (-1, -6.5), (-1, 6.5), (-5, 2.5), (-8, 2.5)])
    c.neon(body, WHITE, core=0.0, **ICON_GLOW)
    r = np.hypot(c.x + 1.0, c.y)
    ang = np.abs(np.degrees(np.arctan2(c.y, c.x + 1.0)))
    for radius in (3.8, 7.0):
        c.fill(np.where(ang < 45.0, np.abs(r - radius) - 1.0, np.inf), WHITE)


def draw_note(c):
    heads = np.minimum(sd_circle(c.x, c.y, 2.6, -4.5, 5.0), sd_circle(c.x, c.y, 2.6, 4.5, 3.0))
    stems = np.minimum(sd_box(c.x, c.y, 0.9, 5.5, 0, -2.0, -0.5), sd_box(c.x, c.y, 0.9, 5.5, 0, 7.0, -2.5))
    beam = sd_polygon(c.x, c.y, [(-2.9, -6.0), (7.9, -8.0), (7.9, -5.5), (-2.9, -3.5)])
    c.neon(np.minimum(np.minimum(heads, stems), beam), WHITE, core=0.0, **ICON_GLOW)


def draw_fullscreen(c):
    d = np.full(c.x.shape, np.inf)
    for sx in (-1, 1):
        for sy in (-1, 1):
            d = np.minimum(d, sd_polyline(c.x, c.y, [(sx * 7, sy * 2.5), (sx * 7, sy * 7), (sx * 2.5, sy * 7)], 0.0))
    c.tube(d, 2.4, WHITE, **ICON_GLOW)


def draw_star(c):
    c.neon(sd_polygon(c.x, c.y, star_points(5, 8.5, 3.6)), WHITE, core=0.0, **ICON_GLOW)


def paint_life(c):
    r = np.hypot(c.x, c.y)
    c.glow(r - 9.0, ICE, 2.5, 0.5)
    c.tube(np.abs(r - 10.0), 2.0, ICE, glow=1.0, strength=0.3)
    t = np.clip(r / 7.0, 0, 1)[..., None] ** 1.5
    c.over(np.asarray(WHITE) * (1 - t) + np.asarray(ICE) * t, c.coverage(r - 7.0))


def draw_check(c):
    c.tube(sd_polyline(c.x, c.y, [(-6, 0), (-2, 5), (6, -5)], 0.0), 2.8, WHITE, **ICON_GLOW)


def draw_info(c):
    c.neon(np.minimum(sd_box(c.x, c.y, 1.3, 4.5, 0.6, 0, 2.0), sd_circle(c.x, c.y, 1.7, 0, -5.5)),
           WHITE, core=0.0, **ICON_GLOW)


def draw_plus(c):
    c.tube(np.minimum(sd_segment(c.x, c.y, -6, 0, 6, 0), sd_segment(c.x, c.y, 0, -6, 0, 6)), 2.8, WHITE, **ICON_GLOW)


def draw_minus(c):
    c.tube(sd_segment(c.x, c.y, -6, 0, 6, 0), 2.8, WHITE, **ICON_GLOW)


def icons_painters():
    return [icon(draw_pause), icon(draw_quit), icon(draw_back), icon(draw_play), icon(draw_restart),
            icon(draw_small_cog), icon(draw_highlight, ring=False), icon(draw_speaker), icon(draw_note),
            icon(draw_fullscreen), icon(draw_star), paint_life, icon(draw_check), icon(draw_info),
            icon(draw_plus), icon(draw_minus)]


# ------------------------------------------------------ bank 94: common/dpad --

def sd_cross(x, y, arm=4.5, length=12.5):
    return np.minimum(sd_box(x, y, arm, length, 1.5), sd_box(x, y, length, arm, 1.5))


def paint_dpad(pressed=None, centre=False):
    def paint(c):
        d = sd_cross(c.x, c.y)
        c.glow(d, ICE, 2.0, 0.4)
        c.fill(d, NAVY, 0.8)
        c.tube(np.abs(d), 2.0, ICE, glow=1.0, strength=0.0)
        if pressed is not None:
            x, y = rotate(c.x, c.y, pressed)
            arm = sd_box(x, y, 3.0, 3.6, 1.0, 0.0, -7.8)
            c.neon(arm, CYAN, glow=1.5, core=0.4)
        if centre:
            c.neon(sd_circle(c.x, c.y, 3.0), CYAN, glow=1.5, core=0.4)
    return paint


def paint_face(pressed):
    def paint(c):
        for k in range(4):
            px, py = polar(8.5, 90.0 * k)
            d = sd_circle(c.x, c.y, 4.3, px, py)
            if k == pressed:
                c.neon(d, CYAN, glow=1.8, core=0.4)
            else:
                c.fill(d, NAVY, 0.8)
                c.tube(np.abs(d), 2.0, ICE, glow=1.0, strength=0.2)
    return paint


def paint_stick(offset):
    def paint(c):
        r = np.hypot(c.x, c.y)
        c.fill(r - 12.5, NAVY, 0.7)
        c.tube(np.abs(r - 12.5), 2.0, ICE, glow=1.5, strength=0.3)
        c.neon(sd_circle(c.x, c.y, 6.0, 0.0, -offset), CYAN if offset else ICE, glow=1.5, core=0.4)
    return paint


def paint_shoulder(side):
    def paint(c):
        d = sd_box(c.x, c.y, 12.5, 6.0, 5.0, 0.0, 1.0)
        c.fill(d, NAVY, 0.8)
        c.tube(np.abs(d), 2.0, ICE, glow=1.5, strength=0.3)
        lit = np.maximum(d + 1.5, -side * c.x)   # side -1 lights the left half
        c.neon(lit, CYAN, glow=1.2, core=0.3)
    return paint


def paint_pill(mark):
    def paint(c):
        d = sd_box(c.x, c.y, 10.0, 5.5, 5.5)
        c.fill(d, NAVY, 0.8)
        c.tube(np.abs(d), 2.0, ICE, glow=1.5, strength=0.3)
        if mark == "bars":
            bars = np.minimum(sd_box(c.x, c.y, 4.0, 1.0, 0.3, 0, -2.0), sd_box(c.x, c.y, 4.0, 1.0, 0.3, 0, 2.0))
            c.fill(bars, WHITE)
        else:
            c.fill(sd_polygon(c.x, c.y, [(-2.5, -3.5), (4.0, 0.0), (-2.5, 3.5)]), WHITE)
    return paint


def dpad_painters():
    p = [paint_dpad()] + [paint_dpad(angle) for angle in (0.0, 90.0, 180.0, 270.0)]
    p.append(paint_dpad(centre=True))
    p += [paint_face(k) for k in (2, 1, 3, 0)]   # bottom, right, left, top
    p += [paint_stick(0.0), paint_stick(5.0), paint_shoulder(-1), paint_shoulder(1),
          paint_pill("bars"), paint_pill("start")]
    return p


# ----------------------------------------------------------- bank 80: badges --

def paint_achievement(index):
    shapes = ("circle", "hex", "diamond", "shield", "octagon", "triangle", "square", "star")
    shape, colour = shapes[index // 8], HUES[index % 8]
    points = 3 + (index * 5) % 6

    def paint(c):
        d = sd_shape(c.x, c.y, shape, 24.0)
        c.glow(d, colour, 3.0, 0.55)
        c.fill(d, scale(colour, 0.18), 0.85)
        c.tube(np.abs(d), 2.8, colour, glow=1.0, strength=0.0)
        inner = sd_shape(c.x, c.y, shape, 18.5)
        c.fill(np.abs(inner) - 1.0, scale(colour, 0.8), 0.6)
        emblem = sd_polygon(c.x, c.y, star_points(points, 9.5, 4.2, (index % 3) * 10.0))
        c.neon(emblem, mix(colour, WHITE, 0.3), glow=2.0, core=0.45)
    return paint


# -------------------------------------------------------------- bank 99: menu --

def paint_arena_art(c):
    """The arena in miniature: rainbow rim, junk grid, the orb and two spinners."""
    r = np.hypot(c.x, c.y)
    ang = np.degrees(np.arctan2(c.x, -c.y)) % 360.0
    sector = np.round(ang / 5.0)
    local = np.radians(ang - sector * 5.0)
    dot = np.hypot(r * np.sin(local), r * np.cos(local) - 104.0) - 3.0
    colour = np.stack([np.clip(0.5 + np.cos(np.radians(sector * 5.0 - o)), 0, 1) for o in (0, 120, 240)], -1)
    c.over(colour, 0.6 * np.exp(-np.maximum(dot, 0) / 2.5))
    c.over(colour, c.coverage(dot))
    ix, iy = np.floor(c.x / 12.0 + 6.0), np.floor(c.y / 12.0 + 6.0)
    lx, ly = c.x - (ix - 5.5) * 12.0, c.y - (iy - 5.5) * 12.0
    inside = (ix >= 0) & (ix < 12) & (iy >= 0) & (iy < 12) & (((ix * 7 + iy * 5 + ix * iy) % 3) != 0)
    chip = np.where(inside, sd_polygon(lx, ly, regular_polygon(6, 3.6, 30.0)), np.inf)
    c.glow(chip, TEAL, 1.5, 0.4)
    c.fill(chip, TEAL)
    paint_part(c, paint_orb(CYAN, ICE), 30.0, 28.0, 1.0)
    paint_part(c, paint_spinner(8, MAGENTA), *polar(104.0, 60.0), 0.9)
    paint_part(c, paint_spinner(8, MAGENTA), *polar(104.0, 220.0), 0.9)


def paint_part(c, painter, cx, cy, k):
    """Draws another painter into this cell, moved to (cx, cy) and scaled by k."""
    sub = Cell.__new__(Cell)
    sub.width, sub.height, sub.f = c.width, c.height, c.f * k
    sub.x, sub.y = (c.x - cx) / k, (c.y - cy) / k
    sub.rgb, sub.a = c.rgb, c.a
    painter(sub)
    c.rgb, c.a = sub.rgb, sub.a


def paint_nebula(c):
    rng = np.random.default_rng(20240517)
    for _ in range(28):
        cx, cy = rng.normal(0, 45, 2)
        radius = rng.uniform(18, 55)
        colour = mix(VIOLET, BLUE if rng.random() < 0.5 else MAGENTA, rng.random())
        c.over(colour, 0.22 * np.exp(-((c.x - cx) ** 2 + (c.y - cy) ** 2) / (radius * radius)))
    for _ in range(90):
        sx, sy = rng.uniform(-115, 115, 2)
        size = rng.uniform(1.0, 1.8)
        d = sd_circle(c.x, c.y, size, sx, sy)
        c.glow(d, WHITE, 1.0, 0.5)
        c.fill(d, WHITE)


def paint_starburst(c):
    r = np.hypot(c.x, c.y)
    ang = np.degrees(np.arctan2(c.x, -c.y))
    rays = np.abs(np.sin(np.radians(ang) * 12.0)) ** 12
    fade = np.exp(-r / 70.0) * np.clip(1.0 - r / 125.0, 0, 1)
    c.over(CYAN, rays * fade)
    rays2 = np.abs(np.sin(np.radians(ang + 7.5) * 12.0)) ** 20
    c.over(MAGENTA, 0.8 * rays2 * fade)
    c.over(WHITE, np.exp(-(r / 14.0) ** 2))


def paint_tunnel(c):
    r = np.hypot(c.x, c.y)
    for k in range(11):
        radius = 12.0 + k * 10.5
        colour = hue(k * 33.0)
        d = np.abs(r - radius) - 1.2
        c.glow(d, colour, 2.5, 0.35 * (0.4 + k / 16.0))
        c.fill(d, colour, 0.5 + k / 22.0)


# ---------------------------------------------------------- bank 98: logo --

# Letter strokes in a 20 x 32 box: chamfered, tube-like capitals.
LOGO_LETTERS = {
    "Z": [[(0, 0), (20, 0), (0, 32), (20, 32)]],
    "E": [[(20, 0), (0, 0), (0, 32), (20, 32)], [(0, 16), (14, 16)]],
    "N": [[(0, 32), (0, 0), (20, 32), (20, 0)]],
    "T": [[(0, 0), (20, 0)], [(10, 0), (10, 32)]],
    "R": [[(0, 32), (0, 0), (14, 0), (20, 6), (20, 10), (14, 16), (0, 16)], [(9, 16), (20, 32)]],
    "O": [[(6, 0), (14, 0), (20, 6), (20, 26), (14, 32), (6, 32), (0, 26), (0, 6), (6, 0)]],
    "V": [[(0, 0), (10, 32), (20, 0)]],
}


def paint_logo(c):
    word = "ZENTROVE"
    sx, sy, gap = 1.2, 1.65, 5.0
    letter_w = 20.0 * sx
    total = len(word) * letter_w + (len(word) - 1) * gap
    left, top = -total * 0.5, -36.0
    d = np.full(c.x.shape, np.inf)
    for i, ch in enumerate(word):
        x0 = left + i * (letter_w + gap)
        for stroke in LOGO_LETTERS[ch]:
            pts = [(x0 + px * sx, top + py * sy) for px, py in stroke]
            d = np.minimum(d, sd_polyline(c.x, c.y, pts, 0.0))
    t = np.clip((c.x - left) / total, 0, 1)[..., None]
    colour = np.asarray(CYAN) * (1 - t) + np.asarray(MAGENTA) * t
    tube = d - 3.6
    o = np.maximum(tube, 0.0) / 4.5
    c.over(colour, 0.75 * (0.6 * np.exp(-o) + 0.4 * np.exp(-o * o)) * np.exp(-o * o / 9.0))
    c.over(colour, c.coverage(tube))
    c.over(colour * 0.3 + 0.7, c.coverage(d - 1.5))
    line = sd_segment(c.x, c.y, left + 8.0, 32.0, left + total - 8.0, 32.0)
    c.over(colour, 0.5 * np.exp(-np.maximum(line - 0.8, 0) / 2.0))
    c.over(colour, c.coverage(line - 0.8))
    for px in (left + 4.0, left + total - 4.0):
        c.neon(sd_circle(c.x, c.y, 2.2, px, 32.0), WHITE, glow=2.0, core=0.0)


# ------------------------------------------------- bank 93: common/ObloLogo --

def paint_studio_mark(c):
    """The team mark: a neon cube in an orbit ring with three moons."""
    r = np.hypot(c.x, c.y)
    c.over(VIOLET, 0.25 * np.exp(-(r / 60.0) ** 2))
    orbit = np.abs(r - 76.0)
    c.tube(orbit, 2.6, VIOLET, glow=4.0, strength=0.5)
    hexagon = regular_polygon(6, 54.0)
    outline = sd_polyline(c.x, c.y, hexagon, 0.0, closed=True)
    spokes = np.full(c.x.shape, np.inf)
    for k in (1, 3, 5):
        spokes = np.minimum(spokes, sd_segment(c.x, c.y, 0.0, 0.0, *hexagon[k]))
    faces = sd_polygon(c.x, c.y, [(0, 0), hexagon[5], hexagon[0], hexagon[1]])
    c.fill(faces, CYAN, 0.14)
    c.tube(np.minimum(outline, spokes), 4.5, CYAN, glow=5.0, strength=0.6)
    for k in range(3):
        mx, my = polar(76.0, 60.0 + 120.0 * k)
        c.neon(sd_circle(c.x, c.y, 6.5, mx, my), GOLD, glow=4.0, core=0.5)
    c.neon(sd_circle(c.x, c.y, 8.0), WHITE, glow=6.0, strength=0.8, core=0.0)


# ------------------------------------------------------------- pixel fonts --

# Glyphs as rows of '#'; all rows of a glyph have its width. Rows 0..6 hold the
# capitals (row 6 is the baseline); rows 7 and 8 hold descenders.
GLYPHS = {
    "!": "#|#|#|#|#|.|#",
    '"': "#.#|#.#",
    "#": ".#.#.|.#.#.|#####|.#.#.|#####|.#.#.|.#.#.",
    "$": "..#..|.####|#.#..|.###.|..#.#|####.|..#..",
    "%": "##..#|##..#|...#.|..#..|.#...|#..##|#..##",
    "&": ".##..|#..#.|#.#..|.#...|#.#.#|#..#.|.##.#",
    "'": "#|#",
    "(": "..#|.#.|#..|#..|#..|.#.|..#",
    ")": "#..|.#.|..#|..#|..#|.#.|#..",
    "*": ".....|..#..|#.#.#|.###.|#.#.#|..#..|.....",
    "+": ".....|..#..|..#..|#####|..#..|..#..|.....",
    ",": "..|..|..|..|..|.#|.#|#.",
    "-": "....|....|....|####",
    ".": ".|.|.|.|.|.|#",
    "/": "....#|....#|...#.|..#..|.#...|#....|#....",
    "0": ".###.|#...#|#..##|#.#.#|##..#|#...#|.###.",
    "1": "..#..|.##..|..#..|..#..|..#..|..#..|.###.",
    "2": ".###.|#...#|....#|...#.|..#..|.#...|#####",
    "3": "####.|....#|....#|.###.|....#|....#|####.",
    "4": "...#.|..##.|.#.#.|#..#.|#####|...#.|...#.",
    "5": "#####|#....|####.|....#|....#|#...#|.###.",
    "6": "..##.|.#...|#....|####.|#...#|#...#|.###.",
    "7": "#####|....#|...#.|..#..|.#...|.#...|.#...",
    "8": ".###.|#...#|#...#|.###.|#...#|#...#|.###.",
    "9": ".###.|#...#|#...#|.####|....#|...#.|.##..",
    ":": ".|.|#|.|.|#|.",
    ";": "..|..|.#|..|..|.#|.#|#.",
    "<": "...#|..#.|.#..|#...|.#..|..#.|...#",
    "=": ".....|.....|#####|.....|#####",
    ">": "#...|.#..|..#.|...#|..#.|.#..|#...",
    "?": ".###.|#...#|....#|...#.|..#..|.....|..#..",
    "@": ".###.|#...#|#.###|#.#.#|#.###|#....|.####",
    "A": ".###.|#...#|#...#|#####|#...#|#...#|#...#",
    "B": "####.|#...#|#...#|####.|#...#|#...#|####.",
    "C": ".###.|#...#|#....|#....|#....|#...#|.###.",
    "D": "####.|#...#|#...#|#...#|#...#|#...#|####.",
    "E": "#####|#....|#....|####.|#....|#....|#####",
    "F": "#####|#....|#....|####.|#....|#....|#....",
    "G": ".###.|#...#|#....|#.###|#...#|#...#|.####",
    "H": "#...#|#...#|#...#|#####|#...#|#...#|#...#",
    "I": "###|.#.|.#.|.#.|.#.|.#.|###",
    "J": "..###|...#.|...#.|...#.|#..#.|#..#.|.##..",
    "K": "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#",
    "L": "#....|#....|#....|#....|#....|#....|#####",
    "M": "#....#|##..##|#.##.#|#.##.#|#....#|#....#|#....#",
    "N": "#...#|#...#|##..#|#.#.#|#..##|#...#|#...#",
    "O": ".###.|#...#|#...#|#...#|#...#|#...#|.###.",
    "P": "####.|#...#|#...#|####.|#....|#....|#....",
    "Q": ".###.|#...#|#...#|#...#|#.#.#|#..#.|.##.#",
    "R": "####.|#...#|#...#|####.|#.#..|#..#.|#...#",
    "S": ".####|#....|#....|.###.|....#|....#|####.",
    "T": "#####|..#..|..#..|..#..|..#..|..#..|..#..",
    "U": "#...#|#...#|#...#|#...#|#...#|#...#|.###.",
    "V": "#...#|#...#|#...#|#...#|#...#|.#.#.|..#..",
    "W": "#....#|#....#|#....#|#.##.#|#.##.#|##..##|#....#",
    "X": "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#",
    "Y": "#...#|#...#|.#.#.|..#..|..#..|..#..|..#..",
    "Z": "#####|....#|...#.|..#..|.#...|#....|#####",
    "[": "###|#..|#..|#..|#..|#..|###",
    "\\": "#....|#....|.#...|..#..|...#.|....#|....#",
    "]": "###|..#|..#|..#|..#|..#|###",
    "^": "..#..|.#.#.|#...#",
    "_": ".....|.....|.....|.....|.....|.....|.....|#####",
    "`": "#.|.#",
    "a": ".....|.....|.###.|....#|.####|#...#|.####",
    "b": "#....|#....|####.|#...#|#...#|#...#|####.",
    "c": "....|....|.###|#...|#...|#...|.###",
    "d": "....#|....#|.####|#...#|#...#|#...#|.####",
    "e": ".....|.....|.###.|#...#|#####|#....|.####",
    "f": ".##|#..|###|#..|#..|#..|#..",
    "g": ".....|.....|.####|#...#|#...#|#...#|.####|....#|.###.",
    "h": "#....|#....|####.|#...#|#...#|#...#|#...#",
    "i": "#|.|#|#|#|#|#",
    "j": "...#|....|..##|...#|...#|...#|...#|#..#|.##.",
    "k": "#...|#...|#..#|#.#.|##..|#.#.|#..#",
    "l": "#.|#.|#.|#.|#.|#.|.#",
    "m": ".......|.......|###.##.|#..#..#|#..#..#|#..#..#|#..#..#",
    "n": "....|....|###.|#..#|#..#|#..#|#..#",
    "o": ".....|.....|.###.|#...#|#...#|#...#|.###.",
    "p": ".....|.....|####.|#...#|#...#|#...#|####.|#....|#....",
    "q": ".....|.....|.####|#...#|#...#|#...#|.####|....#|....#",
    "r": "....|....|#.##|##..|#...|#...|#...",
    "s": "....|....|.###|#...|.##.|...#|###.",
    "t": ".#..|.#..|####|.#..|.#..|.#..|..##",
    "u": ".....|.....|#...#|#...#|#...#|#...#|.####",
    "v": ".....|.....|#...#|#...#|#...#|.#.#.|..#..",
    "w": ".......|.......|#.....#|#.....#|#..#..#|#..#..#|.##.##.",
    "x": ".....|.....|#...#|.#.#.|..#..|.#.#.|#...#",
    "y": ".....|.....|#...#|#...#|#...#|#...#|.####|....#|.###.",
    "z": "....|....|####|..#.|.#..|#...|####",
    "{": "..##|.#..|.#..|#...|.#..|.#..|..##",
    "|": "#|#|#|#|#|#|#|#|#",
    "}": "##..|..#.|..#.|...#|..#.|..#.|##..",
    "~": ".....|.....|.##.#|#.##.",
}

# Per-glyph advance corrections of the game's text renderer; a glyph is
# shifted by half its correction so the gaps on both sides come out even.
SPACING = {"w": 2, "m": 2, "W": 1, "M": 1, "i": -3, "f": -3, "l": -3,
           "j": -1, "k": -1, "s": -1, "r": -1, "z": -1, "t": -1, "n": -1}

# Pixel-art values: '#' white, '+' light grey, 'o' mid grey, 'k' near black.
PIXEL_SHADES = {"#": (255, 255), "+": (200, 255), "o": (130, 255), "k": (25, 255)}
SHADOW_ALPHA = 190


def bitmap(text):
    rows = text.split("|")
    width = max(len(r) for r in rows)
    return [r.ljust(width, ".") for r in rows]


def stamp(cell, rows, x0, y0, shadow=True):
    """Draws pixel-art rows into a cell (h x w x 4) with a one-pixel drop shadow."""
    h, w = cell.shape[:2]
    if shadow:
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                x, y = x0 + i + 1, y0 + j + 1
                if ch != "." and 0 <= x < w and 0 <= y < h and cell[y, x, 3] == 0:
                    cell[y, x] = (0, 0, 0, SHADOW_ALPHA)
    for j, row in enumerate(rows):
        for i, ch in enumerate(row):
            x, y = x0 + i, y0 + j
            if ch != "." and 0 <= x < w and 0 <= y < h:
                grey, alpha = PIXEL_SHADES[ch]
                cell[y, x] = (grey, grey, grey, alpha)


def glyph_cell(ch, cell_w=16, cell_h=16, top=4, centre=8.5):
    cell = np.zeros((cell_h, cell_w, 4), dtype=np.uint8)
    if ch in GLYPHS:
        rows = bitmap(GLYPHS[ch])
        k = SPACING.get(ch, 0)
        x0 = math.floor(centre + k * 0.5 - len(rows[0]) * 0.5 + 0.5)
        stamp(cell, rows, x0, top)
    return cell


def paint_rows(rows, cells, shade):
    out = [list(r) for r in rows]
    for x, y in cells:
        out[y][x] = shade
    return ["".join(r) for r in out]


def lowered(rows, shade):
    """The same outline one pixel lower, filled with one shade: a held button."""
    blank = "." * len(rows[0])
    return [blank] + [re_shade(r, shade) for r in rows]


def re_shade(row, shade):
    return "".join("." if ch == "." else shade for ch in row)


# Round pad button: a light disc with four pips in a diamond; the dark cross
# marks which of the four buttons is meant.
FACE = ["..#####..", ".#######.", "#########", "#########", "#########",
        "#########", "#########", ".#######.", "..#####.."]
FACE_PIPS = {"bottom": (4, 6), "right": (6, 4), "left": (2, 4), "top": (4, 2)}


def face_button(pip):
    rows = FACE
    for name, (px, py) in FACE_PIPS.items():
        if name == pip:
            rows = paint_rows(rows, [(px + dx, py + dy) for dx, dy in ((0, 0), (1, 0), (-1, 0), (0, 1), (0, -1))], "k")
        else:
            rows = paint_rows(rows, [(px, py)], "o")
    return rows


# Shoulder bumper: the bright half says which side.
SHOULDER = [".########.", "##########", "##########", "##########", ".########."]


def shoulder(side):
    dim = range(5, 10) if side == "left" else range(0, 5)
    return paint_rows(SHOULDER, [(x, y) for y in range(5) for x in dim if SHOULDER[y][x] != "."], "o")


DPAD = ["...+++...", "...+++...", "...+++...", "+++++++++", "+++++++++",
        "+++++++++", "...+++...", "...+++...", "...+++..."]
DPAD_ARMS = {"up": (4, 1), "down": (4, 7), "left": (1, 4), "right": (7, 4)}


def dpad(arm=None):
    """A d-pad; a lit arm with a dark pip shows the direction, the centre pip rest."""
    if arm is None:
        return paint_rows(DPAD, [(4, 4)], "k")
    px, py = DPAD_ARMS[arm]
    rows = paint_rows(DPAD, [(px + dx, py + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)], "#")
    return paint_rows(rows, [(px, py)], "k")


PILL = [".######.", "########", "########", "########", ".######."]


def pill(mark):
    if mark == "bars":
        return paint_rows(PILL, [(x, y) for x in range(2, 6) for y in (1, 3)], "k")
    return paint_rows(PILL, [(3, 1), (3, 2), (4, 2), (3, 3)], "k")


# Keycap: a light key with a dark letter and a grey lower lip.
KEYCAP = [".#######.", "#########", "#########", "#########", "#########", "#########",
          "#########", "#########", ".#######.", ".ooooooo."]


def keycap(letter):
    rows = bitmap(GLYPHS[letter])
    cells = [(2 + i, 1 + j) for j, row in enumerate(rows) for i, ch in enumerate(row) if ch == "#"]
    return paint_rows(KEYCAP, cells, "k")


ESCAPES = "JKLIUOQEFWSAD"   # frames 96 + index (pad) and 112 + index (keyboard)


def icon_bitmaps():
    """Frame -> pixel rows and spacing correction for the button-icon frames."""
    pad = [face_button("bottom"), face_button("right"), face_button("left"), face_button("top"),
           shoulder("left"), shoulder("right"), pill("bars"), pill("start"),
           dpad(), dpad("up"), dpad("down"), dpad("left"), dpad("right"),
           lowered(FACE, "+"), lowered(SHOULDER, "+")]
    icons = {}
    for i, rows in enumerate(pad):
        icons[96 + i] = (rows, 6 if i in (4, 5, 14) else 4)
    for i, letter in enumerate(ESCAPES):
        icons[112 + i] = (keycap(letter), 6 if letter in "UO" else 4)
    return icons


def icon_cell(rows, k):
    cell = np.zeros((16, 16, 4), dtype=np.uint8)
    w, h = len(rows[0]), len(rows)
    x0 = min(math.floor(8.5 + k * 0.5 - w * 0.5 + 0.5), 15 - w)
    y0 = 8 - h // 2
    stamp(cell, rows, x0, y0)
    return cell


def game_font_frames():
    frames = [glyph_cell(chr(32 + i)) for i in range(96)]
    frames += [np.zeros((16, 16, 4), dtype=np.uint8) for _ in range(32)]
    for frame, (rows, k) in icon_bitmaps().items():
        frames[frame] = icon_cell(rows, k)
    return frames


def default_font_frames():
    """The framework's font: 10-pixel cells whose outer columns are trimmed."""
    return [glyph_cell(chr(32 + i), cell_w=10, centre=5.0) for i in range(96)]


def write_pixel_bank(data_dir, name, frames, columns, resolutions=RESOLUTIONS):
    h, w = frames[0].shape[:2]
    rows = -(-len(frames) // columns)
    base = np.zeros((rows * h, columns * w, 4), dtype=np.uint8)
    for i, cell in enumerate(frames):
        base[(i // columns) * h:(i // columns + 1) * h, (i % columns) * w:(i % columns + 1) * w] = cell
    for f, suffix in resolutions:
        save_png(os.path.join(data_dir, name + suffix + ".png"), base.repeat(f, axis=0).repeat(f, axis=1))


# ------------------------------------------------------------------- banks --

# name, cell width, cell height, columns, painters (one per frame)
def picture_banks():
    return [
        ("gfx", 36, 36, 7, gfx_painters()),
        ("BadgesA", 64, 64, 8, [paint_achievement(i) for i in range(64)]),
        ("common/circle", 256, 256, 2, [paint_soft_disc, paint_cog_plate, paint_neon_ring, paint_wheel_disc]),
        ("common/light", 32, 32, 2, [paint_light(k) for k in range(4)]),
        ("common/ObloLogo", 256, 256, 1, [paint_studio_mark]),
        ("common/dpad", 32, 32, 4, dpad_painters()),
        ("common/Buttons", 64, 64, 4, buttons_painters()),
        ("parts", 8, 8, 16, [paint_particle(i) for i in range(256)]),
        ("common/icons", 32, 32, 4, icons_painters()),
        ("logo", 256, 128, 1, [paint_logo]),
        ("menu", 256, 256, 2, [paint_arena_art, paint_nebula, paint_starburst, paint_tunnel]),
    ]


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    data_dir = argv[1] if len(argv) > 1 else os.path.join(here, "..", "data")
    for name, cell_w, cell_h, columns, painters in picture_banks():
        write_bank(data_dir, name, cell_w, cell_h, columns, painters)
    write_pixel_bank(data_dir, "fonts/shadow_editundo", game_font_frames(), 16)
    write_pixel_bank(data_dir, "vondo_font", default_font_frames(), 96, resolutions=((1, ""),))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
