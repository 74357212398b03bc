"""The kinds of sprite the manifest names, each a function (w, h, args) -> Sprite."""

import math

import numpy as np

import flags
import hulls
import symbols
from neon import (BLUE, BRONZE, CYAN, GOLD, GREEN, GREY, INK, LIME, MAGENTA, NAMED, ORANGE,
                  PANEL, PINK, PURPLE, RED, SILVER, SKY, VIOLET, WHITE, YELLOW, Rng, Sprite,
                  blur, mix, panel, regular, scale, seed_of, star_points)


def colour_arg(args, key, default):
    v = args.get(key)
    if v is None:
        return default
    if v in NAMED:
        return NAMED[v]
    parts = v.split("/")
    return tuple(float(p) / 255.0 for p in parts)


# -- plain -----------------------------------------------------------------

def k_pixel(w, h, args):
    sp = Sprite(w, h, glow=0.0)
    sp.paint(WHITE, np.ones((h, w), np.float32))
    return sp


def k_loadbar(w, h, args):
    """One layer of the loading bar's fill: outer glow to white-hot core."""
    layer = int(args["layer"])
    cols = {1: VIOLET, 2: MAGENTA, 3: CYAN, 4: WHITE}
    c = np.array(cols[layer], np.float32)
    sp = Sprite(w, h, glow=0.0)
    y = (np.arange(h, dtype=np.float32) + 0.5) / h * 2.0 - 1.0
    prof = {1: 0.55, 2: 0.75, 3: 0.85, 4: 0.95}[layer]
    a = np.clip(1.0 - np.abs(y) ** (2.0 + layer), 0.0, 1.0) * prof
    core = np.clip(1.0 - np.abs(y) * 2.2, 0.0, 1.0) ** 2
    rgb = np.clip(c[None, :] + (1.0 - c[None, :]) * core[:, None] * 0.6, 0.0, 1.0)
    sp.field(np.repeat(rgb[:, None, :], w, axis=1), np.repeat(a[:, None], w, axis=1))
    return sp


# -- icons -----------------------------------------------------------------

def k_icon(w, h, args):
    """A symbol, white where the game tints it, coloured otherwise."""
    c = colour_arg(args, "colour", WHITE)
    sp = Sprite(w, h, glow=float(args.get("glow", 1.0)))
    s = min(w, h)
    pad = s * float(args.get("pad", 0.12))
    bg = args.get("bg")
    if bg == "disc":
        sp.fill(PANEL, lambda p: p.circle(w / 2, h / 2, s * 0.47), alpha=0.85)
        sp.neon(c, lambda p: p.circle(w / 2, h / 2, s * 0.47, width=s * 0.03), glow=0.6)
        pad = s * 0.22
    elif bg == "tile":
        panel(sp, s * 0.04, s * 0.04, s * 0.96, s * 0.96, s * 0.16, c,
              edge_w=s * 0.03)
        pad = s * 0.2
    symbols.SYMBOLS[args["symbol"]](sp, c, (w - s) / 2 + pad, (h - s) / 2 + pad, s - 2 * pad)
    return sp


def k_menuicon(w, h, args):
    """A main-menu button icon: a symbol on a dark tile with a neon rim."""
    c = colour_arg(args, "colour", CYAN)
    sp = Sprite(w, h)
    s = min(w, h)
    m = s * 0.06
    panel(sp, m, m, w - m, h - m, s * 0.18, c, edge_w=s * 0.025, fill_alpha=0.8)
    pad = s * 0.22
    symbols.SYMBOLS[args["symbol"]](sp, c, (w - s) / 2 + pad, (h - s) / 2 + pad, s - 2 * pad)
    return sp


def k_achievement(w, h, args):
    """An achievement medallion: hexagon plate, rim and symbol."""
    c = colour_arg(args, "colour", GOLD)
    sp = Sprite(w, h)
    s = min(w, h)
    hexa = regular(w / 2, h / 2, s * 0.46, 6, rot=-90)
    sp.fill(PANEL, lambda p: p.poly(hexa), alpha=0.9)
    sp.gradient(lambda p: p.poly(regular(w / 2, h / 2, s * 0.42, 6, rot=-90)),
                scale(c, 0.35), scale(c, 0.05), alpha=0.6)
    sp.neon(c, lambda p: p.poly(hexa, width=s * 0.035), glow=0.9)
    sp.neon(c, lambda p: p.poly(regular(w / 2, h / 2, s * 0.39, 6, rot=-90), width=s * 0.01),
            glow=0.2, alpha=0.6)
    pad = s * 0.27
    symbols.SYMBOLS[args["symbol"]](sp, c, (w - s) / 2 + pad, (h - s) / 2 + pad, s - 2 * pad)
    return sp


def k_rosette(w, h, args):
    """A ribbon rosette with an empty middle for the place text."""
    c = colour_arg(args, "colour", MAGENTA)
    sp = Sprite(w, h)
    s = min(w, h)
    cx, cy = w / 2, h * 0.4
    for dx, col in ((-1, scale(c, 0.8)), (1, c)):
        tail = [(cx + dx * s * 0.06, cy + s * 0.2), (cx + dx * s * 0.26, cy + s * 0.56),
                (cx + dx * s * 0.18, cy + s * 0.52), (cx + dx * s * 0.12, cy + s * 0.6),
                (cx - dx * s * 0.06, cy + s * 0.22)]
        sp.fill(col, lambda p, tail=tail: p.poly(tail), alpha=0.55)
        sp.neon(col, lambda p, tail=tail: p.poly(tail, width=s * 0.02), glow=0.7)
    petals = []
    n = 16
    for i in range(2 * n):
        r = s * (0.36 if i % 2 == 0 else 0.3)
        t = 2 * math.pi * i / (2 * n)
        petals.append((cx + math.cos(t) * r, cy + math.sin(t) * r))
    sp.fill(c, lambda p: p.poly(petals), alpha=0.45)
    sp.neon(c, lambda p: p.poly(petals, width=s * 0.022), glow=1.0)
    sp.fill(PANEL, lambda p: p.circle(cx, cy, s * 0.22), alpha=0.92)
    sp.neon(WHITE, lambda p: p.circle(cx, cy, s * 0.22, width=s * 0.018), glow=0.5)
    return sp


def k_crown(w, h, args):
    c = colour_arg(args, "colour", GOLD)
    sp = Sprite(w, h)
    s = min(w, h)
    symbols.crown(sp, c, (w - s) / 2 + s * 0.08, (h - s) / 2 + s * 0.08, s * 0.84)
    return sp


# -- controller and keyboard glyphs ---------------------------------------------

XBOX_FACE = {"A": (0.3, 0.95, 0.35), "B": (1.0, 0.25, 0.3), "X": (0.3, 0.55, 1.0),
             "Y": (1.0, 0.85, 0.2)}
PS_FACE = {"A": ("cross", (0.45, 0.65, 1.0)), "B": ("circle", (1.0, 0.3, 0.4)),
           "X": ("square", (1.0, 0.45, 0.85)), "Y": ("triangle", (0.3, 1.0, 0.65))}


def _round_button(sp, w, h, c, r):
    sp.fill(PANEL, lambda p: p.circle(w / 2, h / 2, r), alpha=0.92)
    sp.gradient(lambda p: p.circle(w / 2, h / 2, r * 0.9), scale(c, 0.35), scale(c, 0.05),
                alpha=0.7)
    sp.neon(c, lambda p: p.circle(w / 2, h / 2, r, width=r * 0.12), glow=1.0)


def _pill(sp, x0, y0, x1, y1, c, s):
    sp.fill(PANEL, lambda p: p.rect(x0, y0, x1, y1, (y1 - y0) * 0.45), alpha=0.92)
    sp.gradient(lambda p: p.rect(x0, y0, x1, y1, (y1 - y0) * 0.45), scale(c, 0.3),
                scale(c, 0.04), alpha=0.7)
    sp.neon(c, lambda p: p.rect(x0, y0, x1, y1, (y1 - y0) * 0.45, width=s * 0.045), glow=1.0)


def k_glyph(w, h, args):
    pad_kind = args["pad"]
    b = args["button"]
    sp = Sprite(w, h)
    s = min(w, h)
    cx, cy = w / 2, h / 2
    if b in ("A", "B", "X", "Y"):
        if pad_kind == "xbox":
            c = XBOX_FACE[b]
            _round_button(sp, w, h, c, s * 0.42)
            sp.neon(c, lambda p: p.text(cx, cy + s * 0.02, b, s * 0.5), hot=0.55, glow=0.8)
        else:
            shape, c = PS_FACE[b]
            _round_button(sp, w, h, GREY, s * 0.42)
            lw = s * 0.06
            if shape == "cross":
                sp.neon(c, lambda p: (p.line([(cx - s * .16, cy - s * .16), (cx + s * .16, cy + s * .16)], lw),
                                      p.line([(cx + s * .16, cy - s * .16), (cx - s * .16, cy + s * .16)], lw)))
            elif shape == "circle":
                sp.neon(c, lambda p: p.circle(cx, cy, s * 0.18, width=lw))
            elif shape == "square":
                sp.neon(c, lambda p: p.rect(cx - s * .16, cy - s * .16, cx + s * .16, cy + s * .16, 0, width=lw))
            else:
                sp.neon(c, lambda p: p.poly(regular(cx, cy + s * 0.03, s * 0.2, 3), width=lw))
        return sp
    c = SKY if pad_kind == "xbox" else SILVER
    if b in ("LB", "RB"):
        label = b if pad_kind == "xbox" else ("L1" if b == "LB" else "R1")
        _pill(sp, s * 0.06, s * 0.3, w - s * 0.06, h - s * 0.3, c, s)
        sp.neon(WHITE, lambda p: p.text(cx, cy + s * 0.01, label, s * 0.28), glow=0.4)
    elif b in ("LT", "RT"):
        label = b if pad_kind == "xbox" else ("L2" if b == "LT" else "R2")
        pts = [(s * 0.22, s * 0.86), (s * 0.22, s * 0.36), (s * 0.36, s * 0.14),
               (s * 0.64, s * 0.14), (s * 0.78, s * 0.36), (s * 0.78, s * 0.86)]
        sp.fill(PANEL, lambda p: p.poly(pts), alpha=0.92)
        sp.gradient(lambda p: p.poly(pts), scale(c, 0.3), scale(c, 0.04), alpha=0.7)
        sp.neon(c, lambda p: p.poly(pts, width=s * 0.045))
        sp.neon(WHITE, lambda p: p.text(cx, cy + s * 0.08, label, s * 0.26), glow=0.4)
    elif b in ("Start", "Back"):
        _round_button(sp, w, h, c, s * 0.36)
        lw = s * 0.05
        if b == "Start":
            if pad_kind == "xbox":
                sp.neon(WHITE, lambda p: [p.line([(cx - s * .14, cy + d), (cx + s * .14, cy + d)], lw)
                                          for d in (-s * .1, 0, s * .1)], glow=0.5)
            else:
                sp.neon(WHITE, lambda p: p.text(cx, cy, "OPTIONS", s * 0.11, maxw=s * 0.6),
                        glow=0.5)
        else:
            if pad_kind == "xbox":
                sp.neon(WHITE, lambda p: (p.rect(cx - s * .15, cy - s * .1, cx + s * .05, cy + s * .04, s * .02, width=lw * .7),
                                          p.rect(cx - s * .05, cy - s * .02, cx + s * .15, cy + s * .12, s * .02, width=lw * .7)),
                        glow=0.5)
            else:
                sp.neon(WHITE, lambda p: p.text(cx, cy, "SHARE", s * 0.13, maxw=s * 0.6), glow=0.5)
    elif b in ("L3", "R3"):
        _round_button(sp, w, h, c, s * 0.42)
        sp.neon(c, lambda p: p.circle(cx, cy, s * 0.26, width=s * 0.03), glow=0.4, alpha=0.7)
        sp.neon(WHITE, lambda p: p.text(cx, cy + s * 0.01, b, s * 0.26), glow=0.5)
    elif b.startswith("dpad_"):
        d = b[5:]
        arm = s * 0.14
        L = s * 0.4
        cross_pts = [(cx - arm, cy - L), (cx + arm, cy - L), (cx + arm, cy - arm), (cx + L, cy - arm),
                     (cx + L, cy + arm), (cx + arm, cy + arm), (cx + arm, cy + L), (cx - arm, cy + L),
                     (cx - arm, cy + arm), (cx - L, cy + arm), (cx - L, cy - arm), (cx - arm, cy - arm)]
        sp.fill(PANEL, lambda p: p.poly(cross_pts), alpha=0.92)
        sp.neon(GREY, lambda p: p.poly(cross_pts, width=s * 0.035), glow=0.4)
        v = {"up": (0, -1), "down": (0, 1), "left": (-1, 0), "right": (1, 0)}[d]
        ax, ay = cx + v[0] * (L + arm) / 2, cy + v[1] * (L + arm) / 2
        half = (L - arm) / 2 - s * 0.02
        sp.fill(CYAN, lambda p: p.rect(ax - (half if v[0] else arm - s * .03),
                                       ay - (half if v[1] else arm - s * .03),
                                       ax + (half if v[0] else arm - s * .03),
                                       ay + (half if v[1] else arm - s * .03), s * 0.02),
                alpha=0.9, glow=1.0, hot=0.3)
    return sp


def k_key(w, h, args):
    """A keyboard key cap with its label."""
    label = args["label"].replace("_", " ")
    c = colour_arg(args, "colour", CYAN)
    sp = Sprite(w, h)
    s = min(w, h)
    m = s * 0.08
    sp.fill(PANEL, lambda p: p.rect(m, m, w - m, h - m, s * 0.14), alpha=0.92)
    sp.gradient(lambda p: p.rect(m * 1.6, m * 1.4, w - m * 1.6, h - m * 2.2, s * 0.1),
                scale(c, 0.28), scale(c, 0.05), alpha=0.8)
    sp.neon(c, lambda p: p.rect(m, m, w - m, h - m, s * 0.14, width=s * 0.045), glow=0.9)
    sym = {"Up": "arrowUp", "Down": "arrowDown", "Left": "arrowLeft", "Right": "arrowRight"}
    if label in sym:
        symbols.SYMBOLS[sym[label]](sp, WHITE, w / 2 - s * 0.22, h / 2 - s * 0.24, s * 0.44)
    elif label in ("LMB", "RMB", "MMB"):
        bx, by, bs = w / 2 - s * 0.3, h / 2 - s * 0.32, s * 0.6
        # The pressed button lights up inside the mouse's outline.
        body = sp.mask(lambda p: p.sub(bx, by, bs).rect(0.26, 0.08, 0.74, 0.92, 0.24))
        x0, x1 = {"LMB": (0.26, 0.5), "RMB": (0.5, 0.74), "MMB": (0.44, 0.56)}[label]
        part = sp.mask(lambda p: p.sub(bx, by, bs).rect(x0, 0.08, x1, 0.42))
        sp.paint(CYAN, body * part, alpha=0.85, glow=0.8, hot=0.2)
        symbols.mouse(sp, WHITE, bx, by, bs)
    else:
        size = s * (0.48 if len(label) == 1 else 0.26)
        sp.neon(WHITE, lambda p: p.text(w / 2, h / 2 - s * 0.02, label, size, maxw=w - 4 * m),
                glow=0.4, hot=0.0)
    return sp


# -- faces and logos ---------------------------------------------------------

def k_smiley(w, h, args):
    """The game's smiling face mark and its moods."""
    mood = args.get("mood", "smile")
    c = colour_arg(args, "colour", YELLOW)
    sp = Sprite(w, h)
    s = min(w, h)
    cx, cy, r = w / 2, h / 2, s * 0.42
    lw = s * 0.045
    sp.fill(INK, lambda p: p.circle(cx, cy, r), alpha=0.85)
    sp.gradient(lambda p: p.circle(cx, cy, r), scale(c, 0.3), scale(c, 0.04), alpha=0.8)
    sp.neon(c, lambda p: p.circle(cx, cy, r, width=lw), glow=1.1)
    ey = cy - r * 0.22
    ex = r * 0.36
    if mood == "angry":
        for d in (-1, 1):
            sp.neon(c, lambda p, d=d: p.line([(cx + d * ex * 1.6, ey - r * 0.3), (cx + d * ex * 0.35, ey - r * 0.08)], lw))
    for d in (-1, 1):
        if mood == "grin":
            sp.neon(c, lambda p, d=d: p.arc(cx + d * ex, ey + r * 0.06, r * 0.14, 200, 340, lw))
        else:
            sp.fill(c, lambda p, d=d: p.ellipse(cx + d * ex, ey, r * 0.09, r * 0.15), glow=1.0, hot=0.4)
    if mood == "smile":
        sp.neon(c, lambda p: p.arc(cx, cy + r * 0.02, r * 0.55, 25, 155, lw))
    elif mood == "grin":
        mouth = [(cx - r * 0.58, cy + r * 0.08), (cx + r * 0.58, cy + r * 0.08)]
        pts = [mouth[0]] + [(cx + math.cos(math.radians(a)) * r * 0.58,
                             cy + r * 0.08 + math.sin(math.radians(a)) * r * 0.52)
                            for a in range(0, 181, 10)][::-1][1:-1] + [mouth[1]]
        pts = [mouth[0]] + [(cx + math.cos(math.radians(a)) * r * 0.58,
                             cy + r * 0.08 + math.sin(math.radians(a)) * r * 0.52)
                            for a in range(180, -1, -10)]
        sp.fill(c, lambda p: p.poly(pts), alpha=0.35)
        sp.neon(c, lambda p: p.poly(pts, width=lw))
        sp.neon(c, lambda p: p.line([(cx - r * 0.5, cy + r * 0.3), (cx + r * 0.5, cy + r * 0.3)], lw * 0.6),
                alpha=0.7)
    elif mood == "sad":
        sp.neon(c, lambda p: p.arc(cx, cy + r * 0.72, r * 0.4, 215, 325, lw))
        sp.fill(SKY, lambda p: p.poly([(cx + ex + r * 0.02, ey + r * 0.18), (cx + ex + r * 0.1, ey + r * 0.38),
                                       (cx + ex + r * 0.02, ey + r * 0.46), (cx + ex - r * 0.06, ey + r * 0.38)]),
                glow=1.0, hot=0.3)
    elif mood == "angry":
        sp.neon(c, lambda p: p.arc(cx, cy + r * 0.8, r * 0.45, 220, 320, lw))
    return sp


def _outline_text(sp, x, y, text, size, face, fill_top, fill_bottom, edge, lw, glow=1.0,
                  anchor="mm", maxw=None, fill_alpha=0.55):
    solid = sp.mask(lambda p: p.text(x, y, text, size, face=face, anchor=anchor, maxw=maxw))
    thick = sp.mask(lambda p: p.text(x, y, text, size, face=face, anchor=anchor, maxw=maxw,
                                     stroke=lw))
    sp.gradient(solid, fill_top, fill_bottom, alpha=fill_alpha)
    sp.paint(edge, np.clip(thick - solid * 0.75, 0.0, 1.0), glow=glow, hot=0.35)


def k_wordmark(w, h, args):
    """The game's name as a neon tube sign; the full-power form burns gold."""
    text = args.get("text", "ZORBEX")
    full = args.get("style") == "full"
    sp = Sprite(w, h, glow=1.3 if full else 1.0, radii=(h * 0.03, h * 0.12))
    top, bottom, edge = (MAGENTA, VIOLET, CYAN) if not full else (WHITE, GOLD, YELLOW)
    # Speed lines behind the letters.
    for i, yy in enumerate((0.3, 0.5, 0.7)):
        x0 = w * (0.02 + 0.03 * i)
        sp.neon(MAGENTA if not full else ORANGE,
                lambda p, yy=yy, x0=x0: p.line([(x0, h * yy), (w * 0.12, h * yy)], h * 0.02),
                alpha=0.6, glow=0.6)
        sp.neon(MAGENTA if not full else ORANGE,
                lambda p, yy=yy, x0=x0: p.line([(w - w * 0.12, h * yy), (w - x0, h * yy)], h * 0.02),
                alpha=0.6, glow=0.6)
    _outline_text(sp, w / 2, h * 0.52, text, h * 0.62, "DejaVuSans-BoldOblique", top, bottom,
                  edge, h * 0.028, maxw=w * 0.74)
    if full:
        sp.neon(WHITE, lambda p: p.line([(w * 0.2, h * 0.9), (w * 0.8, h * 0.9)], h * 0.02),
                glow=1.0)
    return sp


def k_makerlogo(w, h, args):
    """The maker's mark: a quill over a marsh line and the name."""
    text = args.get("text", "QUILLMARSH")
    sp = Sprite(w, h)
    s = h
    qx, qy = h * 0.55, h * 0.5
    quill = [(qx + s * 0.3, qy - s * 0.38), (qx + s * 0.12, qy - s * 0.12), (qx - s * 0.06, qy + s * 0.12),
             (qx - s * 0.2, qy + s * 0.34), (qx - s * 0.1, qy + s * 0.06), (qx + s * 0.08, qy - s * 0.2)]
    sp.fill(CYAN, lambda p: p.poly(quill), alpha=0.35)
    sp.neon(WHITE, lambda p: p.poly(quill, width=s * 0.025), glow=1.0)
    sp.add_glow(CYAN, sp.mask(lambda p: p.poly(quill, width=s * 0.03)), 1.2)
    sp.neon(WHITE, lambda p: p.line([(qx - s * 0.2, qy + s * 0.34), (qx + s * 0.22, qy - s * 0.34)], s * 0.012),
            glow=0.6)
    wave = [(h * 0.18 + i * h * 0.03, h * 0.82 + math.sin(i * 0.9) * h * 0.025) for i in range(26)]
    sp.neon(CYAN, lambda p: p.line(wave, h * 0.02), glow=1.0)
    sp.neon(WHITE, lambda p: p.text(h * 1.12, h * 0.46, text, h * 0.32, anchor="lm",
                                    maxw=w - h * 1.2), glow=0.8, hot=0.0)
    sp.add_glow(CYAN, sp.mask(lambda p: p.text(h * 1.12, h * 0.46, text, h * 0.32, anchor="lm",
                                               maxw=w - h * 1.2)), 0.8)
    sp.neon(CYAN, lambda p: p.text(h * 1.14, h * 0.76, "GAMES", h * 0.14, anchor="lm",
                                   face="DejaVuSans"), glow=0.6, alpha=0.9)
    return sp


def k_brand(w, h, args):
    """A service mark: a symbol, with an optional name beside it."""
    c = colour_arg(args, "colour", SKY)
    text = args.get("text")
    sp = Sprite(w, h)
    s = h
    symbols.SYMBOLS[args["symbol"]](sp, c, s * 0.08, s * 0.08, s * 0.84)
    if text:
        sp.neon(WHITE, lambda p: p.text(s * 1.0, h * 0.5, text, h * 0.36, anchor="lm",
                                        maxw=w - s * 1.05), glow=0.6, hot=0.0)
        sp.add_glow(c, sp.mask(lambda p: p.text(s * 1.0, h * 0.5, text, h * 0.36, anchor="lm",
                                                maxw=w - s * 1.05)), 0.7)
    return sp


def k_anniversary(w, h, args):
    """A round '10 years' seal."""
    c = colour_arg(args, "colour", GOLD)
    sp = Sprite(w, h)
    s = min(w, h)
    cx, cy = w / 2, h / 2
    sp.fill(INK, lambda p: p.circle(cx, cy, s * 0.44), alpha=0.85)
    sp.neon(c, lambda p: p.circle(cx, cy, s * 0.44, width=s * 0.03))
    sp.neon(c, lambda p: p.circle(cx, cy, s * 0.37, width=s * 0.012), alpha=0.7, glow=0.4)
    for side in (-1, 1):
        for i in range(7):
            t = math.radians(110 + i * 20) if side < 0 else math.radians(70 - i * 20)
            px, py = cx + math.cos(t) * s * 0.3, cy + math.sin(t) * s * 0.3
            sp.fill(c, lambda p, px=px, py=py: p.ellipse(px, py, s * 0.025, s * 0.045), alpha=0.8,
                    glow=0.6)
    _outline_text(sp, cx, cy - s * 0.06, args.get("text", "10"), s * 0.34, "DejaVuSans-Bold",
                  WHITE, c, c, s * 0.012)
    sp.neon(WHITE, lambda p: p.text(cx, cy + s * 0.2, "YEARS", s * 0.1), glow=0.6, hot=0.0)
    return sp


# -- flags, ranks, makers --------------------------------------------------------

def k_flag(w, h, args):
    return flags.draw(w, h, args["code"])


RANK_TIERS = [  # (colour, frame sides, rotation)
    (BRONZE, 0, 0), (SILVER, 0, 0), (GOLD, 0, 0), (CYAN, 6, -90), (MAGENTA, 8, -90 + 22.5),
    (WHITE, 10, -90),
]


def k_rank(w, h, args):
    """Rank badge n: the tier decides colour and frame, the step adds pips."""
    n = int(args["n"])
    tier = min(5, (n - 1) // 5)
    step = (n - 1) % 5 + 1
    if n >= 26:
        step = 5
    c, sides, rot = RANK_TIERS[tier]
    sp = Sprite(w, h)
    s = min(w, h)
    cx, cy = w / 2, h * 0.52
    if sides == 0:
        frame = [(cx - s * 0.34, cy - s * 0.34), (cx + s * 0.34, cy - s * 0.34), (cx + s * 0.34, cy + s * 0.06),
                 (cx, cy + s * 0.4), (cx - s * 0.34, cy + s * 0.06)]
    elif sides == 10:
        frame = star_points(cx, cy, s * 0.44, s * 0.33, n=10, rot=rot)
    else:
        frame = regular(cx, cy, s * 0.4, sides, rot=rot)
    if tier >= 4:
        # Wings behind the top tiers.
        for d in (-1, 1):
            for k in range(3):
                wing = [(cx + d * s * 0.3, cy - s * 0.08 + k * s * 0.1),
                        (cx + d * s * (0.5 - k * 0.03), cy - s * (0.2 - k * 0.1)),
                        (cx + d * s * 0.32, cy + k * s * 0.1)]
                sp.neon(c if tier == 4 else GOLD, lambda p, wing=wing: p.poly(wing, width=s * 0.012),
                        alpha=0.8, glow=0.6)
    sp.fill(PANEL, lambda p: p.poly(frame), alpha=0.92)
    sp.gradient(lambda p: p.poly(frame), scale(c, 0.45), scale(c, 0.05), alpha=0.75)
    sp.neon(c, lambda p: p.poly(frame, width=s * 0.035), glow=1.0)
    if tier == 5:
        sp.add_glow(MAGENTA, sp.mask(lambda p: p.poly(frame, width=s * 0.05)), 0.6)
        sp.add_glow(CYAN, sp.mask(lambda p: p.poly(frame, width=s * 0.08)), 0.4)
    # Pips across the top, the rank number in the middle.
    for i in range(step):
        px = cx + (i - (step - 1) / 2.0) * s * 0.12
        sp.fill(c if tier < 5 else GOLD, lambda p, px=px: p.poly(star_points(px, cy - s * 0.2, s * 0.055, s * 0.024)),
                glow=1.0, hot=0.4)
    txt = str(n)
    _outline_text(sp, cx, cy + s * 0.04, txt, s * 0.3, "DejaVuSans-Bold", WHITE, mix(c, WHITE, 0.5), c,
                  s * 0.01, maxw=s * 0.5, fill_alpha=0.85)
    return sp


MAKERS = {
    # id: (emblem, colour, name)
    "brute": ("brute", ORANGE, "BRUTE"),
    "mosquito": ("mosquito", LIME, "MOSQUITO SYSTEMS"),
    "crazythief": ("thief", MAGENTA, "CRA$Y THIEF"),
    "scorched": ("scorched", (1.0, 0.4, 0.1), "SCORCHED EARTH"),
    "general": ("general", SKY, "GENERAL INDUSTRIES"),
    "blazer": ("blazer", CYAN, "BLAZER LABS"),
    "warbringer": ("warbringer", RED, "WAR BRINGER CARTEL"),
    # No name: a plain word, not a maker's name, which the game writes beside
    # the emblem in the player's language.
    "standard": ("standard", WHITE, None),
    "workshop": ("workshop", GREEN, None),
}


def emblem(sp, kind, c, cx, cy, s):
    """Manufacturer emblems, centred at (cx, cy) with size s."""
    lw = s * 0.05
    if kind == "brute":
        hexa = regular(cx, cy, s * 0.46, 6, rot=0)
        sp.fill(PANEL, lambda p: p.poly(hexa), alpha=0.9)
        sp.neon(c, lambda p: p.poly(hexa, width=lw))
        horns = [(cx - s * .3, cy - s * .26), (cx - s * .12, cy - s * .04), (cx, cy + s * .26),
                 (cx + s * .12, cy - s * .04), (cx + s * .3, cy - s * .26), (cx, cy - s * .08)]
        sp.fill(c, lambda p: p.poly(horns), alpha=0.5)
        sp.neon(c, lambda p: p.poly(horns, width=lw * 0.7))
    elif kind == "mosquito":
        sp.neon(c, lambda p: p.circle(cx, cy, s * 0.46, width=lw * 0.6), glow=0.6)
        for d in (-1, 1):
            wing = [(cx, cy - s * 0.05), (cx + d * s * 0.38, cy - s * 0.3), (cx + d * s * 0.3, cy + s * 0.02)]
            sp.fill(c, lambda p, wing=wing: p.poly(wing), alpha=0.3)
            sp.neon(c, lambda p, wing=wing: p.poly(wing, width=lw * 0.6))
        sp.neon(c, lambda p: p.line([(cx, cy - s * 0.2), (cx, cy + s * 0.36)], lw))
        sp.neon(WHITE, lambda p: p.line([(cx, cy - s * 0.2), (cx, cy - s * 0.42)], lw * 0.4), glow=0.6)
    elif kind == "thief":
        sp.fill(PANEL, lambda p: p.circle(cx, cy, s * 0.46), alpha=0.9)
        sp.neon(c, lambda p: p.circle(cx, cy, s * 0.46, width=lw))
        mask = [(cx - s * .4, cy - s * .12), (cx + s * .4, cy - s * .12), (cx + s * .34, cy + s * .1),
                (cx + s * .08, cy + s * .08), (cx, cy + s * .0), (cx - s * .08, cy + s * .08),
                (cx - s * .34, cy + s * .1)]
        sp.fill(c, lambda p: p.poly(mask), alpha=0.6)
        sp.neon(c, lambda p: p.poly(mask, width=lw * 0.6))
        for d in (-1, 1):
            sp.fill(INK, lambda p, d=d: p.ellipse(cx + d * s * .17, cy - s * .02, s * .07, s * .045), alpha=1.0)
        sp.neon(WHITE, lambda p: p.text(cx, cy + s * 0.27, "$", s * 0.26), glow=0.7)
    elif kind == "scorched":
        sp.fill(PANEL, lambda p: p.circle(cx, cy, s * 0.46), alpha=0.9)
        sp.neon(c, lambda p: p.circle(cx, cy, s * 0.46, width=lw))
        symbols.flame(sp, YELLOW, cx - s * 0.3, cy - s * 0.34, s * 0.6)
        sp.neon(c, lambda p: p.line([(cx - s * .36, cy + s * .26), (cx + s * .36, cy + s * .26)], lw * 0.8))
    elif kind == "general":
        symbols.gear(sp, c, cx - s * 0.48, cy - s * 0.48, s * 0.96)
        sp.neon(WHITE, lambda p: p.text(cx, cy + s * 0.01, "GI", s * 0.2), glow=0.5)
    elif kind == "blazer":
        sp.fill(PANEL, lambda p: p.circle(cx, cy, s * 0.46), alpha=0.9)
        for a in (0, 60, 120):
            sp.neon(c, lambda p, a=a: _rot_ellipse(p, cx, cy, s * 0.42, s * 0.14, a, lw * 0.6))
        sp.fill(WHITE, lambda p: p.circle(cx, cy, s * 0.07), glow=1.0)
    elif kind == "warbringer":
        sh = [(cx, cy - s * .46), (cx + s * .4, cy - s * .3), (cx + s * .32, cy + s * .16), (cx, cy + s * .46),
              (cx - s * .32, cy + s * .16), (cx - s * .4, cy - s * .3)]
        sp.fill(PANEL, lambda p: p.poly(sh), alpha=0.9)
        sp.neon(c, lambda p: p.poly(sh, width=lw))
        for d in (-1, 1):
            sp.neon(WHITE, lambda p, d=d: p.line([(cx - d * s * .22, cy - s * .22), (cx + d * s * .22, cy + s * .24)], lw * 0.8),
                    glow=0.7)
            sp.neon(c, lambda p, d=d: p.line([(cx - d * s * .28, cy - s * .06), (cx - d * s * .1, cy - s * .3)], lw * 0.6))
    elif kind == "standard":
        sp.fill(PANEL, lambda p: p.circle(cx, cy, s * 0.46), alpha=0.9)
        sp.neon(CYAN, lambda p: p.circle(cx, cy, s * 0.46, width=lw))
        symbols.ship(sp, c, cx - s * 0.3, cy - s * 0.3, s * 0.6)
    elif kind == "workshop":
        sp.fill(PANEL, lambda p: p.rect(cx - s * .44, cy - s * .44, cx + s * .44, cy + s * .44, s * .1), alpha=0.9)
        sp.neon(c, lambda p: p.rect(cx - s * .44, cy - s * .44, cx + s * .44, cy + s * .44, s * .1, width=lw))
        symbols.pencil(sp, c, cx - s * 0.3, cy - s * 0.3, s * 0.6)


def _rot_ellipse(p, cx, cy, rx, ry, deg, lw):
    t = math.radians(deg)
    pts = []
    for i in range(48):
        a = 2 * math.pi * i / 48
        x, y = math.cos(a) * rx, math.sin(a) * ry
        pts.append((cx + x * math.cos(t) - y * math.sin(t), cy + x * math.sin(t) + y * math.cos(t)))
    p.poly(pts, width=lw)


def k_manufacturer(w, h, args):
    key = args["maker"]
    kind, c, name = MAKERS[key]
    with_text = args.get("text", "1") == "1"
    sp = Sprite(w, h)
    if not with_text:
        s = min(w, h)
        emblem(sp, kind, c, w / 2, h / 2, s * 0.9)
        return sp
    s = h
    emblem(sp, kind, c, s / 2, h / 2, s * 0.86)
    if name is None:
        return sp
    words = name.split(" ")
    if len(words) == 1:
        lines = [name]
    else:
        cut = max(1, len(words) // 2)
        lines = [" ".join(words[:cut]), " ".join(words[cut:])]
    x0 = s * 1.08
    maxw = w - x0 - s * 0.06
    if len(lines) == 1:
        sp.neon(WHITE, lambda p: p.text(x0, h * 0.52, lines[0], h * 0.36, anchor="lm", maxw=maxw),
                glow=0.5, hot=0.0)
        sp.add_glow(c, sp.mask(lambda p: p.text(x0, h * 0.52, lines[0], h * 0.36, anchor="lm", maxw=maxw)), 0.8)
    else:
        for i, ln in enumerate(lines):
            yy = h * (0.34 + 0.34 * i)
            sp.neon(WHITE if i == 0 else c, lambda p, ln=ln, yy=yy: p.text(x0, yy, ln, h * 0.27, anchor="lm", maxw=maxw),
                    glow=0.5, hot=0.0)
            sp.add_glow(c, sp.mask(lambda p, ln=ln, yy=yy: p.text(x0, yy, ln, h * 0.27, anchor="lm", maxw=maxw)), 0.7)
    return sp


# -- ships and things in play ---------------------------------------------------

def k_hull(w, h, args):
    return hulls.hull(w, h, args)


def k_enemy(w, h, args):
    return hulls.enemy(w, h, args)


def k_bosspart(w, h, args):
    return hulls.boss_part(w, h, args)


def k_asteroid(w, h, args):
    return hulls.asteroid(w, h, args)


def k_preview(w, h, args):
    """A workshop preview picture: a hull on a dark grid."""
    sp = Sprite(w, h, glow=1.0)
    bg = background_field(w, h, "grid", seed_of("preview"))
    sp.field(bg[..., :3], bg[..., 3])
    ship = hulls.hull(int(w * 0.8), int(h * 0.8), {"maker": args.get("maker", "standard"),
                                                    "variant": args.get("variant", "1")})
    img = np.asarray(ship.image(), np.float32) / 255.0
    ox, oy = int(w * 0.1), int(h * 0.1)
    rgb = np.zeros((h, w, 3), np.float32)
    a = np.zeros((h, w), np.float32)
    rgb[oy:oy + img.shape[0], ox:ox + img.shape[1]] = img[..., :3]
    a[oy:oy + img.shape[0], ox:ox + img.shape[1]] = img[..., 3]
    sp.field(rgb, a)
    return sp


PICKUPS = {
    "SuperBomb": ("bomb", ORANGE), "MicroMissile": ("missiles", YELLOW),
    "UltraBeam": ("beam", CYAN), "ReflectShield": ("shield", BLUE), "EMP": ("emp", PURPLE),
    "AutoTurret": ("turret", LIME), "QEcho": ("echo", PINK), "Wingman": ("wingman", GREEN),
    "Power": ("power", MAGENTA), "Colour": ("palette", WHITE), "Multiplier": ("multiplier", YELLOW),
    "Cash": ("dollar", GREEN), "Life": ("heart", RED),
}


def k_pickup(w, h, args):
    """A pickup token; the BW form is a white symbol for the HUD to tint."""
    sym, c = PICKUPS[args["item"]]
    bw = args.get("bw") == "1"
    sp = Sprite(w, h)
    s = min(w, h)
    if bw:
        symbols.SYMBOLS[sym](sp, WHITE if sym != "palette" else WHITE, (w - s) / 2 + s * 0.08,
                             (h - s) / 2 + s * 0.08, s * 0.84)
        return sp
    cx, cy = w / 2, h / 2
    sp.fill(INK, lambda p: p.circle(cx, cy, s * 0.44), alpha=0.8)
    sp.gradient(lambda p: p.circle(cx, cy, s * 0.44), scale(c, 0.4), scale(c, 0.05), alpha=0.7)
    sp.neon(c, lambda p: p.circle(cx, cy, s * 0.44, width=s * 0.04), glow=1.2)
    pad = s * 0.22
    symbols.SYMBOLS[sym](sp, c if sym != "palette" else MAGENTA, (w - s) / 2 + pad, (h - s) / 2 + pad,
                         s - 2 * pad)
    return sp


# -- particles and effects --------------------------------------------------------

def _radial(w, h):
    y, x = np.mgrid[0:h, 0:w].astype(np.float32)
    dx = (x + 0.5 - w / 2) / (w / 2)
    dy = (y + 0.5 - h / 2) / (h / 2)
    return dx, dy, np.sqrt(dx * dx + dy * dy)


def k_particle(w, h, args):
    """White particle textures; the particle system colours them."""
    t = args["type"]
    sp = Sprite(w, h, glow=0.0)
    dx, dy, r = _radial(w, h)
    white = np.ones((h, w, 3), np.float32)
    if t == "puff":
        a = np.exp(-r * r * 5.0) * np.clip(1.0 - r, 0, 1)
    elif t == "glow":
        a = np.clip(1.0 - r, 0, 1) ** 2.2
    elif t == "flash":
        a = np.clip(1.0 - r, 0, 1) ** 1.4 * 0.9 + np.exp(-r * r * 40.0) * 0.1
    elif t == "halo":
        ang = np.arctan2(dy, dx)
        ring = np.exp(-((r - 0.72) / 0.08) ** 2)
        segs = 0.55 + 0.45 * np.clip(np.cos(ang * 3.0) * 1.5, -1, 1)
        a = ring * segs + np.exp(-((r - 0.72) / 0.22) ** 2) * 0.25
        a *= (r < 1.0)
    elif t == "shockwave":
        a = np.exp(-((r - 0.85) / 0.05) ** 2) + np.exp(-((r - 0.75) / 0.18) ** 2) * 0.3 * (r < 0.85)
        a *= (r < 1.0)
    elif t == "spark":
        a = np.exp(-(dx / 0.7) ** 2 * 2.0) * np.exp(-(dy / 0.12) ** 2 * 3.0)
    elif t == "sparkle":
        a = (np.exp(-np.abs(dx) * 14.0) * np.exp(-np.abs(dy) * 2.5) +
             np.exp(-np.abs(dy) * 14.0) * np.exp(-np.abs(dx) * 2.5) + np.exp(-r * r * 30.0))
        a *= np.clip(1.0 - r, 0, 1)
    elif t == "flare":
        ang = np.arctan2(dy, dx)
        rays = np.abs(np.cos(ang * 4.0)) ** 30
        a = np.exp(-r * r * 18.0) + rays * np.exp(-r * 3.0) * 0.8 + np.clip(1 - r, 0, 1) ** 3 * 0.25
    elif t == "ring":
        a = np.exp(-((r - 0.8) / 0.07) ** 2)
    elif t == "dot":
        a = np.clip((0.9 - r) * 8.0, 0, 1)
    elif t == "streak":
        a = np.exp(-(dy / 0.18) ** 2 * 2.0) * np.clip(1.0 - np.abs(dx), 0, 1) ** 0.7 * np.clip((dx + 1.0), 0, 1)
    else:
        raise ValueError("unknown particle type " + t)
    a = np.clip(a, 0.0, 1.0).astype(np.float32)
    sp.field(white, a)
    return sp


def k_projectile(w, h, args):
    t = args["type"]
    c = colour_arg(args, "colour", WHITE)
    sp = Sprite(w, h, radii=(min(w, h) * 0.06, min(w, h) * 0.18))
    cx, cy = w / 2, h / 2
    if t == "bullet":  # long axis vertical, travelling up
        sp.fill(c, lambda p: p.rect(cx - w * 0.16, h * 0.12, cx + w * 0.16, h * 0.88, w * 0.16),
                glow=1.4, hot=0.6)
    elif t == "round":
        sp.fill(c, lambda p: p.circle(cx, cy, min(w, h) * 0.26), glow=1.4, hot=0.6)
        sp.fill(WHITE, lambda p: p.circle(cx, cy, min(w, h) * 0.12), glow=0.0)
    elif t == "missile":
        body = [(cx, h * 0.06), (cx + w * 0.16, h * 0.26), (cx + w * 0.16, h * 0.7), (cx + w * 0.3, h * 0.84),
                (cx - w * 0.3, h * 0.84), (cx - w * 0.16, h * 0.7), (cx - w * 0.16, h * 0.26)]
        sp.fill(PANEL, lambda p: p.poly(body), alpha=0.9)
        sp.neon(c, lambda p: p.poly(body, width=w * 0.06))
        sp.fill(ORANGE, lambda p: p.ellipse(cx, h * 0.9, w * 0.12, h * 0.08), glow=1.5, hot=0.5)
    elif t == "beam":  # a horizontal segment that tiles along its length
        y = (np.arange(h, dtype=np.float32) + 0.5) / h * 2.0 - 1.0
        a = np.exp(-(y / 0.5) ** 2 * 2.0) * 0.8 + np.exp(-(y / 0.12) ** 2) * 0.2
        core = np.exp(-(y / 0.2) ** 2)
        col = np.array(c, np.float32)
        rgb = col[None, :] + (1.0 - col[None, :]) * core[:, None]
        sp.field(np.repeat(rgb[:, None, :], w, axis=1), np.repeat(np.clip(a, 0, 1)[:, None], w, axis=1))
        sp.glow = 0.0
    elif t == "engine":  # exhaust flame pointing down, white for the hue tint
        _, _, _ = _radial(w, h)
        yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
        u = (xx + 0.5 - w / 2) / (w / 2)
        v = (yy + 0.5) / h
        width = 0.5 * (1.0 - v) ** 0.8 + 0.02
        a = np.exp(-(u / np.maximum(width, 1e-3)) ** 2 * 2.0) * np.clip(1.0 - v, 0, 1) ** 1.2
        sp.field(np.ones((h, w, 3), np.float32), np.clip(a * 1.2, 0, 1))
        sp.glow = 0.0
    return sp


def k_turret(w, h, args):
    c = colour_arg(args, "colour", CYAN)
    sp = Sprite(w, h)
    s = min(w, h)
    cx, cy = w / 2, h / 2
    sp.fill(PANEL, lambda p: p.rect(cx - s * 0.07, s * 0.06, cx + s * 0.07, cy, s * 0.03), alpha=0.95)
    sp.neon(c, lambda p: p.rect(cx - s * 0.07, s * 0.06, cx + s * 0.07, cy, s * 0.03, width=s * 0.035))
    sp.fill(PANEL, lambda p: p.circle(cx, cy, s * 0.26), alpha=0.95)
    sp.neon(c, lambda p: p.circle(cx, cy, s * 0.26, width=s * 0.05))
    sp.fill(WHITE, lambda p: p.circle(cx, cy, s * 0.07), glow=1.0)
    return sp


# -- panels and backgrounds -------------------------------------------------------------

def k_panel(w, h, args):
    """Dark translucent panels with a neon edge, for layouts to stretch."""
    c = colour_arg(args, "colour", CYAN)
    style = args.get("style", "plain")
    s = min(w, h)
    sp = Sprite(w, h, radii=(max(1.0, s * 0.04), max(2.0, s * 0.12)))
    m = max(2.0, s * 0.08)
    rad = float(args.get("radius", s * 0.25))
    if style == "plain":
        panel(sp, m, m, w - m, h - m, rad, c, edge_w=max(1.5, s * 0.03))
    elif style == "highlight":
        panel(sp, m, m, w - m, h - m, rad, c, edge_w=max(2.0, s * 0.05), fill_alpha=0.85)
        sp.gradient(lambda p: p.rect(m, m, w - m, h - m, rad), scale(c, 0.45), scale(c, 0.1), alpha=0.45)
    elif style == "edge":  # white frame only, tinted by the caller
        sp.neon(WHITE, lambda p: p.rect(m, m, w - m, h - m, rad, width=max(2.0, s * 0.035)), glow=0.8)
        for (x0, y0) in ((m, m), (w - m, m), (m, h - m), (w - m, h - m)):
            sp.fill(WHITE, lambda p, x0=x0, y0=y0: p.circle(x0 + (rad * 0.3 if x0 == m else -rad * 0.3),
                                                            y0 + (rad * 0.3 if y0 == m else -rad * 0.3),
                                                            max(1.5, s * 0.02)), glow=1.0)
    elif style == "fill":  # white, for progress fills the caller tints
        sp.fill(WHITE, lambda p: p.rect(m, m, w - m, h - m, rad), alpha=0.95, glow=0.6)
        sp.gradient(lambda p: p.rect(m, m, w - m, (h) * 0.5, rad), WHITE, (0.8, 0.8, 0.8), alpha=0.0)
    elif style == "track":  # an empty bar
        sp.fill(INK, lambda p: p.rect(m, m, w - m, h - m, rad), alpha=0.75)
        sp.neon(c, lambda p: p.rect(m, m, w - m, h - m, rad, width=max(1.0, s * 0.06)), glow=0.5,
                alpha=0.7)
    elif style == "divider":
        sp.glow = 1.0
        xs = np.linspace(-1, 1, w, dtype=np.float32)
        fade = np.clip(1.0 - np.abs(xs) ** 3, 0, 1)
        m2 = sp.mask(lambda p: p.line([(w * 0.02, h / 2), (w * 0.98, h / 2)], max(1.0, h * 0.2)))
        sp.paint(c, m2 * fade[None, :], glow=1.0, hot=0.4)
    elif style == "header":
        sp.fill(PANEL, lambda p: p.rect(0, m, w, h - m, 0), alpha=0.85)
        sp.gradient(lambda p: p.rect(0, m, w, h - m, 0), scale(c, 0.35), (0, 0, 0), alpha=0.5,
                    horizontal=True)
        sp.neon(c, lambda p: p.line([(0, h - m), (w, h - m)], max(1.5, s * 0.05)), glow=1.0)
    elif style == "card":
        panel(sp, m, m, w - m, h - m, s * 0.08, c, edge_w=max(1.5, s * 0.015), fill_alpha=0.88)
        sp.neon(c, lambda p: p.line([(w * 0.15, h * 0.5), (w * 0.85, h * 0.5)], max(1.0, s * 0.008)),
                alpha=0.5, glow=0.3)
    elif style == "selector":
        for k in range(4):
            x0 = m if k % 2 == 0 else w - m
            y0 = m if k < 2 else h - m
            dxs = s * 0.25 if k % 2 == 0 else -s * 0.25
            dys = s * 0.25 if k < 2 else -s * 0.25
            sp.neon(c, lambda p, x0=x0, y0=y0, dxs=dxs, dys=dys: p.line(
                [(x0 + dxs, y0), (x0, y0), (x0, y0 + dys)], max(2.0, s * 0.05)))
    return sp


def k_cursor(w, h, args):
    c = colour_arg(args, "colour", CYAN)
    sp = Sprite(w, h)
    pts = [(w * 0.12, h * 0.08), (w * 0.12, h * 0.82), (w * 0.32, h * 0.64), (w * 0.46, h * 0.92),
           (w * 0.58, h * 0.86), (w * 0.45, h * 0.58), (w * 0.72, h * 0.58)]
    sp.fill(INK, lambda p: p.poly(pts), alpha=0.85)
    sp.neon(c, lambda p: p.poly(pts, width=w * 0.06))
    return sp


def background_field(w, h, kind, seed):
    """Tileable background pictures as an HxWx4 float field."""
    out = np.zeros((h, w, 4), np.float32)
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
    if kind == "grid":
        out[..., :3] = np.array((0.02, 0.025, 0.07), np.float32)
        out[..., 3] = 1.0
        step = w / 8.0
        gx = np.abs(((xx + 0.5) % step) - step / 2) - step / 2 + 0.75
        gy = np.abs(((yy + 0.5) % step) - step / 2) - step / 2 + 0.75
        line = np.clip(np.maximum(gx, gy) + 0.5, 0, 1)
        glowl = np.exp(-np.minimum(np.abs(((xx + 0.5) % step) - 0.0), np.abs(((yy + 0.5) % step) - 0.0)) ** 2 / 8.0)
        gcol = np.array(PURPLE, np.float32)
        k = np.clip(line * 0.55 + glowl * 0.15, 0, 1)[..., None]
        out[..., :3] = out[..., :3] * (1 - k) + gcol * k
    elif kind == "stars":
        out[..., :3] = np.array((0.01, 0.012, 0.035), np.float32)
        out[..., 3] = 1.0
        rng = Rng(seed)
        star = np.zeros((h, w), np.float32)
        for _ in range(int(w * h / 220)):
            x, y = rng.uniform(0, w), rng.uniform(0, h)
            b = rng.uniform(0.2, 1.0) ** 2
            ix, iy = int(x) % w, int(y) % h
            star[iy, ix] += b
        tiled = np.tile(star, (3, 3))
        g = blur(tiled[..., None], 1.0)[h:2 * h, w:2 * w, 0]
        star = np.clip(star + g * 2.0, 0, 1)
        tint = np.array((0.8, 0.9, 1.0), np.float32)
        out[..., :3] = out[..., :3] + tint * star[..., None]
        out[..., :3] = np.clip(out[..., :3], 0, 1)
    elif kind == "vignette":
        dx = (xx + 0.5) / w * 2 - 1
        dy = (yy + 0.5) / h * 2 - 1
        r = np.sqrt(dx * dx + dy * dy) / math.sqrt(2.0)
        out[..., 3] = np.clip((r - 0.35) / 0.65, 0, 1) ** 1.6
    elif kind == "scanlines":
        out[..., 3] = ((yy.astype(np.int32) % 4) < 1).astype(np.float32) * 0.35
    else:
        raise ValueError("unknown background " + kind)
    return out


def k_background(w, h, args):
    sp = Sprite(w, h, glow=0.0)
    f = background_field(w, h, args["type"], seed_of(args["type"]))
    sp.field(f[..., :3], f[..., 3])
    return sp


def k_countdown(w, h, args):
    """The 3-2-1-Go numerals: big neon figures in a ring, GO! burns hotter."""
    text = args["text"]
    go = not text.isdigit()
    c = {"3": CYAN, "2": MAGENTA, "1": YELLOW}.get(text, GREEN)
    sp = Sprite(w, h, glow=1.3 if go else 1.0)
    s = min(w, h)
    cx, cy = w / 2, h / 2
    sp.neon(c, lambda p: p.circle(cx, cy, s * 0.44, width=s * 0.02), alpha=0.8, glow=0.7)
    for a in range(0, 360, 30):
        t = math.radians(a)
        sp.neon(c, lambda p, t=t: p.line([(cx + math.cos(t) * s * 0.37, cy + math.sin(t) * s * 0.37),
                                          (cx + math.cos(t) * s * 0.41, cy + math.sin(t) * s * 0.41)], s * 0.015),
                alpha=0.6, glow=0.4)
    _outline_text(sp, cx, cy + s * 0.02, text, s * (0.36 if go else 0.56), "DejaVuSans-BoldOblique",
                  WHITE, c, c, s * 0.014, maxw=s * 0.74, fill_alpha=0.7)
    return sp


def k_stick(w, h, args):
    """The on-screen stick: a ring base with direction ticks, and its knob."""
    c = colour_arg(args, "colour", CYAN)
    sp = Sprite(w, h)
    s = min(w, h)
    cx, cy = w / 2, h / 2
    if args.get("part") == "knob":
        sp.fill(INK, lambda p: p.circle(cx, cy, s * 0.4), alpha=0.7)
        sp.gradient(lambda p: p.circle(cx, cy, s * 0.4), scale(c, 0.5), scale(c, 0.1), alpha=0.7)
        sp.neon(c, lambda p: p.circle(cx, cy, s * 0.4, width=s * 0.05))
        sp.neon(WHITE, lambda p: p.circle(cx, cy, s * 0.2, width=s * 0.025), alpha=0.6, glow=0.3)
        return sp
    sp.fill(INK, lambda p: p.circle(cx, cy, s * 0.45), alpha=0.45)
    sp.neon(c, lambda p: p.circle(cx, cy, s * 0.45, width=s * 0.02))
    sp.neon(c, lambda p: p.circle(cx, cy, s * 0.3, width=s * 0.008), alpha=0.5, glow=0.2)
    for a in (0, 90, 180, 270):
        t = math.radians(a)
        tip = (cx + math.cos(t) * s * 0.41, cy + math.sin(t) * s * 0.41)
        l = (cx + math.cos(t + 0.12) * s * 0.36, cy + math.sin(t + 0.12) * s * 0.36)
        r = (cx + math.cos(t - 0.12) * s * 0.36, cy + math.sin(t - 0.12) * s * 0.36)
        sp.fill(c, lambda p, tip=tip, l=l, r=r: p.poly([tip, l, r]), alpha=0.8, glow=0.8)
    return sp


KINDS = {
    "pixel": k_pixel, "loadbar": k_loadbar, "icon": k_icon, "menuicon": k_menuicon,
    "achievement": k_achievement, "rosette": k_rosette, "crown": k_crown, "glyph": k_glyph,
    "key": k_key, "smiley": k_smiley, "wordmark": k_wordmark, "makerlogo": k_makerlogo,
    "brand": k_brand, "anniversary": k_anniversary, "flag": k_flag, "rank": k_rank,
    "manufacturer": k_manufacturer, "hull": k_hull, "enemy": k_enemy, "bosspart": k_bosspart,
    "asteroid": k_asteroid, "preview": k_preview, "pickup": k_pickup, "particle": k_particle,
    "projectile": k_projectile, "turret": k_turret, "panel": k_panel, "cursor": k_cursor,
    "background": k_background, "countdown": k_countdown, "stick": k_stick,
}
