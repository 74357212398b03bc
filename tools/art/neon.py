"""Drawing toolkit for the game's neon look.

A sprite is built from shapes drawn at SS times its size (for smooth edges),
reduced to the sprite's size and composited as premultiplied RGBA in floats.
Shapes that glow also go into a glow source that is blurred at two radii and
laid under the finished picture: bright, slightly white-hot lines with a
coloured halo, which is what reads as "neon" on a dark screen.
"""

import math
import os

import numpy as np
from PIL import Image, ImageDraw, ImageFont

SS = 4
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# The palette every kind draws from, as 0..1 RGB.
CYAN = (0.15, 0.92, 1.0)
MAGENTA = (1.0, 0.22, 0.82)
PURPLE = (0.62, 0.32, 1.0)
VIOLET = (0.45, 0.25, 1.0)
YELLOW = (1.0, 0.88, 0.22)
GOLD = (1.0, 0.72, 0.18)
ORANGE = (1.0, 0.52, 0.12)
GREEN = (0.25, 1.0, 0.45)
LIME = (0.65, 1.0, 0.2)
RED = (1.0, 0.2, 0.3)
PINK = (1.0, 0.45, 0.65)
BLUE = (0.25, 0.5, 1.0)
SKY = (0.45, 0.75, 1.0)
WHITE = (1.0, 1.0, 1.0)
GREY = (0.62, 0.66, 0.74)
SILVER = (0.78, 0.82, 0.9)
BRONZE = (1.0, 0.6, 0.3)
PANEL = (0.025, 0.03, 0.075)
INK = (0.01, 0.012, 0.03)

NAMED = {
    "cyan": CYAN, "magenta": MAGENTA, "purple": PURPLE, "violet": VIOLET,
    "yellow": YELLOW, "gold": GOLD, "orange": ORANGE, "green": GREEN,
    "lime": LIME, "red": RED, "pink": PINK, "blue": BLUE, "sky": SKY,
    "white": WHITE, "grey": GREY, "silver": SILVER, "bronze": BRONZE,
}

_fonts = {}


def font(size, face="DejaVuSans-Bold"):
    key = (face, int(size))
    f = _fonts.get(key)
    if f is None:
        path = os.path.join(FONT_DIR, face + ".ttf")
        try:
            f = ImageFont.truetype(path, max(1, int(size)))
        except OSError:
            raise OSError("font %s is missing (fonts-dejavu-core, fonts-dejavu-extra)" % path)
        _fonts[key] = f
    return f


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def scale(c, k):
    return tuple(min(1.0, x * k) for x in c)


def hsv(h, s, v):
    h = (h % 1.0) * 6.0
    i = int(h)
    f = h - i
    p, q, t = v * (1 - s), v * (1 - s * f), v * (1 - s * (1 - f))
    return [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)][i % 6]


def luminance(c):
    return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]


def blur(a, sigma):
    """Gaussian-like blur of an HxWxC float array (three box passes, zero edges)."""
    if sigma <= 0.0:
        return a
    r = max(1, int(round(math.sqrt(12.0 * sigma * sigma / 3.0 + 1.0) / 2.0)))
    out = a.astype(np.float64)
    for _ in range(3):
        for axis in (0, 1):
            out = _box(out, r, axis)
    return out.astype(np.float32)


def _box(a, r, axis):
    n = a.shape[axis]
    pad = [(0, 0)] * a.ndim
    pad[axis] = (r + 1, r)
    c = np.cumsum(np.pad(a, pad), axis=axis)
    hi = np.take(c, np.arange(2 * r + 1, 2 * r + 1 + n), axis=axis)
    lo = np.take(c, np.arange(0, n), axis=axis)
    return (hi - lo) / (2 * r + 1)


def _edge_window(h, w, r):
    """1 inside, easing to 0 at the borders, so a halo never ends in a hard edge."""
    def ramp(n):
        m = max(1.0, min(1.5 * r, n * 0.12))
        t = np.clip((np.minimum(np.arange(n), np.arange(n)[::-1]) + 0.5) / m, 0.0, 1.0)
        return (t * t * (3.0 - 2.0 * t)).astype(np.float32)
    return ramp(h)[:, None] * ramp(w)[None, :]


class Pen:
    """ImageDraw on a supersampled mask, in sprite pixel coordinates."""

    def __init__(self, draw, ox=0.0, oy=0.0, k=1.0):
        self.d = draw
        self.ox, self.oy, self.k = ox, oy, k

    def sub(self, x, y, k):
        """A pen whose unit square maps to (x, y) .. (x + k, y + k)."""
        return Pen(self.d, self.ox + x * self.k, self.oy + y * self.k, self.k * k)

    def P(self, x, y):
        return ((self.ox + x * self.k) * SS, (self.oy + y * self.k) * SS)

    def W(self, w):
        return max(1, int(round(w * self.k * SS)))

    def poly(self, pts, width=None):
        q = [self.P(x, y) for x, y in pts]
        if width is None:
            self.d.polygon(q, fill=255)
        else:
            self.d.line(q + [q[0]], fill=255, width=self.W(width), joint="curve")
            for p in q:
                self.dot(p, width)

    def dot(self, p, width):
        r = width * self.k * SS / 2.0
        self.d.ellipse((p[0] - r, p[1] - r, p[0] + r, p[1] + r), fill=255)

    def line(self, pts, width):
        q = [self.P(x, y) for x, y in pts]
        self.d.line(q, fill=255, width=self.W(width), joint="curve")
        self.dot(q[0], width)
        self.dot(q[-1], width)

    def circle(self, cx, cy, r, width=None):
        a = self.P(cx - r, cy - r)
        b = self.P(cx + r, cy + r)
        if width is None:
            self.d.ellipse((a[0], a[1], b[0], b[1]), fill=255)
        else:
            self.d.ellipse((a[0], a[1], b[0], b[1]), outline=255, width=self.W(width))

    def ellipse(self, cx, cy, rx, ry, width=None):
        a = self.P(cx - rx, cy - ry)
        b = self.P(cx + rx, cy + ry)
        if width is None:
            self.d.ellipse((a[0], a[1], b[0], b[1]), fill=255)
        else:
            self.d.ellipse((a[0], a[1], b[0], b[1]), outline=255, width=self.W(width))

    def arc(self, cx, cy, r, a0, a1, width):
        """Arc in degrees, 0 = right, clockwise (screen y down), round caps."""
        a = self.P(cx - r, cy - r)
        b = self.P(cx + r, cy + r)
        self.d.arc((a[0], a[1], b[0], b[1]), a0, a1, fill=255, width=self.W(width))
        for ang in (a0, a1):
            t = math.radians(ang)
            rr = r - width / 2.0
            self.dot(self.P(cx + math.cos(t) * rr, cy + math.sin(t) * rr), width)

    def rect(self, x0, y0, x1, y1, radius=0.0, width=None):
        a = self.P(x0, y0)
        b = self.P(x1, y1)
        rad = radius * self.k * SS
        if width is None:
            self.d.rounded_rectangle((a[0], a[1], b[0], b[1]), radius=rad, fill=255)
        else:
            self.d.rounded_rectangle((a[0], a[1], b[0], b[1]), radius=rad, outline=255,
                                     width=self.W(width))

    def text(self, cx, cy, s, size, face="DejaVuSans-Bold", maxw=None, anchor="mm",
             stroke=0.0):
        size = size * self.k
        f = font(size * SS, face)
        if maxw is not None:
            while size > 4:
                f = font(size * SS, face)
                l, t, r, b = self.d.textbbox((0, 0), s, font=f, anchor=anchor)
                if r - l <= maxw * self.k * SS:
                    break
                size *= 0.92
        self.d.text(self.P(cx, cy), s, font=f, fill=255, anchor=anchor,
                    stroke_width=int(round(stroke * self.k * SS)), stroke_fill=255)


class Sprite:
    """One picture being composed: core layers and a glow source."""

    def __init__(self, w, h, glow=1.0, radii=None):
        self.w, self.h = int(w), int(h)
        self.rgb = np.zeros((self.h, self.w, 3), np.float32)  # premultiplied
        self.a = np.zeros((self.h, self.w), np.float32)
        self.gsrc = np.zeros((self.h, self.w, 4), np.float32)
        self.glow = glow
        m = min(self.w, self.h)
        self.radii = radii if radii is not None else (max(1.0, m * 0.025), max(2.0, m * 0.08))

    # -- masks -------------------------------------------------------------
    def mask(self, fn):
        """Coverage 0..1 (HxW) of whatever fn draws with a Pen."""
        im = Image.new("L", (self.w * SS, self.h * SS), 0)
        fn(Pen(ImageDraw.Draw(im)))
        small = im.resize((self.w, self.h), Image.BOX)
        return np.asarray(small, np.float32) / 255.0

    # -- layers ------------------------------------------------------------
    def paint(self, colour, cover, alpha=1.0, glow=0.0, hot=0.0):
        """Lay colour over the picture where cover says; glow adds it to the halo."""
        if callable(cover):
            cover = self.mask(cover)
        m = np.clip(cover * alpha, 0.0, 1.0)
        c = np.array(mix(colour, WHITE, hot), np.float32)
        inv = 1.0 - m
        self.rgb = self.rgb * inv[..., None] + c[None, None, :] * m[..., None]
        self.a = self.a * inv + m
        if glow > 0.0:
            g = np.array(colour, np.float32)
            self.gsrc[..., :3] += g[None, None, :] * (m * glow)[..., None]
            self.gsrc[..., 3] += m * glow
        return m

    def neon(self, colour, fn, hot=0.3, glow=1.0, alpha=1.0):
        """A glowing, white-hot shape."""
        m = self.mask(fn)
        return self.paint(colour, m, alpha=alpha, glow=glow, hot=hot)

    def fill(self, colour, fn, alpha=1.0, glow=0.0, hot=0.0):
        return self.paint(colour, self.mask(fn), alpha=alpha, glow=glow, hot=hot)

    def gradient(self, fn, top, bottom, alpha=1.0, horizontal=False):
        """Fill with a vertical (or horizontal) two-colour gradient."""
        m = self.mask(fn) if callable(fn) else fn
        if horizontal:
            t = np.linspace(0.0, 1.0, self.w, dtype=np.float32)[None, :].repeat(self.h, 0)
        else:
            t = np.linspace(0.0, 1.0, self.h, dtype=np.float32)[:, None].repeat(self.w, 1)
        a = np.array(top, np.float32)
        b = np.array(bottom, np.float32)
        col = a[None, None, :] + (b - a)[None, None, :] * t[..., None]
        mm = np.clip(m * alpha, 0.0, 1.0)
        inv = 1.0 - mm
        self.rgb = self.rgb * inv[..., None] + col * mm[..., None]
        self.a = self.a * inv + mm

    def field(self, rgb, alpha):
        """Lay a per-pixel colour field (HxWx3) with per-pixel alpha over the picture."""
        mm = np.clip(alpha, 0.0, 1.0)
        inv = 1.0 - mm
        self.rgb = self.rgb * inv[..., None] + rgb * mm[..., None]
        self.a = self.a * inv + mm

    def add_glow(self, colour, cover, amount):
        g = np.array(colour, np.float32)
        self.gsrc[..., :3] += g[None, None, :] * (cover * amount)[..., None]
        self.gsrc[..., 3] += cover * amount

    # -- output --------------------------------------------------------------
    def image(self):
        rgb, a = self.rgb, self.a
        if self.glow > 0.0 and self.gsrc[..., 3].max() > 0.0:
            r1, r2 = self.radii
            g = blur(self.gsrc, r1) * 0.9 + blur(self.gsrc, r2) * 0.75
            g *= self.glow
            ga = np.clip(g[..., 3], 0.0, 1.0)
            # Halo colour at its own strength, kept below full opacity so it stays a glow.
            gcol = g[..., :3] / np.maximum(g[..., 3:4], 1e-6)
            gcol = np.clip(gcol, 0.0, 1.0)
            ga = 1.0 - np.exp(-ga * 1.6)
            ga *= 0.85 * _edge_window(self.h, self.w, r2)
            inv = 1.0 - a
            rgb = rgb + gcol * (ga * inv)[..., None]
            a = a + ga * inv
        a = np.clip(a, 0.0, 1.0)
        straight = rgb / np.maximum(a[..., None], 1e-6)
        straight = np.clip(straight, 0.0, 1.0)
        out = np.dstack([straight, a[..., None]])
        out = np.round(out * 255.0).astype(np.uint8)
        out[a <= 0.0] = 0
        return Image.fromarray(out, "RGBA")


# -- common pieces ---------------------------------------------------------

def panel(sp, x0, y0, x1, y1, radius, edge, fill_alpha=0.82, edge_w=2.0, glow=0.7,
          fill=PANEL, sheen=True):
    """A dark translucent panel with a neon edge."""
    sp.fill(fill, lambda p: p.rect(x0, y0, x1, y1, radius), alpha=fill_alpha)
    if sheen:
        h = y1 - y0
        sp.gradient(lambda p: p.rect(x0 + edge_w, y0 + edge_w, x1 - edge_w, y0 + h * 0.45,
                                     max(0.0, radius - edge_w)),
                    scale(edge, 0.35), scale(edge, 0.05), alpha=0.18)
    sp.neon(edge, lambda p: p.rect(x0, y0, x1, y1, radius, width=edge_w), glow=glow, hot=0.25)


def star_points(cx, cy, r_out, r_in, n=5, rot=-90.0):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        t = math.radians(rot + i * 180.0 / n)
        pts.append((cx + math.cos(t) * r, cy + math.sin(t) * r))
    return pts


def regular(cx, cy, r, n, rot=-90.0):
    return [(cx + math.cos(math.radians(rot + i * 360.0 / n)) * r,
             cy + math.sin(math.radians(rot + i * 360.0 / n)) * r) for i in range(n)]


class Rng:
    """Small deterministic generator (same steps on every machine and Python)."""

    def __init__(self, seed):
        self.x = (seed * 2654435761 + 0x9E3779B9) & 0xFFFFFFFF
        for _ in range(3):
            self.next()

    def next(self):
        self.x = (self.x * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.x

    def uniform(self, a=0.0, b=1.0):
        return a + (b - a) * (self.next() >> 8) / float(1 << 24)

    def choice(self, seq):
        return seq[(self.next() >> 16) % len(seq)]


def seed_of(text):
    h = 2166136261
    for ch in text.encode("utf-8"):
        h = ((h ^ ch) * 16777619) & 0xFFFFFFFF
    return h
