"""Stylised country flags: colour bands and the country's letters in a neon frame.

The language flags and the countries most players come from keep their real
colours and layout in simple form; every other code gets bands and colours
chosen from its letters, so each code always looks the same.
"""

import math

import numpy as np

from symbols import globe
from neon import CYAN, INK, WHITE, Rng, Sprite, mix, regular, seed_of, star_points

R = (0.86, 0.1, 0.18)
W = (0.96, 0.96, 0.96)
B = (0.05, 0.3, 0.75)
N = (0.02, 0.14, 0.42)
G = (0.0, 0.56, 0.3)
Y = (1.0, 0.8, 0.0)
K = (0.08, 0.08, 0.1)
S = (0.45, 0.7, 0.93)
O = (1.0, 0.5, 0.1)
M = (0.55, 0.1, 0.16)

# code: (pattern, colours, extra)
KNOWN = {
    "gb": ("union", (N, W, R)), "de": ("h", (K, R, Y)), "fr": ("v", (B, W, R)),
    "es": ("h121", (R, Y, R)), "it": ("v", (G, W, R)), "ru": ("h", (W, B, R)),
    "cn": ("canton_star", (R, Y)), "hk": ("disc", (R, W)), "cz": ("tri", (W, R, B)),
    "pl": ("h", (W, R)), "pt": ("v25", (G, R)), "se": ("nordic", (B, Y)),
    "jp": ("disc", (W, R)), "nl": ("h", (R, W, B)), "hu": ("h", (R, W, G)),
    "dk": ("nordic", (R, W)), "us": ("stripes", (R, W, N)), "ca": ("v121", (R, W, R)),
    "mx": ("v", (G, W, R)), "br": ("diamond", (G, Y, N)), "ar": ("h", (S, W, S)),
    "au": ("ensign", (N, W, R)), "nz": ("ensign", (N, W, R)), "ie": ("v", (G, W, O)),
    "be": ("v", (K, Y, R)), "at": ("h", (R, W, R)), "ch": ("cross", (R, W)),
    "no": ("nordic", (R, W, N)), "fi": ("nordic", (W, B)), "is": ("nordic", (B, W, R)),
    "ee": ("h", (B, K, W)), "lt": ("h", (Y, G, R)), "lv": ("h121", (M, W, M)),
    "ua": ("h", (B, Y)), "id": ("h", (R, W)), "mc": ("h", (R, W)), "sg": ("h", (R, W)),
    "bg": ("h", (W, G, R)), "ro": ("v", (B, Y, R)), "sk": ("h", (W, B, R)),
    "si": ("h", (W, B, R)), "hr": ("h", (R, W, B)), "rs": ("h", (R, B, W)),
    "gr": ("stripes", (B, W, B)), "kr": ("disc", (W, R)), "in": ("h_dot", (O, W, G, N)),
    "tr": ("crescent", (R, W)), "vn": ("star", (R, Y)), "th": ("h_thai", (R, W, N)),
    "co": ("h211", (Y, B, R)), "pe": ("v", (R, W, R)), "ve": ("h", (Y, B, R)),
    "ng": ("v", (G, W, G)), "eg": ("h", (R, W, K)), "tw": ("canton_disc", (R, N, W)),
    "cl": ("chile", (W, R, B)), "ph": ("tri", (B, R, W)), "my": ("stripes", (R, W, N)),
    "il": ("h_israel", (W, B)), "za": ("tri", (R, B, G)), "lu": ("h", (R, W, S)),
    "by": ("h21", (R, G)), "kz": ("disc", (S, Y)), "sa": ("solid", (G, W)),
    "eu": ("ring", (B, Y)),
}

FIELD = [R, W, B, N, G, Y, K, S, O, M]
PATTERNS = ["h", "v", "h", "v", "h21", "nordic", "disc", "tri", "cross", "diag", "canton_star",
            "v25", "h121", "v121"]


def _pick(code):
    rng = Rng(seed_of("flag:" + code))
    pattern = rng.choice(PATTERNS)
    cols = []
    while len(cols) < 3:
        c = rng.choice(FIELD)
        if c not in cols and (not cols or abs(sum(c) - sum(cols[-1])) > 0.4):
            cols.append(c)
    return pattern, tuple(cols)


def _bands(sp, x0, y0, x1, y1, cols, weights, vertical):
    total = float(sum(weights))
    pos = 0.0
    for c, wgt in zip(cols, weights):
        a = pos / total
        b = (pos + wgt) / total
        pos += wgt
        if vertical:
            sp.fill(c, lambda p, a=a, b=b: p.rect(x0 + (x1 - x0) * a, y0, x0 + (x1 - x0) * b + 0.5, y1))
        else:
            sp.fill(c, lambda p, a=a, b=b: p.rect(x0, y0 + (y1 - y0) * a, x1, y0 + (y1 - y0) * b + 0.5))


def _union(sp, x0, y0, x1, y1, cols):
    n, w_, r = cols[:3]
    sp.fill(n, lambda p: p.rect(x0, y0, x1, y1))
    h = y1 - y0
    sp.fill(w_, lambda p: (p.line([(x0, y0), (x1, y1)], h * 0.2), p.line([(x1, y0), (x0, y1)], h * 0.2)))
    sp.fill(r, lambda p: (p.line([(x0, y0), (x1, y1)], h * 0.07), p.line([(x1, y0), (x0, y1)], h * 0.07)))
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    sp.fill(w_, lambda p: (p.rect(cx - h * 0.17, y0, cx + h * 0.17, y1), p.rect(x0, cy - h * 0.17, x1, cy + h * 0.17)))
    sp.fill(r, lambda p: (p.rect(cx - h * 0.1, y0, cx + h * 0.1, y1), p.rect(x0, cy - h * 0.1, x1, cy + h * 0.1)))


def draw_pattern(sp, x0, y0, x1, y1, pattern, cols):
    w, h = x1 - x0, y1 - y0
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    if pattern == "solid":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        sp.fill(cols[1], lambda p: p.rect(x0 + w * 0.2, cy + h * 0.12, x1 - w * 0.2, cy + h * 0.18))
    elif pattern == "h":
        _bands(sp, x0, y0, x1, y1, cols, [1] * len(cols), False)
    elif pattern == "v":
        _bands(sp, x0, y0, x1, y1, cols, [1] * len(cols), True)
    elif pattern == "h121":
        _bands(sp, x0, y0, x1, y1, cols[:3], [1, 2, 1], False)
    elif pattern == "v121":
        _bands(sp, x0, y0, x1, y1, cols[:3], [1, 2, 1], True)
        sp.fill(cols[0], lambda p: p.poly(star_points(cx, cy, h * 0.26, h * 0.11, n=5)))
    elif pattern == "h211":
        _bands(sp, x0, y0, x1, y1, cols[:3], [2, 1, 1], False)
    elif pattern == "h21":
        _bands(sp, x0, y0, x1, y1, cols[:2], [2, 1], False)
    elif pattern == "v25":
        _bands(sp, x0, y0, x1, y1, cols[:2], [2, 3], True)
        sp.fill(Y, lambda p: p.circle(x0 + w * 0.4, cy, h * 0.2, width=h * 0.06))
    elif pattern == "nordic":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        t = h * 0.2
        vx = x0 + w * 0.36
        sp.fill(cols[1], lambda p: (p.rect(vx - t, y0, vx + t, y1), p.rect(x0, cy - t, x1, cy + t)))
        if len(cols) > 2:
            t2 = t * 0.5
            sp.fill(cols[2], lambda p: (p.rect(vx - t2, y0, vx + t2, y1), p.rect(x0, cy - t2, x1, cy + t2)))
    elif pattern == "cross":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        t = h * 0.11
        L = h * 0.32
        sp.fill(cols[1], lambda p: (p.rect(cx - t, cy - L, cx + t, cy + L), p.rect(cx - L, cy - t, cx + L, cy + t)))
    elif pattern == "disc":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        sp.fill(cols[1], lambda p: p.circle(cx, cy, h * 0.3))
    elif pattern == "star":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        sp.fill(cols[1], lambda p: p.poly(star_points(cx, cy, h * 0.34, h * 0.14)))
    elif pattern == "canton_star":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        sp.fill(cols[1], lambda p: p.poly(star_points(x0 + w * 0.17, y0 + h * 0.28, h * 0.18, h * 0.075)))
        for i, (ax, ay) in enumerate(((0.33, 0.1), (0.4, 0.22), (0.4, 0.38), (0.33, 0.5))):
            sp.fill(cols[1], lambda p, ax=ax, ay=ay: p.poly(star_points(x0 + w * ax, y0 + h * ay, h * 0.06, h * 0.025)))
    elif pattern == "canton_disc":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        sp.fill(cols[1], lambda p: p.rect(x0, y0, x0 + w * 0.5, y0 + h * 0.5))
        sp.fill(cols[2], lambda p: p.poly(star_points(x0 + w * 0.25, y0 + h * 0.25, h * 0.18, h * 0.1, n=12)))
    elif pattern == "tri":
        _bands(sp, x0, y0, x1, y1, cols[:2], [1, 1], False)
        sp.fill(cols[2], lambda p: p.poly([(x0, y0), (x0 + w * 0.45, cy), (x0, y1)]))
    elif pattern == "diag":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        sp.fill(cols[1], lambda p: p.poly([(x1, y0), (x1, y1), (x0, y1)]))
        sp.fill(cols[2], lambda p: p.line([(x0, y1), (x1, y0)], h * 0.18))
    elif pattern == "diamond":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        sp.fill(cols[1], lambda p: p.poly([(cx, y0 + h * 0.1), (x1 - w * 0.08, cy), (cx, y1 - h * 0.1),
                                           (x0 + w * 0.08, cy)]))
        sp.fill(cols[2], lambda p: p.circle(cx, cy, h * 0.22))
    elif pattern == "stripes":
        n = 7 if cols[0] != cols[2] else 9
        for i in range(n):
            c = cols[0] if i % 2 == 0 else cols[1]
            sp.fill(c, lambda p, i=i, c=c: p.rect(x0, y0 + h * i / n, x1, y0 + h * (i + 1) / n + 0.5))
        cw, ch = w * 0.42, h * (4.0 / n if n == 7 else 5.0 / n)
        sp.fill(cols[2], lambda p: p.rect(x0, y0, x0 + cw, y0 + ch))
        if cols[0] == cols[2]:
            t = ch * 0.1
            sp.fill(W, lambda p: (p.rect(x0 + cw / 2 - t, y0, x0 + cw / 2 + t, y0 + ch),
                                  p.rect(x0, y0 + ch / 2 - t, x0 + cw, y0 + ch / 2 + t)))
        else:
            for i in range(3):
                for j in range(2):
                    sx, sy = x0 + cw * (0.2 + 0.3 * i), y0 + ch * (0.3 + 0.4 * j)
                    sp.fill(W, lambda p, sx=sx, sy=sy: p.poly(star_points(sx, sy, ch * 0.12, ch * 0.05)))
    elif pattern == "ensign":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        _union(sp, x0, y0, x0 + w * 0.5, y0 + h * 0.5, cols)
        for (ax, ay) in ((0.75, 0.3), (0.66, 0.55), (0.84, 0.5), (0.75, 0.8)):
            sp.fill(W, lambda p, ax=ax, ay=ay: p.poly(star_points(x0 + w * ax, y0 + h * ay, h * 0.08, h * 0.035, n=7)))
        sp.fill(W, lambda p: p.poly(star_points(x0 + w * 0.25, y0 + h * 0.75, h * 0.12, h * 0.05, n=7)))
    elif pattern == "ring":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        for i in range(12):
            t = 2 * math.pi * i / 12
            sx, sy = cx + math.cos(t) * h * 0.3, cy + math.sin(t) * h * 0.3
            sp.fill(cols[1], lambda p, sx=sx, sy=sy: p.poly(star_points(sx, sy, h * 0.06, h * 0.025)))
    elif pattern == "union":
        _union(sp, x0, y0, x1, y1, cols)
    elif pattern == "h_dot":
        _bands(sp, x0, y0, x1, y1, cols[:3], [1, 1, 1], False)
        sp.fill(cols[3], lambda p: p.circle(cx, cy, h * 0.13, width=h * 0.04))
    elif pattern == "h_thai":
        _bands(sp, x0, y0, x1, y1, (cols[0], cols[1], cols[2], cols[1], cols[0]), [1, 1, 2, 1, 1], False)
    elif pattern == "h_israel":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        sp.fill(cols[1], lambda p: (p.rect(x0, y0 + h * 0.1, x1, y0 + h * 0.22), p.rect(x0, y1 - h * 0.22, x1, y1 - h * 0.1)))
        sp.fill(cols[1], lambda p: (p.poly(regular(cx, cy + h * 0.02, h * 0.2, 3), width=h * 0.04),
                                    p.poly(regular(cx, cy - h * 0.02, h * 0.2, 3, rot=90), width=h * 0.04)))
    elif pattern == "crescent":
        sp.fill(cols[0], lambda p: p.rect(x0, y0, x1, y1))
        sp.fill(cols[1], lambda p: p.circle(x0 + w * 0.38, cy, h * 0.25))
        sp.fill(cols[0], lambda p: p.circle(x0 + w * 0.43, cy, h * 0.2))
        sp.fill(cols[1], lambda p: p.poly(star_points(x0 + w * 0.6, cy, h * 0.12, h * 0.05)))
    elif pattern == "chile":
        _bands(sp, x0, y0, x1, y1, cols[:2], [1, 1], False)
        sp.fill(cols[2], lambda p: p.rect(x0, y0, x0 + w / 3, cy + 0.5))
        sp.fill(W, lambda p: p.poly(star_points(x0 + w / 6, y0 + h / 4, h * 0.13, h * 0.05)))
    else:
        raise ValueError("unknown flag pattern " + pattern)


def draw(w, h, code):
    code = code.lower()
    sp = Sprite(w, h, glow=0.6, radii=(1.5, 4.0))
    m = 3.0
    x0, y0, x1, y1 = m, m, w - m, h - m
    rad = h * 0.1
    if code == "unknown":
        sp.fill((0.08, 0.1, 0.18), lambda p: p.rect(x0, y0, x1, y1))
        sp.gradient(lambda p: p.rect(x0, y0, x1, y1), (0.16, 0.18, 0.3), (0.05, 0.06, 0.12))
        globe(sp, CYAN, (x0 + x1) / 2 - h * 0.36, (y0 + y1) / 2 - h * 0.4, h * 0.72)
        frame = mix(WHITE, CYAN, 0.5)
        label = "?"
    else:
        pattern, cols = KNOWN.get(code, None) or _pick(code)
        draw_pattern(sp, x0, y0, x1, y1, pattern, cols)
        frame = mix(WHITE, CYAN, 0.35)
        label = code.upper()
    # Clip to the rounded shape, then light it like glass.
    clip = sp.mask(lambda p: p.rect(x0, y0, x1, y1, rad))
    sp.rgb *= clip[..., None]
    sp.a *= clip
    yy = (np.arange(h, dtype=np.float32)[:, None] - y0) / (y1 - y0)
    shade = np.clip(0.18 - yy * 0.5, -0.18, 0.18)
    sp.rgb = np.where(shade[..., None] > 0,
                      sp.rgb + (sp.a[..., None] - sp.rgb) * shade[..., None],
                      sp.rgb * (1.0 + shade[..., None]))
    sp.rgb = np.clip(sp.rgb * 0.92, 0.0, 1.0)
    # The letters on a dark tab in the lower right corner.
    tw, th = h * (0.56 if len(label) > 1 else 0.34), h * 0.36
    tx1, ty1 = x1 - 1.0, y1 - 1.0
    sp.fill(INK, lambda p: p.rect(tx1 - tw, ty1 - th, tx1, ty1, th * 0.3), alpha=0.72)
    sp.neon(WHITE, lambda p: p.text(tx1 - tw / 2, ty1 - th / 2, label, th * 0.72, maxw=tw * 0.86),
            glow=0.0, hot=0.0)
    sp.neon(frame, lambda p: p.rect(x0, y0, x1, y1, rad, width=1.6), glow=0.8, hot=0.3)
    return sp
