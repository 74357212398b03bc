"""Ship hulls, enemies, boss parts and asteroids, seen from above, nose up."""

import math

import numpy as np

from neon import (BLUE, CYAN, GOLD, GREEN, INK, LIME, MAGENTA, ORANGE, PANEL, PINK, PURPLE,
                  RED, SKY, WHITE, YELLOW, Rng, Sprite, mix, regular, scale, seed_of,
                  star_points)

# maker: (colour, width, span, sweep, nose, notches, engines)
STYLES = {
    "standard": (CYAN, 0.16, 0.42, 0.22, 0.12, 0, 2),
    "brute": (ORANGE, 0.26, 0.46, 0.06, 0.22, 2, 3),
    "mosquito": (LIME, 0.09, 0.46, 0.34, 0.05, 0, 2),
    "crazythief": (MAGENTA, 0.13, 0.4, -0.08, 0.1, 1, 2),
    "scorched": ((1.0, 0.4, 0.1), 0.2, 0.4, 0.14, 0.16, 3, 2),
    "general": (SKY, 0.18, 0.38, 0.12, 0.14, 0, 2),
    "blazer": (CYAN, 0.12, 0.47, 0.42, 0.06, 0, 1),
    "warbringer": (RED, 0.17, 0.44, 0.26, 0.1, 4, 2),
    "workshop": (GREEN, 0.15, 0.4, 0.18, 0.12, 1, 2),
    "Ves5": (PURPLE, 0.14, 0.48, 0.3, 0.08, 2, 2),
    "Vor5": (GOLD, 0.2, 0.44, 0.1, 0.15, 2, 3),
    "Vuz2": (PINK, 0.11, 0.45, 0.36, 0.07, 0, 2),
}


def outline(maker, variant):
    """The right half of a hull (x from centre 0..0.5, y 0..1), nose first.

    Variant 1 is the maker's plain shape, 2 adds canards and sets the wings
    back, 3 sets the wings forward and adds tail fins.
    """
    colour, bw, span, sweep, nose, notches, _ = STYLES[maker]
    v = int(variant)
    rng = Rng(seed_of("%s/%s" % (maker, variant)))
    j = lambda a: a * rng.uniform(0.85, 1.15)
    bw, span, sweep = j(bw), min(0.48, j(span)), sweep * rng.uniform(0.8, 1.2)
    top, bottom = 0.06, 0.94
    wy = rng.uniform(0.42, 0.52) + {1: 0.0, 2: 0.08, 3: -0.1}.get(v, 0.0)
    chord = rng.uniform(0.16, 0.26)
    if v == 3:
        span *= 0.85
    pts = [(0.0, top), (bw * 0.35, top + nose)]
    cy = top + nose + 0.1
    if v == 2:
        pts += [(bw * 0.7, cy - 0.02), (bw + 0.13, cy + 0.08), (bw + 0.1, cy + 0.13), (bw * 0.8, cy + 0.1)]
    else:
        pts.append((bw * 0.8, cy + 0.04))
    pts.append((bw, wy - 0.06))
    tipy = wy + sweep
    pts.append((span, min(0.9, tipy)))
    pts.append((span * rng.uniform(0.88, 0.98), min(0.93, tipy + chord * 0.45)))
    for k in range(notches):
        t = (k + 1) / (notches + 1.0)
        x = span + (bw - span) * t
        y = min(0.93, tipy + chord * 0.45) + (wy + chord - tipy - chord * 0.45) * t
        pts.append((x + 0.03, y - 0.04))
        pts.append((x, y))
    pts.append((bw * 1.05, min(0.92, wy + chord)))
    if v == 3:
        fin = min(0.46, bw + 0.16)
        pts += [(bw * 0.95, bottom - 0.16), (fin, bottom - 0.03), (fin - 0.04, bottom), (bw * 0.8, bottom - 0.03)]
    else:
        pts.append((bw * 0.9, bottom - 0.04))
    pts.append((bw * 0.55, bottom))
    pts.append((0.0, bottom - 0.05))
    return pts


def _full(pts, w, h, sx, sy, ox, oy):
    right = [(ox + (0.5 + x) * sx, oy + y * sy) for x, y in pts]
    left = [(ox + (0.5 - x) * sx, oy + y * sy) for x, y in reversed(pts[1:-1])]
    return right + left


def hull(w, h, args):
    maker = args.get("maker", "standard")
    variant = args.get("variant", "1")
    colour = STYLES[maker][0]
    engines = STYLES[maker][6]
    sp = Sprite(w, h, radii=(min(w, h) * 0.015, min(w, h) * 0.05))
    half = outline(maker, variant)
    s = min(w, h)
    m = s * 0.04
    full = _full(half, w, h, s - 2 * m, s - 2 * m, (w - s) / 2 + m, (h - s) / 2 + m)
    inner = _full([(x * 0.72, 0.5 + (y - 0.5) * 0.82) for x, y in half], w, h, s - 2 * m, s - 2 * m,
                  (w - s) / 2 + m, (h - s) / 2 + m)
    body = (0.07, 0.08, 0.14)
    sp.gradient(lambda p: p.poly(full), mix(body, colour, 0.22), body, alpha=1.0)
    sp.gradient(lambda p: p.poly(inner), mix(body, colour, 0.35), mix(body, colour, 0.08), alpha=0.9)
    sp.neon(colour, lambda p: p.poly(inner, width=s * 0.008), glow=0.2, alpha=0.6)
    sp.neon(colour, lambda p: p.poly(full, width=s * 0.018), glow=1.0, hot=0.35)
    cx = w / 2
    oy = (h - s) / 2 + m
    L = s - 2 * m
    # Spine and panel lines.
    sp.neon(colour, lambda p: p.line([(cx, oy + L * 0.32), (cx, oy + L * 0.84)], s * 0.006),
            glow=0.0, alpha=0.5)
    # Cockpit.
    cy = oy + L * 0.28
    sp.fill(INK, lambda p: p.ellipse(cx, cy, s * 0.035, s * 0.075), alpha=1.0)
    sp.fill(mix(CYAN, WHITE, 0.3), lambda p: p.ellipse(cx, cy, s * 0.03, s * 0.068), alpha=0.85,
            glow=0.8, hot=0.2)
    sp.fill(WHITE, lambda p: p.ellipse(cx - s * 0.008, cy - s * 0.025, s * 0.01, s * 0.02), alpha=0.8)
    # Engines at the back.
    ey = oy + L * 0.93
    xs = {1: [0.0], 2: [-0.06, 0.06], 3: [-0.09, 0.0, 0.09]}[engines]
    for ex in xs:
        px = cx + ex * L
        sp.fill(INK, lambda p, px=px: p.rect(px - s * 0.025, ey - s * 0.05, px + s * 0.025, ey, s * 0.008))
        sp.neon(colour, lambda p, px=px: p.rect(px - s * 0.025, ey - s * 0.05, px + s * 0.025, ey, s * 0.008,
                                                width=s * 0.006), glow=0.3)
        sp.fill(ORANGE, lambda p, px=px: p.ellipse(px, ey + s * 0.004, s * 0.02, s * 0.012), glow=1.5,
                hot=0.6)
    # Wing tip lights.
    tip = max(half, key=lambda q: q[0])
    for d, c in ((1, GREEN), (-1, RED)):
        px = (w - s) / 2 + m + (0.5 + d * tip[0]) * L
        py = oy + tip[1] * L
        sp.fill(c, lambda p, px=px, py=py: p.circle(px - d * s * 0.015, py, s * 0.012), glow=1.2, hot=0.5)
    return sp


ENEMY_COLOURS = [MAGENTA, CYAN, YELLOW, LIME, ORANGE, PURPLE, RED, SKY, PINK, GREEN, GOLD, BLUE]


def enemy(w, h, args):
    """Geometric enemies: one clear shape each, so they read at a glance."""
    n = int(args["n"])
    c = ENEMY_COLOURS[(n - 1) % len(ENEMY_COLOURS)]
    sp = Sprite(w, h)
    s = min(w, h)
    cx, cy = w / 2, h / 2
    lw = s * 0.045

    def shape(pts, fill=0.25):
        sp.fill(c, lambda p: p.poly(pts), alpha=fill)
        sp.neon(c, lambda p: p.poly(pts, width=lw))

    k = (n - 1) % 12
    if k == 0:  # diamond
        shape([(cx, cy - s * .42), (cx + s * .28, cy), (cx, cy + s * .42), (cx - s * .28, cy)])
        sp.neon(c, lambda p: p.poly([(cx, cy - s * .2), (cx + s * .13, cy), (cx, cy + s * .2), (cx - s * .13, cy)], width=lw * .6))
    elif k == 1:  # square in square
        shape(regular(cx, cy, s * 0.42, 4, rot=45), 0.15)
        shape(regular(cx, cy, s * 0.24, 4, rot=0), 0.35)
    elif k == 2:  # pinwheel
        for a in range(4):
            t = math.radians(a * 90)
            pts = [(cx, cy), (cx + math.cos(t) * s * .42, cy + math.sin(t) * s * .42),
                   (cx + math.cos(t + 0.8) * s * .3, cy + math.sin(t + 0.8) * s * .3)]
            shape(pts, 0.35)
    elif k == 3:  # triangle dart
        shape([(cx, cy - s * .42), (cx + s * .36, cy + s * .34), (cx, cy + s * .16), (cx - s * .36, cy + s * .34)])
    elif k == 4:  # spiky mine
        shape(star_points(cx, cy, s * 0.44, s * 0.22, n=8), 0.25)
        sp.fill(WHITE, lambda p: p.circle(cx, cy, s * 0.07), glow=1.0)
    elif k == 5:  # hexagon hive
        shape(regular(cx, cy, s * 0.42, 6), 0.15)
        shape(regular(cx, cy, s * 0.2, 6), 0.4)
    elif k == 6:  # crab
        shape([(cx - s * .2, cy - s * .16), (cx + s * .2, cy - s * .16), (cx + s * .26, cy + s * .14),
               (cx - s * .26, cy + s * .14)], 0.3)
        for d in (-1, 1):
            sp.neon(c, lambda p, d=d: p.line([(cx + d * s * .22, cy - s * .1), (cx + d * s * .42, cy - s * .32),
                                              (cx + d * s * .3, cy - s * .4)], lw))
            sp.neon(c, lambda p, d=d: p.line([(cx + d * s * .24, cy + s * .1), (cx + d * s * .4, cy + s * .32)], lw))
    elif k == 7:  # ring with core
        sp.neon(c, lambda p: p.circle(cx, cy, s * 0.4, width=lw))
        sp.neon(c, lambda p: p.circle(cx, cy, s * 0.26, width=lw * 0.6), alpha=0.7)
        sp.fill(c, lambda p: p.circle(cx, cy, s * 0.1), glow=1.0, hot=0.4)
    elif k == 8:  # arrow head
        shape([(cx, cy - s * .42), (cx + s * .4, cy + s * .1), (cx + s * .16, cy + s * .04),
               (cx + s * .16, cy + s * .42), (cx - s * .16, cy + s * .42), (cx - s * .16, cy + s * .04),
               (cx - s * .4, cy + s * .1)])
    elif k == 9:  # cross blade
        shape([(cx - s * .08, cy - s * .42), (cx + s * .08, cy - s * .42), (cx + s * .08, cy - s * .08),
               (cx + s * .42, cy - s * .08), (cx + s * .42, cy + s * .08), (cx + s * .08, cy + s * .08),
               (cx + s * .08, cy + s * .42), (cx - s * .08, cy + s * .42), (cx - s * .08, cy + s * .08),
               (cx - s * .42, cy + s * .08), (cx - s * .42, cy - s * .08), (cx - s * .08, cy - s * .08)], 0.3)
    elif k == 10:  # star
        shape(star_points(cx, cy, s * 0.44, s * 0.18), 0.3)
    else:  # bug
        shape([(cx, cy - s * .34), (cx + s * .22, cy - s * .1), (cx + s * .2, cy + s * .3), (cx, cy + s * .4),
               (cx - s * .2, cy + s * .3), (cx - s * .22, cy - s * .1)], 0.3)
        for d in (-1, 1):
            sp.neon(c, lambda p, d=d: p.line([(cx + d * s * .08, cy - s * .32), (cx + d * s * .2, cy - s * .44)], lw * .7))
            for yy in (-0.02, 0.14):
                sp.neon(c, lambda p, d=d, yy=yy: p.line([(cx + d * s * .2, cy + s * yy), (cx + d * s * .42, cy + s * (yy + .06))], lw * .7))
    return sp


def boss_part(w, h, args):
    t = args["type"]
    c = {"core": MAGENTA, "armour": PURPLE, "turret": ORANGE, "snakeHead": LIME,
         "snakeBody": GREEN, "snakeTail": GREEN}[t]
    sp = Sprite(w, h)
    s = min(w, h)
    cx, cy = w / 2, h / 2
    lw = s * 0.035
    if t == "core":
        sp.fill(PANEL, lambda p: p.poly(regular(cx, cy, s * .44, 8, rot=22.5)), alpha=0.95)
        sp.neon(c, lambda p: p.poly(regular(cx, cy, s * .44, 8, rot=22.5), width=lw))
        sp.neon(c, lambda p: p.poly(regular(cx, cy, s * .3, 8, rot=22.5), width=lw * .6), alpha=0.7)
        sp.fill(c, lambda p: p.circle(cx, cy, s * .16), glow=1.4, hot=0.5)
        sp.fill(WHITE, lambda p: p.circle(cx, cy, s * .07), glow=0.5)
    elif t == "armour":
        pts = [(cx - s * .44, cy - s * .2), (cx - s * .2, cy - s * .44), (cx + s * .2, cy - s * .44),
               (cx + s * .44, cy - s * .2), (cx + s * .44, cy + s * .2), (cx + s * .2, cy + s * .44),
               (cx - s * .2, cy + s * .44), (cx - s * .44, cy + s * .2)]
        sp.fill(PANEL, lambda p: p.poly(pts), alpha=0.95)
        sp.gradient(lambda p: p.poly(pts), scale(c, 0.3), scale(c, 0.05), alpha=0.7)
        sp.neon(c, lambda p: p.poly(pts, width=lw))
        for d in (-1, 1):
            sp.neon(c, lambda p, d=d: p.line([(cx - s * .3, cy + d * s * .14), (cx + s * .3, cy + d * s * .14)], lw * .5),
                    alpha=0.6, glow=0.3)
    elif t == "turret":
        sp.fill(PANEL, lambda p: p.rect(cx - s * .08, s * .04, cx + s * .08, cy, s * .03), alpha=0.95)
        sp.neon(c, lambda p: p.rect(cx - s * .08, s * .04, cx + s * .08, cy, s * .03, width=lw * .7))
        sp.fill(PANEL, lambda p: p.poly(regular(cx, cy, s * .3, 6)), alpha=0.95)
        sp.neon(c, lambda p: p.poly(regular(cx, cy, s * .3, 6), width=lw))
        sp.fill(c, lambda p: p.circle(cx, cy, s * .09), glow=1.2, hot=0.5)
    elif t == "snakeHead":
        pts = [(cx, cy - s * .44), (cx + s * .3, cy - s * .2), (cx + s * .36, cy + s * .24), (cx, cy + s * .4),
               (cx - s * .36, cy + s * .24), (cx - s * .3, cy - s * .2)]
        sp.fill(PANEL, lambda p: p.poly(pts), alpha=0.95)
        sp.gradient(lambda p: p.poly(pts), scale(c, 0.35), scale(c, 0.05), alpha=0.7)
        sp.neon(c, lambda p: p.poly(pts, width=lw))
        for d in (-1, 1):
            sp.fill(RED, lambda p, d=d: p.ellipse(cx + d * s * .14, cy - s * .1, s * .05, s * .08), glow=1.4, hot=0.5)
    elif t == "snakeBody":
        sp.fill(PANEL, lambda p: p.circle(cx, cy, s * .4), alpha=0.95)
        sp.gradient(lambda p: p.circle(cx, cy, s * .4), scale(c, 0.3), scale(c, 0.05), alpha=0.7)
        sp.neon(c, lambda p: p.circle(cx, cy, s * .4, width=lw))
        sp.neon(c, lambda p: p.arc(cx, cy, s * .25, 200, 340, lw * .6), alpha=0.7)
    else:
        pts = [(cx - s * .3, cy - s * .36), (cx + s * .3, cy - s * .36), (cx, cy + s * .44)]
        sp.fill(PANEL, lambda p: p.poly(pts), alpha=0.95)
        sp.neon(c, lambda p: p.poly(pts, width=lw))
    return sp


def asteroid(w, h, args):
    n = int(args["n"])
    rng = Rng(seed_of("asteroid%d" % n))
    sp = Sprite(w, h, glow=0.6)
    s = min(w, h)
    cx, cy = w / 2, h / 2
    pts = []
    k = 11 + n
    for i in range(k):
        t = 2 * math.pi * i / k
        r = s * 0.42 * rng.uniform(0.72, 1.0)
        pts.append((cx + math.cos(t) * r, cy + math.sin(t) * r))
    c = (0.6, 0.55, 0.8)
    sp.gradient(lambda p: p.poly(pts), (0.16, 0.14, 0.24), (0.05, 0.05, 0.09), alpha=1.0)
    sp.neon(c, lambda p: p.poly(pts, width=s * 0.025), glow=0.8, hot=0.2)
    for _ in range(3):
        ox, oy = rng.uniform(-0.18, 0.18) * s, rng.uniform(-0.18, 0.18) * s
        rr = rng.uniform(0.05, 0.1) * s
        sp.neon(c, lambda p, ox=ox, oy=oy, rr=rr: p.circle(cx + ox, cy + oy, rr, width=s * 0.012), alpha=0.6,
                glow=0.2)
    return sp
