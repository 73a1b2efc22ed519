#!/usr/bin/python3
"""Draw the game screen's background pictures and write them as BMP files.

Every picture is a tile that the client repeats across the window, so each
one is drawn on a torus: all painting wraps around the edges and the seams
vanish.  Shapes are filled at 3x3 supersampling with opaque colours, the
result is averaged down, reduced to a small palette by median cut and
written as an uncompressed 8- or 4-bit Windows bitmap.

Run from this directory:  /usr/bin/python3 make-pictures.py
The output is deterministic; running it again gives identical files.
"""

import math
import random
import struct

SS = 3  # supersampling factor per axis


# ---------------------------------------------------------------- colours

def mix(a, b, t):
    """Blend colour a towards colour b by t (0..1)."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# ---------------------------------------------------------------- geometry

def signed_area(pts):
    s = 0.0
    n = len(pts)
    for i in range(n):
        x0, y0 = pts[i]
        x1, y1 = pts[(i + 1) % n]
        s += x0 * y1 - x1 * y0
    return s / 2.0


def orient(pts, positive=True):
    """Return the contour with the requested winding direction."""
    if (signed_area(pts) >= 0) != positive:
        return list(reversed(pts))
    return list(pts)


def ellipse_pts(cx, cy, rx, ry, rot=0.0, n=None):
    if n is None:
        n = max(12, int(max(rx, ry) * 2.2) + 8)
    c, s = math.cos(rot), math.sin(rot)
    pts = []
    for i in range(n):
        a = 2 * math.pi * i / n
        x, y = rx * math.cos(a), ry * math.sin(a)
        pts.append((cx + x * c - y * s, cy + x * s + y * c))
    return pts


def circle_pts(cx, cy, r, n=None):
    return ellipse_pts(cx, cy, r, r, 0.0, n)


def arc_pts(cx, cy, r, a0, a1, n=None, ry=None):
    """Points along an arc from angle a0 to a1 (radians, y grows downwards)."""
    if ry is None:
        ry = r
    if n is None:
        n = max(4, int(abs(a1 - a0) * max(r, ry) / 2.0) + 4)
    return [(cx + r * math.cos(a0 + (a1 - a0) * i / n),
             cy + ry * math.sin(a0 + (a1 - a0) * i / n)) for i in range(n + 1)]


def rect_pts(x, y, w, h):
    return [(x, y), (x + w, y), (x + w, y + h), (x, y + h)]


def round_rect_pts(x, y, w, h, r):
    r = min(r, w / 2.0, h / 2.0)
    pts = []
    corners = [(x + w - r, y + r, -math.pi / 2), (x + w - r, y + h - r, 0.0),
               (x + r, y + h - r, math.pi / 2), (x + r, y + r, math.pi)]
    for cx, cy, a in corners:
        pts.extend(arc_pts(cx, cy, r, a, a + math.pi / 2, 6))
    return pts


def star_pts(cx, cy, r_out, r_in, points=5, rot=0.0):
    pts = []
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = rot - math.pi / 2 + math.pi * i / points
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


class Xf:
    """Similarity transform for drawing a motif in its own coordinates."""

    def __init__(self, ox, oy, scale=1.0, rot=0.0):
        self.ox, self.oy, self.k = ox, oy, scale
        self.c, self.s = math.cos(rot) * scale, math.sin(rot) * scale
        self.rot = rot

    def p(self, x, y):
        return (self.ox + x * self.c - y * self.s, self.oy + x * self.s + y * self.c)

    def ps(self, pts):
        return [self.p(x, y) for x, y in pts]

    def d(self, v):
        return v * self.k


# ---------------------------------------------------------------- canvas

class Canvas:
    """A wrapping supersampled surface painted with opaque colours."""

    def __init__(self, w, h, bg):
        self.w, self.h, self.bg = w, h, tuple(bg)
        self.W, self.H = w * SS, h * SS
        self.px = [self.bg] * (self.W * self.H)

    def _span(self, Y, X0, X1, col):
        if X1 <= X0:
            return
        W = self.W
        if X1 - X0 >= W:
            X0, X1 = 0, W
        row = (Y % self.H) * W
        a = X0 % W
        n = X1 - X0
        if a + n <= W:
            self.px[row + a:row + a + n] = [col] * n
        else:
            k = W - a
            self.px[row + a:row + W] = [col] * k
            self.px[row:row + n - k] = [col] * (n - k)

    def fill(self, contours, col):
        """Fill contours by the non-zero winding rule (holes wind backwards)."""
        edges = []
        for c in contours:
            n = len(c)
            for i in range(n):
                x0, y0 = c[i]
                x1, y1 = c[(i + 1) % n]
                if y0 == y1:
                    continue
                d = 1
                if y0 > y1:
                    x0, y0, x1, y1 = x1, y1, x0, y0
                    d = -1
                Y0 = math.ceil(y0 * SS - 0.5)
                Y1 = math.ceil(y1 * SS - 0.5)
                if Y1 <= Y0:
                    continue
                edges.append((Y0, Y1, x0, y0, (x1 - x0) / (y1 - y0), d))
        if not edges:
            return
        edges.sort()
        y_end = max(e[1] for e in edges)
        active = []
        k = 0
        for Y in range(edges[0][0], y_end):
            while k < len(edges) and edges[k][0] <= Y:
                active.append(edges[k])
                k += 1
            active = [e for e in active if e[1] > Y]
            yc = (Y + 0.5) / SS
            xs = sorted((e[2] + (yc - e[3]) * e[4], e[5]) for e in active)
            wind = 0
            start = 0.0
            for x, d in xs:
                if wind == 0:
                    start = x
                wind += d
                if wind == 0:
                    self._span(Y, math.ceil(start * SS - 0.5), math.ceil(x * SS - 0.5), col)

    # Convenience shapes; every one is a single fill, so overlaps are harmless.

    def poly(self, pts, col):
        self.fill([orient(pts)], col)

    def disc(self, cx, cy, r, col):
        self.fill([circle_pts(cx, cy, r)], col)

    def ellipse(self, cx, cy, rx, ry, col, rot=0.0):
        self.fill([ellipse_pts(cx, cy, rx, ry, rot)], col)

    def ring(self, cx, cy, r_out, r_in, col):
        self.fill([orient(circle_pts(cx, cy, r_out)),
                   orient(circle_pts(cx, cy, r_in), False)], col)

    def stroke(self, pts, width, col, closed=False):
        """Stroke a polyline with round joins and caps."""
        hw = width / 2.0
        contours = []
        n = len(pts)
        seg = n if closed else n - 1
        for i in range(seg):
            x0, y0 = pts[i]
            x1, y1 = pts[(i + 1) % n]
            L = math.hypot(x1 - x0, y1 - y0)
            if L == 0:
                continue
            nx, ny = -(y1 - y0) / L * hw, (x1 - x0) / L * hw
            contours.append(orient([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                                    (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]))
        joint = max(8, int(hw * 6) + 4)
        for x, y in pts:
            contours.append(circle_pts(x, y, hw, joint))
        self.fill(contours, col)

    def line(self, x0, y0, x1, y1, width, col):
        self.stroke([(x0, y0), (x1, y1)], width, col)

    def shape(self, pts, fill, line, width):
        """A filled polygon with an outline."""
        self.poly(pts, fill)
        self.stroke(pts, width, line, closed=True)

    def reduce(self):
        """Average the supersampled surface down to the final pixel grid."""
        out = []
        W = self.W
        n = SS * SS
        for y in range(self.h):
            for x in range(self.w):
                r = g = b = 0
                for j in range(SS):
                    base = (y * SS + j) * W + x * SS
                    for c in self.px[base:base + SS]:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                out.append(((r + n // 2) // n, (g + n // 2) // n, (b + n // 2) // n))
        return out


def torus_dist(a, b, w, h):
    dx = abs(a[0] - b[0]) % w
    dy = abs(a[1] - b[1]) % h
    return math.hypot(min(dx, w - dx), min(dy, h - dy))


# ---------------------------------------------------------------- palette

def median_cut(counts, n):
    """Reduce a {colour: count} histogram to at most n colours."""
    boxes = [sorted(counts.items())]
    while len(boxes) < n:
        best, best_score = -1, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            rng = max(max(c[0][ch] for c in box) - min(c[0][ch] for c in box) for ch in range(3))
            score = rng * math.sqrt(sum(c[1] for c in box))
            if score > best_score:
                best, best_score = i, score
        if best < 0:
            break
        box = boxes.pop(best)
        ranges = [max(c[0][ch] for c in box) - min(c[0][ch] for c in box) for ch in range(3)]
        ch = ranges.index(max(ranges))
        box.sort(key=lambda c: (c[0][ch], c[0]))
        total = sum(c[1] for c in box)
        acc, cut = 0, 1
        for i, c in enumerate(box):
            acc += c[1]
            if acc * 2 >= total:
                cut = i + 1
                break
        cut = min(max(cut, 1), len(box) - 1)
        boxes.append(box[:cut])
        boxes.append(box[cut:])
    pal = []
    for box in boxes:
        t = sum(c[1] for c in box)
        pal.append(tuple((sum(c[0][ch] * c[1] for c in box) + t // 2) // t for ch in range(3)))
    pal = sorted(set(pal), key=lambda c: (-(c[0] * 299 + c[1] * 587 + c[2] * 114), c))
    return pal


def quantise(pixels, n):
    counts = {}
    for c in pixels:
        counts[c] = counts.get(c, 0) + 1
    pal = median_cut(counts, n)
    lookup = {}
    for c in counts:
        best, bd = 0, None
        for i, p in enumerate(pal):
            d = (c[0] - p[0]) ** 2 * 3 + (c[1] - p[1]) ** 2 * 4 + (c[2] - p[2]) ** 2 * 2
            if bd is None or d < bd:
                best, bd = i, d
        lookup[c] = best
    return pal, [lookup[c] for c in pixels]


# ---------------------------------------------------------------- BMP output

def bmp_bytes(w, h, pal, idx, bits, table_size, clr_used):
    """Uncompressed bottom-up palette bitmap.  table_size entries are written
    (unused ones black); clr_used goes into biClrUsed (0 = 2**bits)."""
    assert bits in (4, 8) and len(pal) <= table_size <= (1 << bits)
    stride = ((w * bits + 31) // 32) * 4
    rows = []
    for y in range(h - 1, -1, -1):
        line = idx[y * w:(y + 1) * w]
        if bits == 8:
            row = bytearray(line)
        else:
            row = bytearray()
            for x in range(0, w, 2):
                hi = line[x]
                lo = line[x + 1] if x + 1 < w else 0
                row.append((hi << 4) | lo)
        row.extend(b'\0' * (stride - len(row)))
        rows.append(bytes(row))
    data = b''.join(rows)
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in pal)
    table += b'\0' * (4 * (table_size - len(pal)))
    off = 14 + 40 + 4 * table_size
    size = off + len(data)
    head = struct.pack('<2sIHHI', b'BM', size, 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, len(data),
                       2835, 2835, clr_used, 0)
    return head + info + table + data


def save(name, cv, bits=8, colours=256, full_table=False):
    pixels = cv.reduce()
    pal, idx = quantise(pixels, colours)
    if full_table:
        table_size, clr_used = 1 << bits, 0
    else:
        table_size = clr_used = len(pal)
    with open(name, 'wb') as f:
        f.write(bmp_bytes(cv.w, cv.h, pal, idx, bits, table_size, clr_used))


# ---------------------------------------------------------------- motifs

def question_mark(cv, x, y, size, rot, col, width):
    t = Xf(x, y, size, rot)
    hook = arc_pts(0, -0.22, 0.24, math.pi * 1.05, math.pi * 2.35, 18)
    hook += [(0.02, 0.12), (0.02, 0.22)]
    cv.stroke(t.ps(hook), width, col)
    px, py = t.p(0.02, 0.42)
    cv.disc(px, py, width * 0.75, col)


def draw_back():
    W, H = 176, 132
    bg = (236, 238, 243)
    grid = (228, 231, 238)
    ink = (212, 217, 230)
    cv = Canvas(W, H, bg)
    # A soft lattice of diamonds, periodic with the tile.
    for i in range(-1, 5):
        x0 = i * 44
        cv.line(x0, 0, x0 + 66, H, 1.0, grid)
        cv.line(x0 + 66, 0, x0, H, 1.0, grid)
    for i in range(4):
        for j in range(3):
            cv.disc(i * 44 + 22, j * 44 + 22, 1.6, grid)
    rnd = random.Random(11)
    spots = [(30, 34, 30), (112, 26, 22), (78, 92, 34), (150, 100, 26),
             (150, 56, 16), (22, 110, 18), (58, 8, 14)]
    for x, y, s in spots:
        question_mark(cv, x, y, s * 1.5, rnd.uniform(-0.35, 0.35), ink, s * 0.17)
    save('BACK.BMP', cv, bits=4, colours=16)


def film_strip(cv, W, y0, amp, width, body, line, hole):
    def cy(x):
        return y0 + amp * math.sin(2 * math.pi * x / W)

    def frame(x):
        # Local tangent frame along the strip.
        d = amp * 2 * math.pi / W * math.cos(2 * math.pi * x / W)
        L = math.hypot(1, d)
        return (1 / L, d / L), (-d / L, 1 / L)

    xs = [x * 2 for x in range(-6, W // 2 + 7)]
    hw = width / 2.0
    top, bot = [], []
    for x in xs:
        (tx, ty), (nx, ny) = frame(x)
        top.append((x + nx * -hw, cy(x) + ny * -hw))
        bot.append((x + nx * hw, cy(x) + ny * hw))
    cv.poly(top + list(reversed(bot)), body)
    cv.stroke(top, 1.6, line)
    cv.stroke(bot, 1.6, line)
    step = 12
    for k in range(W // step):
        x = k * step + 6
        (tx, ty), (nx, ny) = frame(x)
        for side in (-1, 1):
            off = side * (hw - 5.5)
            hx, hy = x + nx * off, cy(x) + ny * off
            pts = [(hx + tx * a + nx * b, hy + ty * a + ny * b)
                   for a, b in ((-2.6, -2.0), (2.6, -2.0), (2.6, 2.0), (-2.6, 2.0))]
            cv.poly(pts, hole)
    # Frames between the two rows of holes.
    fstep = W // 8
    for k in range(8):
        x0 = k * fstep + 4
        x1 = x0 + fstep - 8
        inner = hw - 10
        ptsT = []
        ptsB = []
        for i in range(9):
            x = x0 + (x1 - x0) * i / 8
            (tx, ty), (nx, ny) = frame(x)
            ptsT.append((x - nx * inner, cy(x) - ny * inner))
            ptsB.append((x + nx * inner, cy(x) + ny * inner))
        cv.stroke(ptsT + list(reversed(ptsB)), 1.3, line, closed=True)


def clapperboard(cv, x, y, s, rot, fill, line, dark):
    t = Xf(x, y, s, rot)
    lw = 1.6
    body = rect_pts(-30, -10, 60, 40)
    cv.shape(t.ps(body), fill, line, lw)
    # Fixed striped bar along the top of the board.
    bar = rect_pts(-30, -20, 60, 10)
    cv.poly(t.ps(bar), fill)
    for i in range(6):
        sx = -30 + i * 10
        cv.poly(t.ps([(sx, -20), (sx + 5, -20), (sx + 10, -10), (sx + 5, -10)]), dark)
    cv.poly(t.ps([(25, -20), (30, -20), (30, -10)]), fill)
    cv.stroke(t.ps(bar), lw, line, closed=True)
    # The hinged clapper, lifted open.
    h = Xf(*t.p(-30, -20), s, rot - 0.35)
    clap = rect_pts(0, -10, 60, 10)
    cv.poly(h.ps(clap), fill)
    for i in range(6):
        sx = i * 10
        cv.poly(h.ps([(sx + 5, -10), (sx + 10, -10), (sx + 5, 0), (sx, 0)]), dark)
    cv.stroke(h.ps(clap), lw, line, closed=True)
    hx, hy = t.p(-30, -20)
    cv.disc(hx, hy, t.d(2.2), line)
    # Slate lines.
    for ly in (2, 12, 22):
        cv.line(*t.p(-24, ly), *t.p(24, ly), 1.1, line)
    cv.line(*t.p(0, -4), *t.p(0, 26), 1.1, line)


def film_reel(cv, x, y, r, rot, fill, line, bg):
    cv.disc(x, y, r, fill)
    cv.ring(x, y, r, r - 1.8, line)
    cv.ring(x, y, r * 0.86, r * 0.86 - 1.0, line)
    for i in range(5):
        a = rot + 2 * math.pi * i / 5
        hx, hy = x + math.cos(a) * r * 0.5, y + math.sin(a) * r * 0.5
        cv.disc(hx, hy, r * 0.2, bg)
        cv.ring(hx, hy, r * 0.2 + 0.7, r * 0.2 - 0.5, line)
    cv.disc(x, y, r * 0.14, line)
    cv.disc(x, y, r * 0.06, fill)


def star(cv, x, y, r, rot, fill, line, lw=1.3):
    cv.shape(star_pts(x, y, r, r * 0.45, 5, rot), fill, line, lw)


def draw_movies():
    W, H = 288, 192
    bg = (239, 232, 248)
    ink = (120, 80, 170)
    fill = mix(bg, ink, 0.10)
    line = mix(bg, ink, 0.26)
    dark = mix(bg, ink, 0.19)
    cv = Canvas(W, H, bg)
    film_strip(cv, W, 152, 10, 38, fill, line, bg)
    clapperboard(cv, 66, 66, 1.05, -0.08, fill, line, dark)
    film_reel(cv, 196, 62, 34, 0.3, fill, line, bg)
    for x, y, r, a in ((134, 28, 11, 0.2), (262, 116, 9, -0.3), (130, 98, 8, 0.5),
                       (18, 114, 7, 0.1), (258, 16, 6, 0.4), (226, 112, 5, 0.0)):
        star(cv, x, y, r, a, fill, line)
    save('MOVIES.BMP', cv)


def globe(cv, x, y, r, fill, line, land, bg):
    cv.disc(x, y, r, fill)
    # Landmasses: blobs that spill over the rim and are trimmed afterwards.
    rnd = random.Random(5)
    for bx, by, br in ((-0.35, -0.3, 0.38), (0.3, 0.25, 0.32), (0.55, -0.45, 0.2), (-0.2, 0.55, 0.22)):
        pts = []
        for i in range(24):
            a = 2 * math.pi * i / 24
            rr = br * r * (1 + 0.25 * math.sin(3 * a + rnd.uniform(0, 6)) + 0.1 * rnd.uniform(-1, 1))
            pts.append((x + bx * r + rr * math.cos(a), y + by * r + rr * math.sin(a)))
        cv.poly(pts, land)
    cv.ring(x, y, r + 12, r, bg)
    for k in (1, 2):
        rx = r * math.cos(k * math.pi / 6)
        cv.stroke(ellipse_pts(x, y, rx, r), 1.1, line, closed=True)
    cv.line(x, y - r, x, y + r, 1.1, line)
    for lat in (-0.6, -0.3, 0.0, 0.3, 0.6):
        yy = y + r * math.sin(lat * math.pi / 2 * 1.2)
        half = math.sqrt(max(0.0, r * r - (yy - y) ** 2))
        cv.stroke(arc_pts(x, yy - 2, half, 0, math.pi, 16, ry=3 * math.cos(lat)), 1.0, line)
    cv.ring(x, y, r + 0.9, r - 0.9, line)


def compass(cv, x, y, R, fill, line, dark):
    cv.ring(x, y, R * 0.74, R * 0.74 - 1.2, line)
    cv.ring(x, y, R * 0.64, R * 0.64 - 0.8, line)
    for i in range(8):
        a = -math.pi / 2 + i * math.pi / 4 + math.pi / 8
        cv.line(x + math.cos(a) * R * 0.64, y + math.sin(a) * R * 0.64,
                x + math.cos(a) * R * 0.74, y + math.sin(a) * R * 0.74, 1.0, line)
    for i in range(8):
        a = -math.pi / 2 + i * math.pi / 4
        L = R if i % 2 == 0 else R * 0.55
        w = R * 0.16 if i % 2 == 0 else R * 0.12
        tip = (x + math.cos(a) * L, y + math.sin(a) * L)
        l = (x + math.cos(a - math.pi / 2) * w, y + math.sin(a - math.pi / 2) * w)
        r = (x + math.cos(a + math.pi / 2) * w, y + math.sin(a + math.pi / 2) * w)
        c = (x, y)
        cv.poly([c, l, tip], fill)
        cv.poly([c, tip, r], dark)
        cv.stroke([c, l, tip, r], 1.1, line, closed=True)
    cv.disc(x, y, 2.2, line)
    # The letter N above the north point.
    nx, ny = x, y - R - 9
    cv.stroke([(nx - 4, ny + 5), (nx - 4, ny - 5), (nx + 4, ny + 5), (nx + 4, ny - 5)], 1.6, line)


def contour_island(cv, x, y, r0, levels, seed, line, fills):
    rnd = random.Random(seed)
    harm = [(k, rnd.uniform(0.04, 0.14) / k ** 0.3, rnd.uniform(0, 2 * math.pi)) for k in (2, 3, 5)]
    rings = []
    for lv in range(levels):
        rr = r0 * (1 - lv / (levels + 0.6))
        pts = []
        for i in range(72):
            a = 2 * math.pi * i / 72
            f = 1 + sum(amp * math.sin(k * a + ph + lv * 0.4) for k, amp, ph in harm)
            pts.append((x + rr * f * math.cos(a), y + rr * f * 0.8 * math.sin(a)))
        rings.append(pts)
    for lv, pts in enumerate(rings):
        if fills[lv] is not None:
            cv.poly(pts, fills[lv])
        cv.stroke(pts, 1.0, line, closed=True)


def draw_geograph():
    W, H = 256, 192
    bg = (226, 239, 251)
    ink = (40, 100, 170)
    fill = mix(bg, ink, 0.08)
    line = mix(bg, ink, 0.24)
    dark = mix(bg, ink, 0.16)
    land = mix(fill, (150, 200, 160), 0.22)
    cv = Canvas(W, H, bg)
    # Dashed graticule across the whole tile.
    grid = mix(bg, ink, 0.07)
    for gx in range(0, W, 64):
        for yy in range(0, H, 8):
            cv.line(gx + 32, yy, gx + 32, yy + 4, 0.8, grid)
    for gy in range(0, H, 64):
        for xx in range(0, W, 8):
            cv.line(xx, gy + 32, xx + 4, gy + 32, 0.8, grid)
    contour_island(cv, 206, 30, 44, 4, 3, line,
                   [mix(bg, (150, 200, 160), 0.10), mix(bg, (150, 200, 160), 0.16), None, None])
    contour_island(cv, 30, 176, 36, 3, 8, line,
                   [mix(bg, (150, 200, 160), 0.10), None, None])
    globe(cv, 74, 78, 46, fill, line, land, bg)
    compass(cv, 186, 138, 34, fill, line, dark)
    save('GEOGRAPH.BMP', cv)


def column(cv, x, y, s, fill, line):
    t = Xf(x, y, s)
    lw = 1.4
    # Base: plinth and torus moulding.
    cv.shape(t.ps(rect_pts(-22, 62, 44, 8)), fill, line, lw)
    cv.shape(t.ps(round_rect_pts(-18, 55, 36, 7, 3)), fill, line, lw)
    # Shaft with a slight taper and flutes.
    shaft = [(-14, -50), (14, -50), (15.5, 55), (-15.5, 55)]
    cv.shape(t.ps(shaft), fill, line, lw)
    for f in (-8.5, -3, 3, 8.5):
        cv.line(*t.p(f * 0.93, -47), *t.p(f * 1.05, 52), 1.0, line)
    # Capital: echinus, abacus and two volutes.
    cv.shape(t.ps(round_rect_pts(-20, -58, 40, 8, 3)), fill, line, lw)
    cv.shape(t.ps(rect_pts(-25, -64, 50, 6)), fill, line, lw)
    for side in (-1, 1):
        cx, cy = t.p(side * 21, -53)
        cv.disc(cx, cy, t.d(7), fill)
        spiral = []
        for i in range(48):
            a = i / 47 * 2.2 * math.pi
            rr = t.d(7 * (1 - i / 58))
            spiral.append((cx + side * rr * math.cos(a + math.pi / 2), cy - rr * math.sin(a + math.pi / 2)))
        cv.stroke(spiral, 1.3, line)
        cv.disc(cx, cy, t.d(1.6), line)


def scroll(cv, x, y, s, rot, fill, line, dark):
    t = Xf(x, y, s, rot)
    lw = 1.4
    sheet = [(-40, -24), (40, -24), (40, 24), (-40, 24)]
    cv.shape(t.ps(sheet), fill, line, lw)
    for ly in (-14, -6, 2, 10):
        cv.line(*t.p(-30, ly), *t.p(28 - (ly + 14) * 0.5, ly), 1.1, line)
    for side in (-1, 1):
        cx = side * 44
        roll = round_rect_pts(cx - 5, -29, 10, 58, 5)
        cv.shape(t.ps(roll), dark, line, lw)
        ex, ey = t.p(cx, -27)
        cv.ellipse(ex, ey, t.d(3.2), t.d(1.6), fill, rot)
        ex, ey = t.p(cx, 27)
        cv.ellipse(ex, ey, t.d(3.2), t.d(1.6), fill, rot)


def hourglass(cv, x, y, s, rot, fill, line, sand):
    t = Xf(x, y, s, rot)
    lw = 1.4
    glass = [(-15, -28), (15, -28), (2.2, 0), (15, 28), (-15, 28), (-2.2, 0)]
    cv.shape(t.ps(glass), fill, line, lw)
    cv.poly(t.ps([(-7.5, -11.5), (7.5, -11.5), (1.2, 0), (-1.2, 0)]), sand)
    cv.poly(t.ps([(-13, 26), (13, 26), (0, 12)]), sand)
    cv.line(*t.p(0, 0), *t.p(0, 20), 0.9, sand)
    cv.stroke(t.ps(glass), lw, line, closed=True)
    for py in (-34, 28):
        cv.shape(t.ps(round_rect_pts(-21, py, 42, 6, 2)), fill, line, lw)
    for px in (-18, 18):
        cv.line(*t.p(px, -28), *t.p(px, 28), 2.0, line)


def quill(cv, x, y, s, rot, fill, line):
    t = Xf(x, y, s, rot)
    lw = 1.3
    # Feather vane around a gently curved shaft, tip at the top.
    left, right, spine = [], [], []
    n = 20
    for i in range(n + 1):
        u = i / n
        sy = -46 + u * 72
        sx = 5 * math.sin(u * math.pi * 0.9)
        w = 11 * math.sin(min(1.0, u * 1.15) * math.pi) ** 0.7 if u < 0.87 else 0.0
        spine.append((sx, sy))
        left.append((sx - w * 1.1, sy + w * 0.35))
        right.append((sx + w * 0.8, sy + w * 0.35))
    vane = left + list(reversed(right))
    cv.shape(t.ps(vane), fill, line, lw)
    for i in range(3, n - 3, 2):
        sx, sy = spine[i]
        lx, ly = left[i]
        rx, ry = right[i]
        cv.line(*t.p(sx, sy), *t.p(lx * 0.8 + sx * 0.2, ly + 2), 0.9, line)
        cv.line(*t.p(sx, sy), *t.p(rx * 0.8 + sx * 0.2, ry + 2), 0.9, line)
    cv.stroke(t.ps(spine), 1.5, line)
    # Nib.
    tx, ty = spine[-1]
    nib = [(tx - 2.2, ty), (tx + 2.2, ty), (tx + 0.4, ty + 12), (tx - 0.4, ty + 12)]
    cv.shape(t.ps(nib), line, line, 1.0)


def draw_history():
    W, H = 278, 196
    bg = (247, 239, 222)
    ink = (150, 100, 40)
    fill = mix(bg, ink, 0.09)
    line = mix(bg, ink, 0.28)
    dark = mix(bg, ink, 0.17)
    cv = Canvas(W, H, bg)
    column(cv, 44, 92, 1.1, fill, line)
    scroll(cv, 170, 46, 1.0, -0.1, fill, line, dark)
    hourglass(cv, 142, 140, 1.05, 0.25, fill, line, dark)
    quill(cv, 236, 138, 1.0, 0.55, fill, line)
    # A few faint laurel leaves as fillers.
    for lx, ly, a in ((106, 184, 0.6), (214, 96, -0.5), (96, 58, 2.2)):
        for k in range(4):
            px = lx + math.cos(a) * k * 6
            py = ly + math.sin(a) * k * 6
            for side in (-1, 1):
                cv.ellipse(px + math.cos(a + side * 1.1) * 4, py + math.sin(a + side * 1.1) * 4,
                           4.2, 1.8, dark, a + side * 0.7)
    save('HISTORY.BMP', cv, colours=96)


def soccer_ball(cv, x, y, r, fill, line, patch, bg):
    cv.disc(x, y, r, fill)
    angles = [-math.pi / 2 + i * 2 * math.pi / 5 for i in range(5)]
    pent = [(x + r * 0.34 * math.cos(a), y + r * 0.34 * math.sin(a)) for a in angles]
    cv.poly(pent, patch)
    for a, (px, py) in zip(angles, pent):
        # Outer pentagon in the direction of each corner, foreshortened
        # towards the rim; one corner points back at the centre.
        cx, cy = x + r * 0.84 * math.cos(a), y + r * 0.84 * math.sin(a)
        ux, uy = math.cos(a), math.sin(a)
        outer = []
        for k in range(5):
            b = a + math.pi + k * 2 * math.pi / 5
            dx, dy = r * 0.3 * math.cos(b), r * 0.3 * math.sin(b)
            radial = dx * ux + dy * uy
            dx -= ux * radial * 0.4
            dy -= uy * radial * 0.4
            outer.append((cx + dx, cy + dy))
        cv.poly(outer, patch)
        cv.line(px, py, outer[0][0], outer[0][1], 1.1, line)
        for k, side in ((1, 1), (4, -1)):
            ox, oy = outer[k]
            b = a + side * math.pi / 5
            cv.line(ox, oy, x + r * 1.1 * math.cos(b), y + r * 1.1 * math.sin(b), 1.1, line)
    # Trim everything that spilled over the rim.
    cv.ring(x, y, r + 16, r, bg)
    cv.ring(x, y, r + 0.9, r - 0.9, line)


def basketball(cv, x, y, r, fill, line, bg):
    cv.disc(x, y, r, fill)
    cv.line(x - r, y, x + r, y, 1.2, line)
    cv.line(x, y - r, x, y + r, 1.2, line)
    for side in (-1, 1):
        cv.stroke(arc_pts(x + side * r * 1.25, y, r * 0.95, math.pi * 0.62, math.pi * 1.38)
                  if side > 0 else arc_pts(x - r * 1.25, y, r * 0.95, -math.pi * 0.38, math.pi * 0.38),
                  1.2, line)
    cv.ring(x, y, r + 14, r, bg)
    cv.ring(x, y, r + 0.9, r - 0.9, line)


def tennis_ball(cv, x, y, r, fill, line, bg):
    cv.disc(x, y, r, fill)
    cv.stroke(arc_pts(x - r * 1.05, y - r * 0.2, r * 0.78, -math.pi * 0.55, math.pi * 0.55), 1.4, line)
    cv.stroke(arc_pts(x + r * 1.05, y + r * 0.2, r * 0.78, math.pi * 0.45, math.pi * 1.55), 1.4, line)
    cv.ring(x, y, r + 12, r, bg)
    cv.ring(x, y, r + 0.8, r - 0.8, line)


def whistle(cv, x, y, s, rot, fill, line):
    t = Xf(x, y, s, rot)
    lw = 1.4
    body = circle_pts(0, 0, 14)
    tube = rect_pts(-2, -14, 32, 11)
    cv.poly(t.ps(tube), fill)
    cv.poly(t.ps(body), fill)
    cv.stroke(t.ps([(-2, -14), (30, -14), (30, -3), (10.5, -3)]), lw, line)
    cv.stroke(t.ps(arc_pts(0, 0, 14, -math.pi / 2 + 0.0, math.pi * 1.5 - 0.55, 28)), lw, line)
    cv.poly(t.ps(rect_pts(6, -18, 8, 4.5)), line)
    cx, cy = t.p(0, 0)
    cv.ring(cx, cy, t.d(5), t.d(3.6), line)
    # Lanyard ring and a loose cord.
    rx, ry = t.p(-14, -10)
    cv.ring(rx, ry, t.d(5), t.d(3.6), line)
    cord = [t.p(-18 - i * 2.2, -12 + 6 * math.sin(i * 0.55)) for i in range(14)]
    cv.stroke(cord, 1.2, line)


def stopwatch(cv, x, y, r, fill, line, face):
    cv.shape(round_rect_pts(x - 4.5, y - r - 9, 9, 7, 2), fill, line, 1.3)
    cv.line(x, y - r - 2, x, y - r + 2, 3.0, line)
    a = -math.pi / 4
    bx, by = x + math.cos(a) * (r + 4), y + math.sin(a) * (r + 4)
    cv.line(x + math.cos(a) * r, y + math.sin(a) * r, bx, by, 3.2, line)
    cv.disc(x, y, r, fill)
    cv.disc(x, y, r - 4, face)
    cv.ring(x, y, r + 0.9, r - 0.9, line)
    cv.ring(x, y, r - 3.5, r - 4.5, line)
    for i in range(12):
        a = i * math.pi / 6
        L = 5 if i % 3 == 0 else 3
        cv.line(x + math.cos(a) * (r - 6), y + math.sin(a) * (r - 6),
                x + math.cos(a) * (r - 6 - L), y + math.sin(a) * (r - 6 - L), 1.2, line)
    cv.line(x, y, x + (r - 9) * math.cos(-1.0), y + (r - 9) * math.sin(-1.0), 1.5, line)
    cv.line(x, y, x + (r - 13) * math.cos(0.9), y + (r - 13) * math.sin(0.9), 1.5, line)
    cv.disc(x, y, 2.2, line)


def draw_sports():
    W, H = 255, 192
    bg = (229, 245, 224)
    ink = (50, 140, 60)
    fill = mix(bg, ink, 0.07)
    line = mix(bg, ink, 0.28)
    patch = mix(bg, ink, 0.18)
    orange = mix(bg, (235, 150, 70), 0.16)
    orange_line = mix(bg, (190, 110, 40), 0.32)
    yellow = mix(bg, (215, 230, 80), 0.30)
    cv = Canvas(W, H, bg)
    soccer_ball(cv, 54, 52, 28, mix(bg, (255, 255, 255), 0.35), line, patch, bg)
    basketball(cv, 196, 50, 28, orange, orange_line, bg)
    tennis_ball(cv, 128, 100, 18, yellow, mix(bg, (255, 255, 255), 0.65), bg)
    cv.ring(128, 100, 18.8, 17.6, line)
    whistle(cv, 52, 148, 1.0, -0.25, fill, line)
    stopwatch(cv, 200, 146, 28, fill, line, mix(bg, (255, 255, 255), 0.3))
    save('SPORTS.BMP', cv)


def bar_chart(cv, x, y, s, fill, line, dark):
    t = Xf(x, y, s)
    for i, h in enumerate((18, 30, 24, 44)):
        bx = -26 + i * 14
        cv.shape(t.ps(rect_pts(bx, 24 - h, 10, h)), fill if i % 2 else dark, line, 1.3)
    cv.stroke(t.ps([(-34, -28), (-34, 24), (34, 24)]), 1.8, line)
    for ty in (-16, -4, 8):
        cv.line(*t.p(-37, ty), *t.p(-34, ty), 1.2, line)


def line_chart(cv, x, y, s, fill, line, dark):
    t = Xf(x, y, s)
    cv.stroke(t.ps([(-36, -30), (-36, 26), (38, 26)]), 1.8, line)
    pts = [(-30, 16), (-18, 6), (-8, 12), (4, -4), (14, 2), (28, -20)]
    area = pts + [(28, 26), (-30, 26)]
    cv.poly(t.ps(area), fill)
    for gy in (-12, 2, 14):
        for gx in range(-32, 36, 6):
            cv.line(*t.p(gx, gy), *t.p(gx + 2.5, gy), 0.8, dark)
    cv.stroke(t.ps(pts), 2.0, line)
    for px, py in pts[:-1]:
        cx, cy = t.p(px, py)
        cv.disc(cx, cy, t.d(2.4), line)
    # Arrowhead continuing the last segment.
    ax, ay = pts[-1]
    bx, by = pts[-2]
    d = math.atan2(ay - by, ax - bx)
    tip = (ax + 7 * math.cos(d), ay + 7 * math.sin(d))
    l = (ax + 5 * math.cos(d + 2.2), ay + 5 * math.sin(d + 2.2))
    r = (ax + 5 * math.cos(d - 2.2), ay + 5 * math.sin(d - 2.2))
    cv.poly(t.ps([tip, l, (ax, ay), r]), line)


def dollar(cv, x, y, h, col, w):
    s = h / 2.0
    top = arc_pts(x, y - s * 0.42, s * 0.45, -0.25 * math.pi, -1.5 * math.pi, 12, ry=s * 0.42)
    bot = arc_pts(x, y + s * 0.42, s * 0.45, -0.5 * math.pi, 0.75 * math.pi, 12, ry=s * 0.42)
    cv.stroke(top + bot, w, col)
    cv.line(x, y - s * 1.05, x, y + s * 1.05, w * 0.8, col)


def coins(cv, x, y, fill, line, dark, face):
    rx, ry = 16, 5.5
    for i in range(5):
        cy = y + 16 - i * 6
        side = arc_pts(x, cy, rx, 0, math.pi, 20, ry=ry)
        cv.poly([(x - rx, cy - 4)] + [(x + rx, cy - 4)] + side, dark)
        cv.ellipse(x, cy - 4, rx, ry, fill)
        cv.stroke(ellipse_pts(x, cy - 4, rx, ry), 1.1, line, closed=True)
        cv.stroke([(x - rx, cy - 4)] + side[::-1] + [(x + rx, cy - 4)], 1.1, line)
    # A single coin face-on next to the stack.
    fx, fy = x + 36, y + 4
    cv.disc(fx, fy, 16, face)
    cv.ring(fx, fy, 16.8, 15.2, line)
    cv.ring(fx, fy, 12.8, 12.0, line)
    dollar(cv, fx, fy, 15, line, 1.6)


def briefcase(cv, x, y, s, rot, fill, line, dark):
    t = Xf(x, y, s, rot)
    lw = 1.5
    cv.stroke(t.ps(round_rect_pts(-11, -28, 22, 12, 4)), 2.6, line, closed=True)
    cv.shape(t.ps(round_rect_pts(-32, -20, 64, 42, 5)), fill, line, lw)
    cv.poly(t.ps(rect_pts(-32, -6, 64, 5)), dark)
    cv.stroke(t.ps([(-32, -6), (32, -6)]), 1.0, line)
    cv.stroke(t.ps([(-32, -1), (32, -1)]), 1.0, line)
    for cx in (-16, 16):
        cv.shape(t.ps(round_rect_pts(cx - 4, -8, 8, 9, 1.5)), fill, line, 1.2)
    cv.stroke(t.ps(round_rect_pts(-32, -20, 64, 42, 5)), lw, line, closed=True)


def draw_business():
    W, H = 261, 192
    bg = (223, 243, 238)
    ink = (30, 130, 110)
    fill = mix(bg, ink, 0.08)
    line = mix(bg, ink, 0.28)
    dark = mix(bg, ink, 0.16)
    gold = mix(bg, (230, 200, 90), 0.26)
    gold_dark = mix(bg, (200, 160, 60), 0.38)
    gold_line = mix(bg, (160, 120, 30), 0.40)
    cv = Canvas(W, H, bg)
    bar_chart(cv, 52, 58, 1.05, fill, line, dark)
    line_chart(cv, 190, 56, 1.1, fill, line, dark)
    coins(cv, 42, 142, gold, gold_line, gold_dark, gold)
    briefcase(cv, 184, 148, 1.0, -0.06, fill, line, dark)
    # Percent signs as quiet fillers.
    for px, py in ((118, 104), (250, 112), (120, 18)):
        cv.line(px - 5, py + 6, px + 5, py - 6, 1.3, dark)
        cv.ring(px - 4, py - 4, 2.6, 1.4, dark)
        cv.ring(px + 4, py + 4, 2.6, 1.4, dark)
    save('BUSINESS.BMP', cv)


def trophy(cv, x, y, s, fill, line, dark):
    t = Xf(x, y, s)
    lw = 1.6
    # Handles behind the bowl.
    for side in (-1, 1):
        hx, hy = t.p(side * 22, -22)
        cv.stroke(arc_pts(hx, hy, t.d(9), -math.pi / 2 if side > 0 else math.pi / 2,
                          math.pi / 2 if side > 0 else 1.5 * math.pi, 16, ry=t.d(11)),
                  t.d(3.2), line)
    bowl = [(-24, -36), (24, -36)] + arc_pts(0, -36, 24, 0, math.pi, 24, ry=30)[1:-1]
    cv.shape(t.ps(bowl), fill, line, lw)
    cv.poly(t.ps(arc_pts(0, -36, 24, 0, math.pi, 24, ry=4)), dark)
    cv.stroke(t.ps([(-24, -36), (24, -36)]), lw, line)
    stem = [(-4, -7), (4, -7), (6, 10), (-6, 10)]
    cv.shape(t.ps(stem), fill, line, lw)
    cv.shape(t.ps(round_rect_pts(-10, 1, 20, 5, 2)), dark, line, 1.2)
    cv.shape(t.ps([(-16, 10), (16, 10), (19, 22), (-19, 22)]), fill, line, lw)
    cv.shape(t.ps(rect_pts(-11, 13, 22, 6)), dark, line, 1.0)
    sx, sy = t.p(0, -22)
    cv.shape(star_pts(sx, sy, t.d(8), t.d(3.6)), dark, line, 1.0)


def draw_winner():
    W, H = 300, 196
    bg = (251, 245, 218)
    ink = (200, 150, 20)
    fill = mix(bg, ink, 0.13)
    line = mix(bg, ink, 0.36)
    dark = mix(bg, ink, 0.24)
    cv = Canvas(W, H, bg)
    confetti_cols = [mix(bg, c, 0.32) for c in
                     ((240, 110, 140), (90, 150, 230), (90, 190, 110),
                      (170, 110, 220), (245, 150, 60), (60, 190, 200))]
    cups = [(76, 100, 1.35), (226, 56, 0.95)]
    stars = [(160, 150, 13, 0.2), (270, 150, 9, -0.3), (150, 36, 9, 0.4),
             (20, 30, 8, 0.0), (196, 122, 6, 0.5), (40, 170, 6, 0.1)]
    rnd = random.Random(2024)
    # Streamers: gentle wavy ribbons that run off the edges and wrap.
    for i, (sx, sy, a) in enumerate(((120, 80, 0.5), (250, 150, -0.4), (10, 120, 2.4))):
        col = confetti_cols[(i * 2 + 1) % len(confetti_cols)]
        pts = []
        for k in range(31):
            u = k / 30
            d = u * 70
            wob = 5 * math.sin(u * 4 * math.pi)
            pts.append((sx + math.cos(a) * d - math.sin(a) * wob,
                        sy + math.sin(a) * d + math.cos(a) * wob))
        if min(torus_dist(p, (cx, cy), W, H) for p in pts for cx, cy, _ in cups) > 44:
            cv.stroke(pts, 2.0, col)
    placed = []
    tries = 0
    while len(placed) < 70 and tries < 5000:
        tries += 1
        p = (rnd.uniform(0, W), rnd.uniform(0, H))
        if any(torus_dist(p, (cx, cy), W, H) < 46 * s for cx, cy, s in cups):
            continue
        if any(torus_dist(p, (sx, sy), W, H) < r + 6 for sx, sy, r, _ in stars):
            continue
        if any(torus_dist(p, q, W, H) < 12 for q in placed):
            continue
        placed.append(p)
        col = rnd.choice(confetti_cols)
        kind = rnd.random()
        a = rnd.uniform(0, math.pi)
        if kind < 0.6:
            t = Xf(p[0], p[1], 1.0, a)
            cv.poly(t.ps(rect_pts(-3.5, -1.6, 7, 3.2)), col)
        elif kind < 0.85:
            cv.disc(p[0], p[1], 2.0, col)
        else:
            t = Xf(p[0], p[1], 1.0, a)
            cv.stroke(t.ps([(-5, 0), (-2.5, -2), (0, 0), (2.5, 2), (5, 0)]), 1.4, col)
    for x, y, s in cups:
        trophy(cv, x, y, s, fill, line, dark)
    for x, y, r, a in stars:
        star(cv, x, y, r, a, fill, line)
    save('WINNER.BMP', cv, full_table=True)


def main():
    draw_back()
    draw_movies()
    draw_geograph()
    draw_history()
    draw_sports()
    draw_business()
    draw_winner()


if __name__ == '__main__':
    main()
