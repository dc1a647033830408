#!/usr/bin/env python3
"""Generate src/catalogue/star_tables.cpp: the figure stars and background stars of the
fixed-star catalogue.

    python3 tools/make_star_tables.py > src/catalogue/star_tables.cpp

Standard library only and fully deterministic (fixed seeds), so re-running it reproduces the
committed file byte for byte. Every table is checked before anything is printed; a failed
check aborts with a non-zero exit status and no output on stdout.

When the catalogue is built, every figure and background star is turned along the ecliptic by
-18 degrees while the labels stay put. Figures are therefore laid out where they should finally
appear around their label, then turned back by +18 degrees and rounded to the whole degrees the
tables are written in. The checks below apply the catalogue's turn to the rounded values, so
they see exactly what the star map will show.
"""

import math
import random
import sys

PI = 3.141592653589793
EPS = 0.3665191429188092  # obliquity of Morvane's ecliptic, 21 degrees
SHIFT = PI / 10           # the catalogue's turn along the ecliptic, 18 degrees


# --------------------------------------------------------------------------- sphere helpers

def rad(deg):
    return deg * PI / 180


def deg(r):
    return r * 180 / PI


def vec(phi, theta):
    ct = math.cos(theta)
    return [ct * math.cos(phi), ct * math.sin(phi), math.sin(theta)]


def sph(v):
    phi = math.atan2(v[1], v[0])
    if phi < 0:
        phi += 2 * PI
    return phi, math.atan2(v[2], math.sqrt(v[0] * v[0] + v[1] * v[1]))


def rot_x(a, v):
    c, s = math.cos(a), math.sin(a)
    return [v[0], c * v[1] + s * v[2], -s * v[1] + c * v[2]]


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def norm(a):
    n = math.sqrt(dot(a, a))
    return [a[0] / n, a[1] / n, a[2] / n]


def ang_dist(a, b):
    # atan2 form stays accurate for tiny and near-antipodal separations alike.
    return math.atan2(math.sqrt(dot(cross(a, b), cross(a, b))), dot(a, b))


def catalogue_shift(ra_deg, dec_deg):
    """The turn the catalogue builder applies; returns (ecliptic (phi, theta), equatorial
    (phi, theta)) in radians. The ecliptic longitude is deliberately left un-normalised."""
    eq = vec(rad(ra_deg), rad(dec_deg))
    ec_phi, ec_theta = sph(rot_x(EPS, eq))
    ec_phi -= SHIFT
    eq2 = sph(rot_x(-EPS, vec(ec_phi, ec_theta)))
    return (ec_phi, ec_theta), eq2


def unshift_vec(eq_final):
    """Position to write in the table so that the catalogue's turn lands it on eq_final."""
    ec_phi, ec_theta = sph(rot_x(EPS, eq_final))
    return rot_x(-EPS, vec(ec_phi + SHIFT, ec_theta))


class Tangent:
    """Azimuthal equidistant plane around a centre: x grows towards the frame's east, y towards
    its north, both in degrees of arc. Distances and bearings from the centre are exact, so
    figures next to a pole keep their shape."""

    def __init__(self, centre):
        self.c = norm(centre)
        pole = [0.0, 0.0, 1.0]
        if abs(self.c[2]) > 0.999999:
            pole = [1.0, 0.0, 0.0]
        self.e = norm(cross(pole, self.c))
        self.n = cross(self.c, self.e)

    def to_sphere(self, x, y):
        r = math.hypot(x, y)
        if r == 0:
            return list(self.c)
        rr = rad(r)
        ux, uy = x / r, y / r
        s = math.sin(rr)
        return [math.cos(rr) * self.c[i] + s * (ux * self.e[i] + uy * self.n[i]) for i in range(3)]

    def from_sphere(self, v):
        r = ang_dist(self.c, v)
        px, py = dot(v, self.e), dot(v, self.n)
        h = math.hypot(px, py)
        if h == 0:
            return 0.0, 0.0
        return deg(r) * px / h, deg(r) * py / h


# --------------------------------------------------------------------------- figure data

# (prefix, member count, label as ecliptic longitude in degrees, lines)
ZODIAC = [
    ("_LADO", 6, 347, [(1, 2), (1, 5), (2, 3), (3, 4), (6, 1)]),
    ("_ULANDUS", 7, 18, [(1, 2), (2, 3), (3, 4), (4, 5), (4, 6), (6, 7)]),
    ("_ARALIUS", 6, 48, [(1, 3), (1, 2), (2, 5), (4, 1), (5, 6), (6, 4)]),
    ("_FENIRI", 5, 77, [(1, 2), (2, 4), (4, 3), (3, 5)]),
    ("_AHNU", 5, 108, [(1, 2), (2, 3), (2, 4), (4, 5)]),
    ("_ANGBERELIUS", 7, 140, [(1, 2), (2, 3), (3, 4), (4, 5), (5, 6), (6, 7)]),
    ("_NADAI", 5, 171, [(1, 4), (2, 3), (2, 1), (4, 5), (5, 3)]),
    ("_HIRIN", 6, 199, [(1, 4), (2, 3), (3, 4), (4, 5), (5, 6), (6, 1)]),
    ("_TARAEL", 5, 228, [(1, 2), (2, 3), (3, 5), (4, 5), (4, 1), (5, 2)]),
    ("_TAI", 4, 258, [(1, 2), (2, 4), (4, 3), (3, 1)]),
    ("_SKORUS", 7, 287, [(1, 2), (2, 4), (3, 4), (3, 5), (4, 5), (5, 7), (6, 7), (6, 4)]),
    ("_MASARA", 4, 316, [(1, 2), (2, 4), (3, 2), (4, 1)]),
]

# (prefix, member count, label RA and Dec in degrees, lines)
CONSTELLATIONS = [
    ("_LOKIARN", 5, (312.8113, -43.0000), [(1, 2), (2, 3), (2, 5), (4, 5)]),
    ("_YOLL", 4, (295, -58), [(1, 2), (2, 3), (3, 4), (4, 1)]),
    ("_DYNUX", 6, (168.5408, -48.5408), [(1, 4), (2, 3), (2, 4), (3, 4), (4, 5), (4, 6)]),
    ("_LYNDUS", 5, (156.8220, -21.9786), [(1, 2), (2, 3), (3, 4), (4, 5), (5, 1)]),
    ("_AIK", 5, (130.6761, -13.2811), [(1, 4), (1, 3), (3, 4), (3, 2), (2, 5)]),
    ("_STEND", 3, (120, -45), [(1, 2), (2, 3)]),
    ("_CHIND", 3, (100, -25), [(1, 2), (2, 3), (3, 1)]),
    ("_CRYX", 9, (48.5408, -25),
     [(1, 3), (2, 3), (3, 5), (4, 6), (3, 8), (5, 9), (7, 8), (8, 9), (5, 6)]),
    ("_ENGE", 4, (10, -40), [(1, 2), (2, 3), (3, 4)]),
    ("_UHLA", 5, (0, -80), [(1, 2), (2, 3), (3, 4), (4, 5), (5, 2), (5, 3)]),
    ("_CRYNTO", 4, (4.7899, 34.6868), [(1, 2), (2, 3), (3, 4)]),
    ("_USNARL", 6, (117.8113, 56.4592), [(1, 2), (2, 4), (4, 6), (6, 5), (5, 3), (3, 1)]),
    ("_KRAST", 4, (195.9893, 62.5630), [(1, 2), (1, 3), (1, 4)]),
    ("_KELARK", 5, (183.5408, 20), [(1, 2), (2, 3), (3, 4), (4, 5)]),
    ("_NIND", 3, (200.8113, 25.1566), [(1, 2), (2, 3), (3, 1)]),
    ("_TLYLUS", 4, (223.5408, 11.7189), [(1, 2), (1, 3), (3, 4)]),
    ("_FRYLUS", 6, (232.8113, 25), [(1, 3), (4, 1), (2, 4), (2, 5), (5, 6)]),
    ("_TISSAMS", 6, (280, 40), [(1, 2), (2, 3), (3, 6), (3, 5), (2, 4)]),
    ("_ERMAEL", 6, (340, 40), [(1, 4), (2, 3), (3, 4), (4, 5), (5, 6)]),
    ("_GERIAM", 3, (-2.7042, 74.2704), [(1, 2), (2, 3), (3, 1)]),
    ("_CLESSAN", 5, (285, 5), [(1, 2), (2, 3), (3, 4), (4, 5), (5, 1)]),
    ("_SUSSO", 4, (77.8113, 0), [(2, 3), (3, 4), (4, 1)]),
    ("_HERPA", 4, (321.4056, 8), [(1, 2), (1, 3), (4, 1)]),
]

# Stars whose table position is fixed by hand rather than laid out: name -> (RA, Dec).
PINNED = {"_LADO1": (0, 2), "_ULANDUS7": (42, 13)}

# Declinations written on the half degree instead of the whole degree.
HALF_DEGREE_DEC = {"_LADO2", "_ULANDUS3", "_ANGBERELIUS3", "_NADAI4", "_HIRIN5"}

# Figures are meant to sit within this radius of their label; the hard limit is ACCEPT_DEG.
PREFERRED_DEG = 15.0
ACCEPT_DEG = 25.0


# --------------------------------------------------------------------------- 2-D layout

def segments_cross(p1, p2, p3, p4):
    def orient(a, b, c):
        return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0])

    d1, d2 = orient(p3, p4, p1), orient(p3, p4, p2)
    d3, d4 = orient(p1, p2, p3), orient(p1, p2, p4)
    return d1 * d2 < 0 and d3 * d4 < 0


def point_segment_dist(p, a, b):
    ax, ay = b[0] - a[0], b[1] - a[1]
    L2 = ax * ax + ay * ay
    t = 0.0 if L2 == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * ax + (p[1] - a[1]) * ay) / L2))
    return math.hypot(p[0] - a[0] - t * ax, p[1] - a[1] - t * ay)


def count_crossings(pos, edges):
    n = 0
    for i in range(len(edges)):
        for j in range(i + 1, len(edges)):
            a, b = edges[i]
            c, d = edges[j]
            if len({a, b, c, d}) == 4 and segments_cross(pos[a], pos[b], pos[c], pos[d]):
                n += 1
    return n


def clearance(pos, edges):
    """Smallest gap between a star and a line it does not belong to; a small gap makes a
    line look as if it ran through that star."""
    best = float("inf")
    for k in range(len(pos)):
        for a, b in edges:
            if k != a and k != b:
                best = min(best, point_segment_dist(pos[k], pos[a], pos[b]))
    return best


def min_pair(pos):
    return min(math.dist(pos[i], pos[j]) for i in range(len(pos)) for j in range(i + 1, len(pos)))


def relax(n, edges, pinned, obstacles, length, rng):
    """Small force-directed layout in degrees around the label at the origin. `pinned` maps
    member index -> fixed (x, y); `obstacles` are nearby foreign labels to keep clear of."""
    radius0 = length * (0.6 + 0.12 * n)
    start = rng.uniform(0, 2 * math.pi)
    order = list(range(n))
    rng.shuffle(order)
    pos = [None] * n
    for k, i in enumerate(order):
        a = start + 2 * math.pi * k / n + rng.uniform(-0.4, 0.4)
        r = radius0 * rng.uniform(0.6, 1.1)
        pos[i] = [r * math.cos(a), r * math.sin(a)]
    for i, p in pinned.items():
        pos[i] = list(p)
    # Unequal line lengths: real figures are never made of equal sticks.
    targets = [length * rng.uniform(0.7, 1.35) for _ in edges]

    steps = 700
    for it in range(steps):
        temp = 0.6 * (1 - it / steps) + 0.02
        force = [[0.0, 0.0] for _ in range(n)]
        for i in range(n):
            for j in range(i + 1, n):
                dx, dy = pos[i][0] - pos[j][0], pos[i][1] - pos[j][1]
                d = max(math.hypot(dx, dy), 0.05)
                f = (length * length) / (d * d) * 0.25
                force[i][0] += f * dx / d
                force[i][1] += f * dy / d
                force[j][0] -= f * dx / d
                force[j][1] -= f * dy / d
        for (a, b), target in zip(edges, targets):
            dx, dy = pos[b][0] - pos[a][0], pos[b][1] - pos[a][1]
            d = max(math.hypot(dx, dy), 0.05)
            f = 0.5 * (d - target)
            force[a][0] += f * dx / d
            force[a][1] += f * dy / d
            force[b][0] -= f * dx / d
            force[b][1] -= f * dy / d
        # Node-to-line repulsion keeps stars from sitting on lines they do not belong to.
        for k in range(n):
            for a, b in edges:
                if k in (a, b):
                    continue
                ax, ay = pos[b][0] - pos[a][0], pos[b][1] - pos[a][1]
                L2 = ax * ax + ay * ay or 1e-9
                t = max(0.0, min(1.0, ((pos[k][0] - pos[a][0]) * ax + (pos[k][1] - pos[a][1]) * ay) / L2))
                qx, qy = pos[a][0] + t * ax, pos[a][1] + t * ay
                dx, dy = pos[k][0] - qx, pos[k][1] - qy
                d = max(math.hypot(dx, dy), 0.05)
                if d < 0.45 * length:
                    f = 0.6 * (0.45 * length - d)
                    force[k][0] += f * dx / d
                    force[k][1] += f * dy / d
        for i in range(n):
            x, y = pos[i]
            r = max(math.hypot(x, y), 0.05)
            # Gentle pull towards the label, firm beyond the outer rim, push off the label text.
            g = 0.06 * r + (0.8 * (r - 11.0) if r > 11.0 else 0.0) - (0.8 * (3.0 - r) if r < 3.0 else 0.0)
            force[i][0] -= g * x / r
            force[i][1] -= g * y / r
            for ox, oy in obstacles:
                dx, dy = x - ox, y - oy
                d = max(math.hypot(dx, dy), 0.05)
                if d < 14.0:
                    f = 0.4 * (14.0 - d)
                    force[i][0] += f * dx / d
                    force[i][1] += f * dy / d
        for i in range(n):
            if i in pinned:
                continue
            fx, fy = force[i]
            m = math.hypot(fx, fy)
            if m > temp * length:
                fx, fy = fx / m * temp * length, fy / m * temp * length
            pos[i][0] += fx
            pos[i][1] += fy
    return pos


def layout_score(pos, edges, length):
    lengths = [math.dist(pos[a], pos[b]) for a, b in edges]
    radii = [math.hypot(*p) for p in pos]
    score = 1000.0 * count_crossings(pos, edges)
    score += 40.0 * max(0.0, 0.4 * length - clearance(pos, edges))
    score += 30.0 * max(0.0, 0.6 * length - min_pair(pos))
    score += 5.0 * max(0.0, max(lengths) / min(lengths) - 2.2)
    score -= 2.0 * min(clearance(pos, edges), length) / length
    # The label's text is drawn at the origin; a line through it is hard to read.
    label_gap = min(point_segment_dist((0.0, 0.0), pos[a], pos[b]) for a, b in edges)
    score += 20.0 * max(0.0, 1.5 - label_gap)
    score += 2.0 * max(0.0, max(radii) - 11.0) + 2.0 * max(0.0, 3.0 - min(radii))
    return score


def best_layout(name, n, edges, pinned, obstacles, length, tries=40):
    rng = random.Random("layout:" + name)
    best = None
    for _ in range(tries):
        pos = relax(n, edges, pinned, obstacles, length, rng)
        s = layout_score(pos, edges, length)
        if best is None or s < best[0]:
            best = (s, pos)
    return best[1]


# --------------------------------------------------------------------------- building figures

def zodiac_label_eq(lon_deg):
    return rot_x(-EPS, vec(rad(lon_deg), 0.0))


def constellation_label_eq(ra, dec):
    return vec(rad(ra), rad(dec))


def round_position(name, v):
    ra, dec = sph(v)
    ra, dec = deg(ra), deg(dec)
    ra_i = int(round(ra)) % 360
    if name in HALF_DEGREE_DEC:
        dec_r = math.floor(dec) + 0.5
    else:
        dec_r = float(round(dec))
    return ra_i, dec_r


def final_vec(ra, dec):
    return vec(*catalogue_shift(ra, dec)[1])


def build_figures(figures, label_of, frame_of, all_labels, length_of):
    """Returns rows (name, ra, dec) and a report per figure."""
    rows = []
    layouts = {}
    for prefix, n, label_pos, lines in figures:
        label = label_of(label_pos)
        to_frame, from_frame = frame_of
        plane = Tangent(to_frame(label))
        edges = [(a - 1, b - 1) for a, b in lines]
        pinned = {}
        for i in range(n):
            name = f"{prefix}{i + 1}"
            if name in PINNED:
                pinned[i] = plane.from_sphere(to_frame(final_vec(*PINNED[name])))
        obstacles = []
        for other in all_labels:
            if ang_dist(other, label) > 1e-9 and deg(ang_dist(other, label)) < 40:
                obstacles.append(plane.from_sphere(to_frame(other)))
        pos = best_layout(prefix, n, edges, pinned, obstacles, length_of(n))
        layouts[prefix] = (label, edges)
        for i in range(n):
            name = f"{prefix}{i + 1}"
            if name in PINNED:
                ra, dec = PINNED[name]
            else:
                target = from_frame(plane.to_sphere(*pos[i]))
                ra, dec = round_position(name, unshift_vec(target))
            rows.append((name, ra, dec))
    return rows, layouts


def ecliptic_frame():
    return (lambda v: rot_x(EPS, v)), (lambda v: rot_x(-EPS, v))


def equatorial_frame():
    return (lambda v: list(v)), (lambda v: list(v))


# --------------------------------------------------------------------------- magnitudes

def figure_magnitudes(figures, seed):
    """Brightest sampled magnitude goes to the best-connected star of each figure, which is
    how a figure's pattern is usually anchored by eye."""
    rng = random.Random(seed)
    out = []
    for prefix, n, _label, lines in figures:
        # Skewed towards the faint end: a few bright anchors, most stars between 2 and 4.
        mags = sorted(round(0.54 + 3.46 * rng.random() ** 0.4, 2) for _ in range(n))
        degree = [0] * n
        for a, b in lines:
            degree[a - 1] += 1
            degree[b - 1] += 1
        order = sorted(range(n), key=lambda i: (-degree[i], i))
        m = [0.0] * n
        for k, i in enumerate(order):
            m[i] = mags[k]
        out.extend(m)
    return out


# --------------------------------------------------------------------------- background

def background_stars(count=499, seed=20240611):
    """Golden-angle lattice (equal area per point) with a jitter of about a third of the
    lattice spacing so the sky does not show spirals."""
    rng = random.Random(seed)
    golden = PI * (3 - math.sqrt(5))
    spacing = math.sqrt(4 * PI / count)
    rows = []
    for i in range(count):
        z = 1 - (2 * i + 1) / count
        z += rng.uniform(-0.35, 0.35) * (2 / count)
        z = max(-1.0, min(1.0, z))
        theta = math.asin(z)
        phi = i * golden + rng.uniform(-0.35, 0.35) * spacing / max(math.cos(theta), 0.05)
        ra = round(deg(phi) % 360.0, 2)
        if ra >= 360.0:
            ra = 0.0
        dec = round(max(-89.5, min(89.5, deg(theta))), 2)
        # Star counts climb steeply towards faint magnitudes: density grows as 10^(0.6 m).
        lo, hi = 10 ** (0.6 * 4.5), 10 ** (0.6 * 6.0)
        mag = round(math.log10(lo + rng.random() * (hi - lo)) / 0.6, 2)
        rows.append((ra, dec, mag))
    return rows


# --------------------------------------------------------------------------- checks

class CheckFailed(Exception):
    pass


def check(cond, message):
    if not cond:
        raise CheckFailed(message)


def check_shift():
    cases = [((0, 2), (-17.28301, 1.867112), (343.158462, -4.358349)),
             ((42, 13), (25.589314, -1.354549), (24.535662, 7.624089))]
    for (ra, dec), ec_want, eq_want in cases:
        ec, eq = catalogue_shift(ra, dec)
        got = (deg(ec[0]), deg(ec[1]), deg(eq[0]), deg(eq[1]))
        want = ec_want + eq_want
        for g, w in zip(got, want):
            check(abs(g - w) < 1e-4, f"shift of ({ra}, {dec}) gives {got}, expected {want}")


def expected_names(figures):
    return [f"{prefix}{i + 1}" for prefix, n, _l, _e in figures for i in range(n)]


def check_figures(kind, figures, rows, layouts, frame_to, log):
    names = [r[0] for r in rows]
    check(names == expected_names(figures), f"{kind}: names or order differ from the list")
    by_name = {r[0]: r for r in rows}
    for name, ra, dec in rows:
        check(isinstance(ra, int) and 0 <= ra <= 359, f"{name}: RA {ra} is not a whole degree in 0..359")
        check(-90 < dec < 90, f"{name}: Dec {dec} out of range")
        whole = float(dec).is_integer()
        if name in HALF_DEGREE_DEC:
            check(not whole, f"{name}: Dec {dec} must not be a whole degree")
        else:
            check(whole, f"{name}: Dec {dec} must be a whole degree")
    for name, (ra, dec) in PINNED.items():
        if name in by_name:
            check(by_name[name][1:] == (ra, dec), f"{name}: must be exactly ({ra}, {dec})")

    worst_all = 0.0
    for prefix, n, _label, _lines in figures:
        label, edges = layouts[prefix]
        members = [by_name[f"{prefix}{i + 1}"] for i in range(n)]
        points = [(m[1], m[2]) for m in members]
        check(len(set(points)) == n, f"{prefix}: two stars share a position")
        finals = [final_vec(ra, dec) for ra, dec in points]
        dists = [deg(ang_dist(label, v)) for v in finals]
        worst = max(dists)
        worst_all = max(worst_all, worst)
        check(worst <= ACCEPT_DEG, f"{prefix}: a star ends {worst:.2f} deg from its label")
        plane = Tangent(frame_to(label))
        pos = [plane.from_sphere(frame_to(v)) for v in finals]
        crossings = count_crossings(pos, edges)
        check(crossings == 0, f"{prefix}: {crossings} figure lines cross")
        gap = min_pair(pos)
        check(gap >= 1.5, f"{prefix}: two stars only {gap:.2f} deg apart")
        clear = clearance(pos, edges)
        check(clear >= 0.8, f"{prefix}: a line passes {clear:.2f} deg from a foreign star")
        lens = [math.dist(pos[a], pos[b]) for a, b in edges]
        check(max(lens) <= 14.0, f"{prefix}: a line is {max(lens):.1f} deg long")
        note = "" if worst <= PREFERRED_DEG else "  (beyond the preferred radius)"
        log(f"  {prefix:<13} max {worst:5.2f}  min {min(dists):5.2f}  "
            f"lines {min(lens):4.1f}..{max(lens):4.1f}  nearest pair {gap:4.1f}{note}")
    return worst_all


def check_owner(zodiac_rows, zodiac_layouts, const_rows, const_layouts):
    """Each figure star should be nearer its own label than any other label, so the eye
    attributes it to the right figure."""
    labels = {p: lay[0] for p, lay in list(zodiac_layouts.items()) + list(const_layouts.items())}
    for rows in (zodiac_rows, const_rows):
        for name, ra, dec in rows:
            own = name.rstrip("0123456789")
            v = final_vec(ra, dec)
            d_own = ang_dist(labels[own], v)
            for other, lv in labels.items():
                if other != own:
                    check(ang_dist(lv, v) > d_own,
                          f"{name} lies nearer the {other} label than its own")


def check_magnitudes(mags):
    check(all(0.54 <= m <= 4.0 for m in mags), "figure magnitude outside 0.54..4.00")
    check(0.54 in mags and 4.0 in mags, "figure magnitudes must reach both 0.54 and 4.00")
    bright = sum(1 for m in mags if m < 2.0)
    check(0 < bright < len(mags) // 4, f"{bright} figure stars brighter than 2.0: not a plausible spread")
    capped = sum(1 for m in mags if m == 4.0)
    check(capped <= 3, f"{capped} figure stars sit exactly on the faint limit")


def check_background(rows, log):
    check(len(rows) == 499, "background count")
    for ra, dec, mag in rows:
        check(0 <= ra < 360, f"background RA {ra} out of range")
        check(-89.5 <= dec <= 89.5, f"background Dec {dec} out of range")
        check(4.5 <= mag <= 6.0, f"background magnitude {mag} out of range")
    polar = sum(1 for _r, d, _m in rows if abs(d) > 60) / len(rows)
    north = sum(1 for _r, d, _m in rows if d > 0) / len(rows)
    want = 1 - math.sin(rad(60))
    check(abs(polar - want) < 0.03, f"polar fraction {polar:.3f}, expected about {want:.3f}")
    check(abs(north - 0.5) < 0.03, f"northern fraction {north:.3f}")
    faint = sum(1 for _r, _d, m in rows if m > 5.25)
    check(faint > 1.5 * (len(rows) - faint), "background should have more faint stars than bright ones")
    # Uniform in RA too: no 30-degree slice of the sky may be strongly over- or under-filled.
    slices = [0] * 12
    for ra, _d, _m in rows:
        slices[int(ra // 30)] += 1
    check(min(slices) > 0.6 * len(rows) / 12 and max(slices) < 1.4 * len(rows) / 12,
          f"background unevenly spread in RA: {slices}")
    log(f"background: |dec|>60 {polar:.3f} (ideal {want:.3f}), north {north:.3f}, "
        f"mag>5.25 {faint}/{len(rows)}")


# --------------------------------------------------------------------------- output

def fmt_dec(d):
    return f"{d:.1f}" if not float(d).is_integer() else f"{int(d)}"


def emit_figure_table(out, cname, rows, mags):
    width = max(len(r[0]) for r in rows) + 3
    out.append(f"const std::array<StarRow, {len(rows)}> {cname}{{{{")
    for (name, ra, dec), mag in zip(rows, mags):
        q = f'"{name}",'
        out.append(f"    {{{q:<{width}} {ra:>3}, {fmt_dec(dec):>5}, {mag:4.2f}}},")
    out.append("}};")


def emit_background_table(out, rows):
    out.append(f"const std::array<StarRow, {len(rows)}> kBackgroundStars{{{{")
    for ra, dec, mag in rows:
        out.append(f"    {{nullptr, {ra:6.2f}, {dec:6.2f}, {mag:4.2f}}},")
    out.append("}};")


def main():
    log = lambda s: print(s, file=sys.stderr)  # noqa: E731
    try:
        check_shift()

        zodiac_labels = [zodiac_label_eq(lon) for _p, _n, lon, _e in ZODIAC]
        const_labels = [constellation_label_eq(*lab) for _p, _n, lab, _e in CONSTELLATIONS]
        all_labels = zodiac_labels + const_labels

        z_rows, z_lay = build_figures(ZODIAC, zodiac_label_eq, ecliptic_frame(), all_labels,
                                      lambda n: 4.6 + 0.25 * n)
        c_rows, c_lay = build_figures(CONSTELLATIONS, lambda lab: constellation_label_eq(*lab),
                                      equatorial_frame(), all_labels, lambda n: 3.6 + 0.25 * n)

        log("zodiac figures (degrees after the catalogue's turn):")
        wz = check_figures("zodiac", ZODIAC, z_rows, z_lay, ecliptic_frame()[0], log)
        log("constellation figures:")
        wc = check_figures("constellations", CONSTELLATIONS, c_rows, c_lay, equatorial_frame()[0], log)
        log(f"largest distance from a label: zodiac {wz:.2f}, constellations {wc:.2f}")
        check_owner(z_rows, z_lay, c_rows, c_lay)

        z_mags = figure_magnitudes(ZODIAC, "mag:zodiac")
        c_mags = figure_magnitudes(CONSTELLATIONS, "mag:constellations")
        mags = z_mags + c_mags
        # Pin the extremes so the map's magnitude scale is exercised end to end.
        lo = min(range(len(mags)), key=lambda i: (mags[i], i))
        hi = max(range(len(mags)), key=lambda i: (mags[i], -i))
        check(lo != hi, "magnitude extremes coincide")
        mags[lo], mags[hi] = 0.54, 4.00
        z_mags, c_mags = mags[:len(z_mags)], mags[len(z_mags):]
        check_magnitudes(mags)

        bg = background_stars()
        check_background(bg, log)
    except CheckFailed as e:
        print(f"make_star_tables.py: check failed: {e}", file=sys.stderr)
        return 1

    out = [
        "// Generated by tools/make_star_tables.py; do not edit by hand. Regenerate with:",
        "//   python3 tools/make_star_tables.py > src/catalogue/star_tables.cpp",
        "//",
        "// Positions are as written in the catalogue, before its turn along the ecliptic.",
        "// Columns: name, RA (deg), Dec (deg), magnitude.",
        "",
        '#include "catalogue/star_tables.h"',
        "",
        "namespace morvane::star_tables {",
        "",
        "// The columns are aligned by hand; formatting would scatter them.",
        "// clang-format off",
    ]
    emit_background_table(out, bg)
    out.append("")
    emit_figure_table(out, "kZodiacFigureStars", z_rows, z_mags)
    out.append("")
    emit_figure_table(out, "kConstellationFigureStars", c_rows, c_mags)
    out.append("// clang-format on")
    out.append("")
    out.append("}  // namespace morvane::star_tables")
    sys.stdout.write("\n".join(out) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
