"""Icon symbols, each drawn into a square box of a sprite in unit coordinates.

Every symbol is a neon outline over a faint fill of the same colour, so that
one set serves coloured icons and white ones that the game tints.
"""

import math

from neon import WHITE, star_points, regular

LW = 0.075  # line width as a share of the box


def _poly_shape(sp, c, x, y, s, pts, fill=0.25, lw=LW, glow=1.0):
    sp.fill(c, lambda p: p.sub(x, y, s).poly(pts), alpha=fill)
    sp.neon(c, lambda p: p.sub(x, y, s).poly(pts, width=lw), glow=glow)


def _lines(sp, c, x, y, s, fn, lw=LW, glow=1.0):
    sp.neon(c, lambda p: fn(p.sub(x, y, s), lw), glow=glow)


def _solid(sp, c, x, y, s, fn, alpha=1.0, glow=1.0, hot=0.3):
    sp.paint(c, sp.mask(lambda p: fn(p.sub(x, y, s))), alpha=alpha, glow=glow, hot=hot)


def heart_points(n=64):
    pts = []
    for i in range(n):
        t = 2.0 * math.pi * i / n
        hx = 16 * math.sin(t) ** 3
        hy = 13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t)
        pts.append((0.5 + hx / 36.0, 0.47 - hy / 36.0))
    return pts


def ship_points(kind=0):
    """A top-down fighter pointing up, in unit coordinates."""
    if kind == 1:
        return [(0.5, 0.06), (0.62, 0.42), (0.9, 0.62), (0.88, 0.8), (0.62, 0.72),
                (0.56, 0.9), (0.44, 0.9), (0.38, 0.72), (0.12, 0.8), (0.1, 0.62),
                (0.38, 0.42)]
    return [(0.5, 0.05), (0.64, 0.5), (0.92, 0.86), (0.6, 0.74), (0.5, 0.92),
            (0.4, 0.74), (0.08, 0.86), (0.36, 0.5)]


def heart(sp, c, x, y, s):
    _poly_shape(sp, c, x, y, s, heart_points(), fill=0.45)


def star(sp, c, x, y, s):
    _poly_shape(sp, c, x, y, s, star_points(0.5, 0.54, 0.46, 0.19), fill=0.45)


def trash(sp, c, x, y, s):
    body = [(0.24, 0.3), (0.76, 0.3), (0.7, 0.9), (0.3, 0.9)]
    sp.fill(c, lambda p: p.sub(x, y, s).poly(body), alpha=0.3)

    def lines(p, lw):
        p.poly(body, width=lw)
        p.line([(0.16, 0.22), (0.84, 0.22)], lw)
        p.line([(0.4, 0.22), (0.42, 0.12), (0.58, 0.12), (0.6, 0.22)], lw)
        for xx in (0.41, 0.5, 0.59):
            p.line([(xx, 0.42), (xx, 0.78)], lw * 0.7)
    _lines(sp, c, x, y, s, lines)


def lock(sp, c, x, y, s, open_=False):
    sp.fill(c, lambda p: p.sub(x, y, s).rect(0.2, 0.44, 0.8, 0.9, 0.08), alpha=0.35)

    def lines(p, lw):
        p.rect(0.2, 0.44, 0.8, 0.9, 0.08, width=lw)
        if open_:
            p.arc(0.66, 0.3, 0.17, 180, 360, lw)
            p.line([(0.49, 0.3), (0.49, 0.44)], lw)
        else:
            p.arc(0.5, 0.32, 0.19, 180, 360, lw)
            p.line([(0.31, 0.32), (0.31, 0.44)], lw)
            p.line([(0.69, 0.32), (0.69, 0.44)], lw)
        p.circle(0.5, 0.62, 0.06)
        p.line([(0.5, 0.64), (0.5, 0.76)], lw)
    _lines(sp, c, x, y, s, lines)


def unlock(sp, c, x, y, s):
    lock(sp, c, x, y, s, open_=True)


def crown(sp, c, x, y, s):
    pts = [(0.12, 0.78), (0.1, 0.3), (0.32, 0.52), (0.5, 0.2), (0.68, 0.52), (0.9, 0.3),
           (0.88, 0.78)]
    _poly_shape(sp, c, x, y, s, pts, fill=0.35)
    _lines(sp, c, x, y, s, lambda p, lw: p.line([(0.14, 0.88), (0.86, 0.88)], lw))
    for px, py in ((0.1, 0.26), (0.5, 0.16), (0.9, 0.26)):
        _solid(sp, WHITE, x, y, s, lambda p, px=px, py=py: p.circle(px, py, 0.05), hot=0.0)


def cross(sp, c, x, y, s):
    def lines(p, lw):
        p.line([(0.2, 0.2), (0.8, 0.8)], lw * 1.6)
        p.line([(0.8, 0.2), (0.2, 0.8)], lw * 1.6)
    _lines(sp, c, x, y, s, lines)


def tick(sp, c, x, y, s):
    _lines(sp, c, x, y, s, lambda p, lw: p.line([(0.16, 0.52), (0.4, 0.76), (0.86, 0.24)],
                                                lw * 1.6))


def box(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).rect(0.12, 0.12, 0.88, 0.88, 0.12), alpha=0.18)
    _lines(sp, c, x, y, s, lambda p, lw: p.rect(0.12, 0.12, 0.88, 0.88, 0.12, width=lw))


def boxtick(sp, c, x, y, s):
    box(sp, c, x, y, s)
    _lines(sp, c, x, y, s, lambda p, lw: p.line([(0.28, 0.5), (0.44, 0.66), (0.74, 0.32)],
                                                lw * 1.4))


def dollar(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).circle(0.5, 0.5, 0.4), alpha=0.3)
    _lines(sp, c, x, y, s, lambda p, lw: p.circle(0.5, 0.5, 0.4, width=lw))
    _solid(sp, c, x, y, s, lambda p: p.text(0.5, 0.52, "$", 0.56))


def coin(sp, c, x, y, s):
    dollar(sp, c, x, y, s)


def folder(sp, c, x, y, s):
    pts = [(0.1, 0.24), (0.38, 0.24), (0.46, 0.33), (0.9, 0.33), (0.9, 0.82), (0.1, 0.82)]
    _poly_shape(sp, c, x, y, s, pts, fill=0.3)
    _lines(sp, c, x, y, s, lambda p, lw: p.line([(0.1, 0.44), (0.9, 0.44)], lw * 0.7))


def back_folder(sp, c, x, y, s):
    folder(sp, c, x, y, s)

    def lines(p, lw):
        p.line([(0.64, 0.74), (0.64, 0.56), (0.36, 0.56)], lw)
        p.line([(0.46, 0.48), (0.36, 0.56), (0.46, 0.64)], lw)
    _lines(sp, c, x, y, s, lines)


def hard_drive(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).rect(0.08, 0.3, 0.92, 0.72, 0.08), alpha=0.3)

    def lines(p, lw):
        p.rect(0.08, 0.3, 0.92, 0.72, 0.08, width=lw)
        p.line([(0.08, 0.56), (0.92, 0.56)], lw * 0.6)
        for xx in (0.2, 0.3, 0.4):
            p.line([(xx, 0.4), (xx, 0.48)], lw * 0.6)
    _lines(sp, c, x, y, s, lines)
    _solid(sp, (0.3, 1.0, 0.5), x, y, s, lambda p: p.circle(0.78, 0.64, 0.035))


def music_note(sp, c, x, y, s):
    def solid(p):
        p.ellipse(0.33, 0.74, 0.14, 0.11)
        p.ellipse(0.71, 0.64, 0.14, 0.11)
    sp.fill(c, lambda p: solid(p.sub(x, y, s)), alpha=0.55)

    def lines(p, lw):
        p.ellipse(0.33, 0.74, 0.14, 0.11, width=lw * 0.8)
        p.ellipse(0.71, 0.64, 0.14, 0.11, width=lw * 0.8)
        p.line([(0.46, 0.72), (0.46, 0.18), (0.84, 0.1), (0.84, 0.62)], lw)
        p.line([(0.46, 0.3), (0.84, 0.22)], lw)
    _lines(sp, c, x, y, s, lines)


def music_mic(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).rect(0.37, 0.1, 0.63, 0.56, 0.13), alpha=0.35)

    def lines(p, lw):
        p.rect(0.37, 0.1, 0.63, 0.56, 0.13, width=lw)
        p.arc(0.5, 0.44, 0.24, 0, 180, lw)
        p.line([(0.5, 0.68), (0.5, 0.86)], lw)
        p.line([(0.34, 0.88), (0.66, 0.88)], lw)
        p.line([(0.41, 0.25), (0.59, 0.25)], lw * 0.5)
        p.line([(0.41, 0.35), (0.59, 0.35)], lw * 0.5)
    _lines(sp, c, x, y, s, lines)


def album(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).circle(0.5, 0.5, 0.4), alpha=0.25)

    def lines(p, lw):
        p.circle(0.5, 0.5, 0.4, width=lw)
        p.circle(0.5, 0.5, 0.13, width=lw * 0.8)
        p.arc(0.5, 0.5, 0.29, 200, 250, lw * 0.5)
        p.arc(0.5, 0.5, 0.29, 20, 70, lw * 0.5)
    _lines(sp, c, x, y, s, lines)
    _solid(sp, c, x, y, s, lambda p: p.circle(0.5, 0.5, 0.04))


def radio(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).rect(0.1, 0.38, 0.9, 0.86, 0.08), alpha=0.3)

    def lines(p, lw):
        p.rect(0.1, 0.38, 0.9, 0.86, 0.08, width=lw)
        p.line([(0.3, 0.38), (0.7, 0.12)], lw * 0.8)
        p.circle(0.34, 0.62, 0.13, width=lw * 0.8)
        p.line([(0.58, 0.52), (0.78, 0.52)], lw * 0.6)
        p.line([(0.58, 0.62), (0.78, 0.62)], lw * 0.6)
        p.line([(0.58, 0.72), (0.78, 0.72)], lw * 0.6)
    _lines(sp, c, x, y, s, lines)
    _solid(sp, c, x, y, s, lambda p: p.circle(0.7, 0.12, 0.04))


def ship(sp, c, x, y, s, kind=0):
    _poly_shape(sp, c, x, y, s, ship_points(kind), fill=0.35)


def ship_thumb_up(sp, c, x, y, s):
    ship(sp, c, x, y, s)


def ship_thumb_down(sp, c, x, y, s):
    sp.neon(c, lambda p: p.sub(x, y, s).poly(ship_points(), width=LW * 0.6), glow=0.3,
            alpha=0.45)


def next_track(sp, c, x, y, s):
    a = [(0.12, 0.22), (0.46, 0.5), (0.12, 0.78)]
    b = [(0.44, 0.22), (0.78, 0.5), (0.44, 0.78)]
    _poly_shape(sp, c, x, y, s, a, fill=0.4)
    _poly_shape(sp, c, x, y, s, b, fill=0.4)
    _lines(sp, c, x, y, s, lambda p, lw: p.line([(0.86, 0.22), (0.86, 0.78)], lw))


def play(sp, c, x, y, s):
    _poly_shape(sp, c, x, y, s, [(0.28, 0.16), (0.84, 0.5), (0.28, 0.84)], fill=0.4)


def pause(sp, c, x, y, s):
    for x0 in (0.24, 0.58):
        sp.fill(c, lambda p, x0=x0: p.sub(x, y, s).rect(x0, 0.18, x0 + 0.18, 0.82, 0.04),
                alpha=0.4)
        _lines(sp, c, x, y, s,
               lambda p, lw, x0=x0: p.rect(x0, 0.18, x0 + 0.18, 0.82, 0.04, width=lw))


def stop(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).rect(0.2, 0.2, 0.8, 0.8, 0.06), alpha=0.4)
    _lines(sp, c, x, y, s, lambda p, lw: p.rect(0.2, 0.2, 0.8, 0.8, 0.06, width=lw))


def arrow(sp, c, x, y, s, direction="right"):
    rot = {"right": 0, "down": 90, "left": 180, "up": 270}[direction]

    def r(px, py):
        t = math.radians(rot)
        dx, dy = px - 0.5, py - 0.5
        return (0.5 + dx * math.cos(t) - dy * math.sin(t), 0.5 + dx * math.sin(t) + dy * math.cos(t))
    pts = [r(0.3, 0.14), r(0.7, 0.5), r(0.3, 0.86)]
    _lines(sp, c, x, y, s, lambda p, lw: p.line(pts, lw * 1.7))


def life(sp, c, x, y, s):
    _solid(sp, c, x, y, s, lambda p: p.poly(ship_points()), glow=0.6)


def wip(sp, c, x, y, s):
    sp.fill((0.06, 0.05, 0.0), lambda p: p.sub(x, y, s).rect(0.04, 0.26, 0.96, 0.74, 0.08),
            alpha=0.85)
    # Hazard stripes along the top and bottom edges.
    def stripes(p):
        for i in range(-2, 12):
            x0 = 0.04 + i * 0.1
            p.poly([(x0, 0.26), (x0 + 0.05, 0.26), (x0 + 0.0, 0.34), (x0 - 0.05, 0.34)])
            p.poly([(x0, 0.66), (x0 + 0.05, 0.66), (x0 + 0.0, 0.74), (x0 - 0.05, 0.74)])
    band = sp.mask(lambda p: stripes(p.sub(x, y, s)))
    clip = sp.mask(lambda p: p.sub(x, y, s).rect(0.04, 0.26, 0.96, 0.74, 0.08))
    sp.paint(c, band * clip, alpha=0.9, glow=0.3)
    _lines(sp, c, x, y, s, lambda p, lw: p.rect(0.04, 0.26, 0.96, 0.74, 0.08, width=lw * 0.6))
    _solid(sp, c, x, y, s, lambda p: p.text(0.5, 0.505, "WIP", 0.28, maxw=0.8), hot=0.4)


def count_bg(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).circle(0.5, 0.5, 0.42), alpha=0.9, glow=0.6)
    _lines(sp, WHITE, x, y, s, lambda p, lw: p.circle(0.5, 0.5, 0.42, width=lw * 0.7),
           glow=0.3)


def mouse(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).rect(0.26, 0.08, 0.74, 0.92, 0.24), alpha=0.22)

    def lines(p, lw):
        p.rect(0.26, 0.08, 0.74, 0.92, 0.24, width=lw)
        p.line([(0.26, 0.42), (0.74, 0.42)], lw * 0.7)
        p.line([(0.5, 0.08), (0.5, 0.42)], lw * 0.7)
    _lines(sp, c, x, y, s, lines)
    _solid(sp, c, x, y, s, lambda p: p.rect(0.465, 0.18, 0.535, 0.32, 0.03))


def gamepad_body(p):
    p.rect(0.06, 0.3, 0.94, 0.66, 0.16)
    p.ellipse(0.24, 0.68, 0.16, 0.18)
    p.ellipse(0.76, 0.68, 0.16, 0.18)


def gamepad(sp, c, x, y, s, ps=False):
    body = sp.mask(lambda p: gamepad_body(p.sub(x, y, s)))
    sp.paint(c, body, alpha=0.22)
    inner = sp.mask(lambda p: _shrunk_body(p.sub(x, y, s)))
    sp.paint(c, __import__("numpy").clip(body - inner, 0, 1), glow=1.0, hot=0.3)

    def lines(p, lw):
        p.line([(0.18, 0.48), (0.34, 0.48)], lw)
        p.line([(0.26, 0.4), (0.26, 0.56)], lw)
    _lines(sp, c, x, y, s, lines)
    if ps:
        from neon import regular as reg
        _lines(sp, (0.3, 1.0, 0.6), x, y, s,
               lambda p, lw: p.poly(reg(0.76, 0.4, 0.05, 3), width=lw * 0.5))
        _lines(sp, (1.0, 0.3, 0.4), x, y, s, lambda p, lw: p.circle(0.84, 0.48, 0.045, width=lw * 0.5))
        _lines(sp, (0.4, 0.6, 1.0), x, y, s, lambda p, lw: p.line([(0.72, 0.52), (0.8, 0.6)], lw * 0.5))
        _lines(sp, (1.0, 0.4, 0.9), x, y, s,
               lambda p, lw: p.rect(0.635, 0.44, 0.705, 0.51, 0.0, width=lw * 0.5))
    else:
        for (px, py), col in (((0.76, 0.38), (1.0, 0.88, 0.2)), ((0.84, 0.48), (1.0, 0.25, 0.3)),
                              ((0.68, 0.48), (0.3, 0.55, 1.0)), ((0.76, 0.58), (0.3, 1.0, 0.4))):
            _solid(sp, col, x, y, s, lambda p, px=px, py=py: p.circle(px, py, 0.045))


def _shrunk_body(p):
    p.rect(0.06 + 0.06, 0.3 + 0.06, 0.94 - 0.06, 0.66 - 0.06, 0.1)
    p.ellipse(0.24, 0.68, 0.1, 0.12)
    p.ellipse(0.76, 0.68, 0.1, 0.12)


def gamepad_ps(sp, c, x, y, s):
    gamepad(sp, c, x, y, s, ps=True)


def slash(sp, c, x, y, s):
    _lines(sp, c, x, y, s, lambda p, lw: p.line([(0.64, 0.1), (0.36, 0.9)], lw * 1.3))


def trophy(sp, c, x, y, s):
    cup = [(0.26, 0.12), (0.74, 0.12), (0.7, 0.4), (0.58, 0.54), (0.42, 0.54), (0.3, 0.4)]
    _poly_shape(sp, c, x, y, s, cup, fill=0.4)

    def lines(p, lw):
        p.arc(0.26, 0.28, 0.12, 90, 270, lw * 0.8)
        p.arc(0.74, 0.28, 0.12, 270, 450, lw * 0.8)
        p.line([(0.5, 0.54), (0.5, 0.72)], lw)
        p.rect(0.3, 0.74, 0.7, 0.88, 0.03, width=lw)
    _lines(sp, c, x, y, s, lines)


def clock(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).circle(0.5, 0.5, 0.4), alpha=0.22)

    def lines(p, lw):
        p.circle(0.5, 0.5, 0.4, width=lw)
        p.line([(0.5, 0.5), (0.5, 0.24)], lw)
        p.line([(0.5, 0.5), (0.68, 0.6)], lw)
    _lines(sp, c, x, y, s, lines)


def lightning(sp, c, x, y, s):
    pts = [(0.58, 0.04), (0.22, 0.56), (0.46, 0.56), (0.38, 0.96), (0.8, 0.4), (0.54, 0.4)]
    _poly_shape(sp, c, x, y, s, pts, fill=0.45)


def gear(sp, c, x, y, s):
    pts = []
    n = 8
    for i in range(n * 4):
        t = 2 * math.pi * i / (n * 4) - math.pi / 2
        r = 0.42 if (i % 4) in (0, 1) else 0.32
        pts.append((0.5 + math.cos(t) * r, 0.5 + math.sin(t) * r))
    _poly_shape(sp, c, x, y, s, pts, fill=0.3)
    _lines(sp, c, x, y, s, lambda p, lw: p.circle(0.5, 0.5, 0.12, width=lw))


def leaderboard(sp, c, x, y, s):
    for x0, top in ((0.1, 0.46), (0.37, 0.22), (0.64, 0.58)):
        sp.fill(c, lambda p, x0=x0, top=top: p.sub(x, y, s).rect(x0, top, x0 + 0.26, 0.86),
                alpha=0.3)
        _lines(sp, c, x, y, s, lambda p, lw, x0=x0, top=top: p.rect(x0, top, x0 + 0.26, 0.86,
                                                                      width=lw * 0.8))
    _solid(sp, c, x, y, s, lambda p: p.text(0.5, 0.36, "1", 0.16))


def friends(sp, c, x, y, s):
    def person(p, cx, cy, k, lw):
        p.circle(cx, cy - 0.16 * k, 0.11 * k, width=lw)
        p.arc(cx, cy + 0.2 * k, 0.2 * k, 180, 360, lw)
    _lines(sp, c, x, y, s, lambda p, lw: person(p, 0.36, 0.48, 1.0, lw))
    _lines(sp, c, x, y, s, lambda p, lw: person(p, 0.66, 0.52, 0.9, lw), glow=0.8)


def person(sp, c, x, y, s):
    def lines(p, lw):
        p.circle(0.5, 0.32, 0.16, width=lw)
        p.arc(0.5, 0.86, 0.32, 180, 360, lw)
    _lines(sp, c, x, y, s, lines)


def search(sp, c, x, y, s):
    def lines(p, lw):
        p.circle(0.42, 0.42, 0.24, width=lw)
        p.line([(0.6, 0.6), (0.84, 0.84)], lw * 1.5)
    _lines(sp, c, x, y, s, lines)


def mail(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).rect(0.1, 0.24, 0.9, 0.76, 0.06), alpha=0.25)

    def lines(p, lw):
        p.rect(0.1, 0.24, 0.9, 0.76, 0.06, width=lw)
        p.line([(0.12, 0.28), (0.5, 0.56), (0.88, 0.28)], lw)
    _lines(sp, c, x, y, s, lines)


def comment(sp, c, x, y, s):
    pts = [(0.1, 0.16), (0.9, 0.16), (0.9, 0.66), (0.44, 0.66), (0.24, 0.86), (0.26, 0.66),
           (0.1, 0.66)]
    _poly_shape(sp, c, x, y, s, pts, fill=0.3)
    for xx in (0.32, 0.5, 0.68):
        _solid(sp, c, x, y, s, lambda p, xx=xx: p.circle(xx, 0.41, 0.05))


def camera(sp, c, x, y, s):
    pts = [(0.08, 0.3), (0.32, 0.3), (0.4, 0.18), (0.6, 0.18), (0.68, 0.3), (0.92, 0.3),
           (0.92, 0.82), (0.08, 0.82)]
    _poly_shape(sp, c, x, y, s, pts, fill=0.25)
    _lines(sp, c, x, y, s, lambda p, lw: p.circle(0.5, 0.55, 0.16, width=lw))


def globe(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).circle(0.5, 0.5, 0.4), alpha=0.2)

    def lines(p, lw):
        p.circle(0.5, 0.5, 0.4, width=lw)
        p.ellipse(0.5, 0.5, 0.17, 0.4, width=lw * 0.7)
        p.line([(0.1, 0.5), (0.9, 0.5)], lw * 0.7)
        p.arc(0.5, 0.05, 0.4, 50, 130, lw * 0.6)
        p.arc(0.5, 0.95, 0.4, 230, 310, lw * 0.6)
    _lines(sp, c, x, y, s, lines)


def calendar(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).rect(0.14, 0.2, 0.86, 0.86, 0.06), alpha=0.22)

    def lines(p, lw):
        p.rect(0.14, 0.2, 0.86, 0.86, 0.06, width=lw)
        p.line([(0.14, 0.38), (0.86, 0.38)], lw)
        p.line([(0.32, 0.12), (0.32, 0.26)], lw)
        p.line([(0.68, 0.12), (0.68, 0.26)], lw)
    _lines(sp, c, x, y, s, lines)
    _solid(sp, c, x, y, s, lambda p: p.text(0.5, 0.62, "1", 0.3))


def perk(sp, c, x, y, s):
    pts = regular(0.5, 0.5, 0.42, 6, rot=-90)
    _poly_shape(sp, c, x, y, s, pts, fill=0.3)

    def lines(p, lw):
        p.line([(0.5, 0.3), (0.5, 0.7)], lw * 1.3)
        p.line([(0.3, 0.5), (0.7, 0.5)], lw * 1.3)
    _lines(sp, c, x, y, s, lines)


def grid(sp, c, x, y, s):
    for i in range(2):
        for j in range(2):
            x0, y0 = 0.14 + i * 0.38, 0.14 + j * 0.38
            sp.fill(c, lambda p, x0=x0, y0=y0: p.sub(x, y, s).rect(x0, y0, x0 + 0.32, y0 + 0.32,
                                                                   0.05), alpha=0.25)
            _lines(sp, c, x, y, s, lambda p, lw, x0=x0, y0=y0: p.rect(x0, y0, x0 + 0.32, y0 + 0.32,
                                                                      0.05, width=lw * 0.8))


def party(sp, c, x, y, s):
    cols = [(0.2, 0.9, 1.0), (1.0, 0.3, 0.8), (0.4, 1.0, 0.4), (1.0, 0.85, 0.2)]
    for k, (px, py) in enumerate(((0.0, 0.0), (0.5, 0.0), (0.0, 0.5), (0.5, 0.5))):
        cc = cols[k] if c != WHITE else WHITE
        pts = [(px + 0.04 + qx * 0.42, py + 0.04 + qy * 0.42) for qx, qy in ship_points()]
        sp.fill(cc, lambda p, pts=pts: p.sub(x, y, s).poly(pts), alpha=0.4)
        sp.neon(cc, lambda p, pts=pts: p.sub(x, y, s).poly(pts, width=LW * 0.7))


def exit_(sp, c, x, y, s):
    def lines(p, lw):
        p.arc(0.5, 0.54, 0.32, 300, 600, lw * 1.2)
        p.line([(0.5, 0.12), (0.5, 0.5)], lw * 1.2)
    _lines(sp, c, x, y, s, lines)


def cart(sp, c, x, y, s):
    pts = [(0.22, 0.3), (0.88, 0.3), (0.8, 0.62), (0.3, 0.62)]
    _poly_shape(sp, c, x, y, s, pts, fill=0.25)

    def lines(p, lw):
        p.line([(0.06, 0.18), (0.18, 0.18), (0.3, 0.62), (0.3, 0.72), (0.82, 0.72)], lw)
        p.circle(0.36, 0.84, 0.06, width=lw * 0.8)
        p.circle(0.76, 0.84, 0.06, width=lw * 0.8)
    _lines(sp, c, x, y, s, lines)


def news(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).rect(0.14, 0.12, 0.86, 0.88, 0.05), alpha=0.22)

    def lines(p, lw):
        p.rect(0.14, 0.12, 0.86, 0.88, 0.05, width=lw)
        p.rect(0.26, 0.24, 0.5, 0.46, 0.0, width=lw * 0.6)
        p.line([(0.58, 0.28), (0.74, 0.28)], lw * 0.6)
        p.line([(0.58, 0.4), (0.74, 0.4)], lw * 0.6)
        for yy in (0.58, 0.68, 0.78):
            p.line([(0.26, yy), (0.74, yy)], lw * 0.6)
    _lines(sp, c, x, y, s, lines)


def question(sp, c, x, y, s):
    _lines(sp, c, x, y, s, lambda p, lw: p.circle(0.5, 0.5, 0.42, width=lw))
    _solid(sp, c, x, y, s, lambda p: p.text(0.5, 0.52, "?", 0.56))


def spectrum(sp, c, x, y, s):
    hs = [0.35, 0.6, 0.8, 0.5, 0.7, 0.4, 0.25]
    for i, hgt in enumerate(hs):
        x0 = 0.1 + i * 0.118
        sp.fill(c, lambda p, x0=x0, hgt=hgt: p.sub(x, y, s).rect(x0, 0.88 - hgt, x0 + 0.08, 0.88,
                                                                 0.02), alpha=0.9, glow=0.8)


def quick_play(sp, c, x, y, s):
    _poly_shape(sp, c, x, y, s, [(0.16, 0.16), (0.62, 0.5), (0.16, 0.84)], fill=0.4)
    _poly_shape(sp, c, x, y, s, [(0.74, 0.08), (0.52, 0.48), (0.68, 0.48), (0.6, 0.9),
                                 (0.92, 0.4), (0.76, 0.4)], fill=0.5)


def hangar(sp, c, x, y, s):
    def lines(p, lw):
        p.line([(0.06, 0.5), (0.5, 0.14), (0.94, 0.5)], lw)
        p.line([(0.16, 0.44), (0.16, 0.9)], lw)
        p.line([(0.84, 0.44), (0.84, 0.9)], lw)
    _lines(sp, c, x, y, s, lines)
    _poly_shape(sp, c, x + s * 0.27, y + s * 0.42, s * 0.46, ship_points(), fill=0.4)


def share(sp, c, x, y, s):
    pts = [(0.76, 0.2), (0.26, 0.5), (0.76, 0.8)]
    _lines(sp, c, x, y, s, lambda p, lw: p.line(pts, lw))
    for px, py in pts:
        sp.fill(c, lambda p, px=px, py=py: p.sub(x, y, s).circle(px, py, 0.11), alpha=0.5)
        _lines(sp, c, x, y, s, lambda p, lw, px=px, py=py: p.circle(px, py, 0.11, width=lw))


def bird(sp, c, x, y, s):
    """A small stylised songbird (the social posting service)."""
    body = [(0.1, 0.62), (0.3, 0.7), (0.5, 0.72), (0.7, 0.64), (0.82, 0.46), (0.84, 0.3),
            (0.94, 0.22), (0.84, 0.2), (0.74, 0.16), (0.66, 0.24), (0.62, 0.4), (0.5, 0.36),
            (0.36, 0.26), (0.26, 0.22), (0.3, 0.38), (0.2, 0.4), (0.26, 0.5), (0.16, 0.56)]
    _poly_shape(sp, c, x, y, s, body, fill=0.45)


def valve(sp, c, x, y, s):
    """A piston and flywheel: the store platform's mark."""
    sp.fill(c, lambda p: p.sub(x, y, s).circle(0.5, 0.5, 0.42), alpha=0.22)

    def lines(p, lw):
        p.circle(0.5, 0.5, 0.42, width=lw)
        p.circle(0.64, 0.38, 0.13, width=lw)
        p.circle(0.34, 0.64, 0.08, width=lw)
        p.line([(0.4, 0.6), (0.56, 0.46)], lw * 1.2)
    _lines(sp, c, x, y, s, lines)


def floppy(sp, c, x, y, s):
    pts = [(0.12, 0.12), (0.76, 0.12), (0.88, 0.24), (0.88, 0.88), (0.12, 0.88)]
    _poly_shape(sp, c, x, y, s, pts, fill=0.25)

    def lines(p, lw):
        p.rect(0.28, 0.12, 0.68, 0.36, 0.0, width=lw * 0.8)
        p.rect(0.24, 0.54, 0.76, 0.88, 0.0, width=lw * 0.8)
    _lines(sp, c, x, y, s, lines)


def waveform(sp, c, x, y, s):
    def lines(p, lw):
        pts = []
        for i in range(61):
            t = i / 60.0
            amp = 0.32 * math.sin(t * math.pi) * math.sin(t * 31.0) * (0.6 + 0.4 * math.cos(t * 9))
            pts.append((0.06 + t * 0.88, 0.5 + amp))
        p.line(pts, lw * 0.8)
    _lines(sp, c, x, y, s, lines)


def anchor(sp, c, x, y, s):
    def lines(p, lw):
        p.circle(0.5, 0.5, 0.3, width=lw)
        for a, b in (((0.5, 0.04), (0.5, 0.3)), ((0.5, 0.7), (0.5, 0.96)),
                     ((0.04, 0.5), (0.3, 0.5)), ((0.7, 0.5), (0.96, 0.5))):
            p.line([a, b], lw)
    _lines(sp, c, x, y, s, lines)
    _solid(sp, c, x, y, s, lambda p: p.circle(0.5, 0.5, 0.05))


def medal(sp, c, x, y, s):
    _poly_shape(sp, c, x, y, s, [(0.3, 0.06), (0.44, 0.06), (0.56, 0.42), (0.42, 0.42)],
                fill=0.35)
    _poly_shape(sp, c, x, y, s, [(0.56, 0.06), (0.7, 0.06), (0.58, 0.42), (0.44, 0.42)],
                fill=0.35)
    sp.fill(c, lambda p: p.sub(x, y, s).circle(0.5, 0.64, 0.26), alpha=0.3)
    _lines(sp, c, x, y, s, lambda p, lw: p.circle(0.5, 0.64, 0.26, width=lw))
    _poly_shape(sp, c, x, y, s, star_points(0.5, 0.65, 0.15, 0.06), fill=0.8)


def skull(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).circle(0.5, 0.42, 0.32), alpha=0.25)

    def lines(p, lw):
        p.arc(0.5, 0.42, 0.32, 140, 400, lw)
        p.line([(0.26, 0.64), (0.34, 0.86), (0.66, 0.86), (0.74, 0.64)], lw)
        p.circle(0.38, 0.44, 0.08, width=lw * 0.8)
        p.circle(0.62, 0.44, 0.08, width=lw * 0.8)
        p.line([(0.44, 0.86), (0.44, 0.74)], lw * 0.6)
        p.line([(0.56, 0.86), (0.56, 0.74)], lw * 0.6)
    _lines(sp, c, x, y, s, lines)


def flame(sp, c, x, y, s):
    pts = [(0.5, 0.06), (0.66, 0.3), (0.62, 0.42), (0.74, 0.36), (0.82, 0.58), (0.72, 0.82),
           (0.5, 0.94), (0.28, 0.82), (0.18, 0.6), (0.28, 0.38), (0.36, 0.5), (0.4, 0.3)]
    _poly_shape(sp, c, x, y, s, pts, fill=0.35)


def target(sp, c, x, y, s):
    def lines(p, lw):
        p.circle(0.5, 0.5, 0.4, width=lw)
        p.circle(0.5, 0.5, 0.24, width=lw)
    _lines(sp, c, x, y, s, lines)
    _solid(sp, c, x, y, s, lambda p: p.circle(0.5, 0.5, 0.08))


def infinity(sp, c, x, y, s):
    def lines(p, lw):
        pts = []
        for i in range(81):
            t = 2 * math.pi * i / 80
            d = 1 + math.sin(t) ** 2
            pts.append((0.5 + 0.4 * math.cos(t) / d, 0.5 + 0.4 * math.sin(t) * math.cos(t) / d))
        p.line(pts, lw)
    _lines(sp, c, x, y, s, lines)


def eye(sp, c, x, y, s):
    def lines(p, lw):
        p.arc(0.5, 0.9, 0.56, 225, 315, lw)
        p.arc(0.5, 0.1, 0.56, 45, 135, lw)
        p.circle(0.5, 0.5, 0.13, width=lw)
    _lines(sp, c, x, y, s, lines)


def chevrons(sp, c, x, y, s):
    for k in range(3):
        yy = 0.2 + k * 0.22
        _lines(sp, c, x, y, s, lambda p, lw, yy=yy: p.line([(0.2, yy + 0.2), (0.5, yy),
                                                            (0.8, yy + 0.2)], lw * 1.2))


def bomb(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).circle(0.44, 0.58, 0.3), alpha=0.35)

    def lines(p, lw):
        p.circle(0.44, 0.58, 0.3, width=lw)
        p.line([(0.62, 0.34), (0.72, 0.22)], lw)
        p.arc(0.82, 0.22, 0.1, 180, 300, lw * 0.7)
    _lines(sp, c, x, y, s, lines)
    for a in range(0, 360, 60):
        t = math.radians(a)
        _solid(sp, (1.0, 0.85, 0.3), x, y, s,
               lambda p, t=t: p.line([(0.86 + math.cos(t) * 0.03, 0.1 + math.sin(t) * 0.03),
                                      (0.86 + math.cos(t) * 0.08, 0.1 + math.sin(t) * 0.08)], 0.03))


def missiles(sp, c, x, y, s):
    for k, (ox, oy) in enumerate(((0.2, 0.28), (0.46, 0.08), (0.46, 0.48))):
        def one(p, ox=ox, oy=oy):
            q = p.sub(ox, oy, 0.42)
            q.poly([(0.9, 0.5), (0.7, 0.36), (0.12, 0.36), (0.0, 0.22), (0.0, 0.78), (0.12, 0.64),
                    (0.7, 0.64)])
        sp.fill(c, lambda p, one=one: one(p.sub(x, y, s)), alpha=0.4)
        sp.neon(c, lambda p, ox=ox, oy=oy: p.sub(x, y, s).sub(ox, oy, 0.42).poly(
            [(0.9, 0.5), (0.7, 0.36), (0.12, 0.36), (0.0, 0.22), (0.0, 0.78), (0.12, 0.64),
             (0.7, 0.64)], width=0.14))


def beam(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).rect(0.08, 0.42, 0.92, 0.58, 0.08), alpha=0.9, glow=1.0,
            hot=0.7)
    _lines(sp, c, x, y, s, lambda p, lw: p.line([(0.08, 0.28), (0.08, 0.72)], lw))
    _lines(sp, c, x, y, s, lambda p, lw: p.circle(0.12, 0.5, 0.14, width=lw * 0.8))


def shield(sp, c, x, y, s):
    pts = [(0.5, 0.08), (0.86, 0.2), (0.82, 0.56), (0.5, 0.92), (0.18, 0.56), (0.14, 0.2)]
    _poly_shape(sp, c, x, y, s, pts, fill=0.3)
    _lines(sp, c, x, y, s, lambda p, lw: p.line([(0.34, 0.3), (0.66, 0.62)], lw * 0.7))


def emp(sp, c, x, y, s):
    def lines(p, lw):
        p.circle(0.5, 0.5, 0.14, width=lw)
        p.arc(0.5, 0.5, 0.28, 200, 340, lw * 0.8)
        p.arc(0.5, 0.5, 0.28, 20, 160, lw * 0.8)
        p.arc(0.5, 0.5, 0.42, 210, 330, lw * 0.7)
        p.arc(0.5, 0.5, 0.42, 30, 150, lw * 0.7)
    _lines(sp, c, x, y, s, lines)


def turret(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).circle(0.5, 0.6, 0.24), alpha=0.35)

    def lines(p, lw):
        p.circle(0.5, 0.6, 0.24, width=lw)
        p.rect(0.44, 0.1, 0.56, 0.42, 0.03, width=lw * 0.8)
        p.line([(0.2, 0.9), (0.8, 0.9)], lw)
    _lines(sp, c, x, y, s, lines)


def echo(sp, c, x, y, s):
    for k, a in enumerate((0.35, 0.6, 1.0)):
        off = (2 - k) * 0.1
        sp.neon(c, lambda p, off=off: p.sub(x, y, s).sub(0.1 - off * 0.5, 0.1 + off * 0.3, 0.8)
                .poly(ship_points(), width=0.08), alpha=a, glow=a)


def wingman(sp, c, x, y, s):
    _poly_shape(sp, c, x, y, s, [(px * 0.6 + 0.2, py * 0.6 + 0.06) for px, py in ship_points()],
                fill=0.4)
    for ox in (0.0, 0.56):
        _poly_shape(sp, c, x, y, s, [(px * 0.44 + ox, py * 0.44 + 0.5) for px, py in ship_points()],
                    fill=0.3)


def power(sp, c, x, y, s):
    _poly_shape(sp, c, x, y, s, [(0.5, 0.08), (0.88, 0.5), (0.66, 0.5), (0.66, 0.9), (0.34, 0.9),
                                 (0.34, 0.5), (0.12, 0.5)], fill=0.4)


def palette(sp, c, x, y, s):
    cols = [(1.0, 0.25, 0.6), (0.25, 0.9, 1.0), (0.5, 1.0, 0.3), (1.0, 0.85, 0.2)]
    for k, (px, py) in enumerate(((0.34, 0.34), (0.66, 0.34), (0.34, 0.66), (0.66, 0.66))):
        cc = cols[k] if c != WHITE else WHITE
        sp.fill(cc, lambda p, px=px, py=py: p.sub(x, y, s).circle(px, py, 0.16), alpha=0.5)
        _lines(sp, cc, x, y, s, lambda p, lw, px=px, py=py: p.circle(px, py, 0.16, width=lw * 0.8))


def multiplier(sp, c, x, y, s):
    _lines(sp, c, x, y, s, lambda p, lw: p.circle(0.5, 0.5, 0.42, width=lw))
    _solid(sp, c, x, y, s, lambda p: p.text(0.5, 0.52, "x2", 0.42))


def rocket(sp, c, x, y, s):
    pts = [(0.5, 0.06), (0.64, 0.24), (0.64, 0.62), (0.8, 0.78), (0.8, 0.88), (0.6, 0.8),
           (0.4, 0.8), (0.2, 0.88), (0.2, 0.78), (0.36, 0.62), (0.36, 0.24)]
    _poly_shape(sp, c, x, y, s, pts, fill=0.3)
    _lines(sp, c, x, y, s, lambda p, lw: p.circle(0.5, 0.36, 0.07, width=lw * 0.8))


def boss(sp, c, x, y, s):
    pts = regular(0.5, 0.5, 0.42, 8, rot=-90 + 22.5)
    _poly_shape(sp, c, x, y, s, pts, fill=0.25)
    _poly_shape(sp, c, x, y, s, regular(0.5, 0.5, 0.2, 4, rot=-90), fill=0.5)


def snake(sp, c, x, y, s):
    def lines(p, lw):
        pts = [(0.1 + i * 0.04, 0.5 + 0.26 * math.sin(i * 0.45)) for i in range(21)]
        p.line(pts, lw * 2.2)
    _lines(sp, c, x, y, s, lines)
    _solid(sp, WHITE, x, y, s, lambda p: p.circle(0.9, 0.5 + 0.26 * math.sin(20 * 0.45), 0.05))


def pencil(sp, c, x, y, s):
    pts = [(0.7, 0.1), (0.9, 0.3), (0.36, 0.84), (0.12, 0.88), (0.16, 0.64)]
    _poly_shape(sp, c, x, y, s, pts, fill=0.3)
    _lines(sp, c, x, y, s, lambda p, lw: p.line([(0.6, 0.2), (0.8, 0.4)], lw * 0.7))


def module(sp, c, x, y, s):
    sp.fill(c, lambda p: p.sub(x, y, s).rect(0.22, 0.22, 0.78, 0.78, 0.06), alpha=0.3)

    def lines(p, lw):
        p.rect(0.22, 0.22, 0.78, 0.78, 0.06, width=lw)
        for t in (0.34, 0.5, 0.66):
            p.line([(t, 0.08), (t, 0.22)], lw * 0.7)
            p.line([(t, 0.78), (t, 0.92)], lw * 0.7)
            p.line([(0.08, t), (0.22, t)], lw * 0.7)
            p.line([(0.78, t), (0.92, t)], lw * 0.7)
    _lines(sp, c, x, y, s, lines)


SYMBOLS = {
    "heart": heart, "star": star, "trash": trash, "lock": lock, "unlock": unlock,
    "crown": crown, "cross": cross, "tick": tick, "box": box, "boxtick": boxtick,
    "dollar": dollar, "coin": coin, "folder": folder, "backFolder": back_folder,
    "hardDrive": hard_drive, "musicNote": music_note, "musicMic": music_mic, "album": album,
    "radio": radio, "ship": ship, "shipThumbUp": ship_thumb_up, "shipThumbDown": ship_thumb_down,
    "nextTrack": next_track, "play": play, "pause": pause, "stop": stop,
    "arrowLeft": lambda sp, c, x, y, s: arrow(sp, c, x, y, s, "left"),
    "arrowRight": lambda sp, c, x, y, s: arrow(sp, c, x, y, s, "right"),
    "arrowUp": lambda sp, c, x, y, s: arrow(sp, c, x, y, s, "up"),
    "arrowDown": lambda sp, c, x, y, s: arrow(sp, c, x, y, s, "down"),
    "life": life, "wip": wip, "countBG": count_bg, "mouse": mouse, "gamepad": gamepad,
    "gamepadPS": gamepad_ps, "slash": slash, "trophy": trophy, "clock": clock,
    "lightning": lightning, "gear": gear, "leaderboard": leaderboard, "friends": friends,
    "person": person, "search": search, "mail": mail, "comment": comment, "camera": camera,
    "globe": globe, "calendar": calendar, "perk": perk, "grid": grid, "party": party,
    "exit": exit_, "cart": cart, "news": news, "question": question, "spectrum": spectrum,
    "quickPlay": quick_play, "hangar": hangar, "share": share, "bird": bird, "valve": valve,
    "floppy": floppy, "waveform": waveform, "anchor": anchor, "medal": medal, "skull": skull,
    "flame": flame, "target": target, "infinity": infinity, "eye": eye, "chevrons": chevrons,
    "bomb": bomb, "missiles": missiles, "beam": beam, "shield": shield, "emp": emp,
    "turret": turret, "echo": echo, "wingman": wingman, "power": power, "palette": palette,
    "multiplier": multiplier, "rocket": rocket, "boss": boss, "snake": snake, "pencil": pencil,
    "module": module,
}
