"""Tile, marble and title pictures, drawn with numpy and lit from the upper left."""
import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

from .common import (CELL, aa_disc, grid, mix, normals_from_height,
                     periodic_noise, shade_normals, solid)
from . import system

C = 20.0          # the tile's and the marble's centre, in picture pixels
N = CELL


# ---------------------------------------------------------------- materials

def wood(h, w, light, dark, seed, grain=0.45, corr=(30, 1.5)):
    """Wood with grain running along x; wraps at the edges."""
    xx, yy = grid(h, w)
    warp = periodic_noise(h, w, corr[0], 6, seed)
    fine = periodic_noise(h, w, corr[0], corr[1], seed + 1)
    ring = np.sin(2 * np.pi * (yy * grain / 6.0 + 0.9 * warp) / 1.0)
    t = 0.5 + 0.28 * ring + 0.16 * fine
    return mix(light, dark, np.clip(t, 0, 1))


def floor_plain():
    """Honey-coloured boards, three per cell, running the whole width.

    The cell repeats every 39 pixels, so butt joints would form a brick pattern
    across the board; long boards with a little tone and grain per board tile quietly.
    """
    xx, yy = grid(N, N)
    streak = periodic_noise(N, N, 9, 0.8, 12)       # fine streaks, longer along x
    warp = periodic_noise(N, N, 10, 7, 14)           # lets the grain lines wander
    figure = periodic_noise(N, N, 8, 5, 13)          # slow figure across the grain
    plank = (yy // 13).astype(int)
    grain = np.sin(2 * np.pi * (yy / 4.3 + 0.55 * warp + plank * 0.37))
    t = (0.5 + 0.12 * streak + 0.10 * grain + 0.10 * figure
         + np.array([0.05, -0.07, 0.0])[plank])
    img = mix((218, 174, 116), (172, 122, 70), np.clip(t, 0, 1))
    row = yy.astype(int) % 13
    img[row == 12] *= 0.72
    img[row == 0] *= 1.06
    return img


FLOOR = None


def floor():
    global FLOOR
    if FLOOR is None:
        FLOOR = floor_plain()
    return FLOOR.copy()


def bevel_block(img, width, hi=1.45, lo=0.55, left=1.25, right=0.65):
    """Raise a square picture: light top/left, dark bottom/right edges (mitred)."""
    h, w = img.shape[:2]
    xx, yy = grid(h, w)
    dl, dt, dr, db = xx, yy, w - 1 - xx, h - 1 - yy
    m = np.minimum(np.minimum(dl, dt), np.minimum(dr, db))
    out = img.copy()
    inb = m < width
    # which edge is nearest decides the facet
    fac = np.ones((h, w))
    fac = np.where((dt == m), hi, fac)
    fac = np.where((dl == m) & (dl < dt), left, fac)
    fac = np.where((db == m) & (db <= np.minimum(dl, dr)), lo, fac)
    fac = np.where((dr == m) & (dr < db) & (dr < dt), right, fac)
    # soften towards the inner edge of the bevel
    k = np.where(inb, 1.0 - 0.25 * (m / width), 0)
    f = np.where(inb, 1 + (fac - 1) * k, 1)
    out *= f[..., None]
    return out


def wall():
    img = wood(N, N, (140, 88, 52), (92, 52, 28), seed=23, grain=0.6)
    img = bevel_block(img, 5, hi=1.6, lo=0.5, left=1.35, right=0.6)
    xx, yy = grid(N, N)
    # a thin dark joint on the right and bottom, so neighbouring blocks part cleanly
    img[(xx == N - 1) | (yy == N - 1)] *= 0.55
    return img


def cloth():
    """Green felt: twill (period 3, divides 39) over fibre noise."""
    xx, yy = grid(N, N)
    base = np.array([46.0, 128.0, 64.0])
    fib = periodic_noise(N, N, 1.2, 1.2, 31)
    slub = periodic_noise(N, N, 6, 6, 32)
    twill = ((xx + yy).astype(int) % 3 == 0).astype(float)
    warp = (xx.astype(int) % 3 == 1).astype(float)
    f = 1 + 0.05 * fib + 0.06 * slub - 0.10 * twill + 0.04 * warp
    return solid(N, N, base) * f[..., None]


# ---------------------------------------------------------------- round things

def sphere_normals(xx, yy, cx, cy, r, flat=1.0):
    dx, dy = (xx - cx) / r, (yy - cy) / r
    rr = np.clip(dx * dx + dy * dy, 0, 1)
    nz = np.sqrt(1 - rr) * flat
    n = np.sqrt(dx * dx + dy * dy + nz * nz) + 1e-9
    return dx / n, dy / n, nz / n


def marble_colours(nx, ny, nz, dim=1.0):
    """A polished steel ball seen from above.

    The view ray reflected off the ball sees the lit room above it (brighter
    towards the upper-left lamp) in the middle, and the warm floor and its dark
    horizon only in a thin ring at the edge.
    """
    rx, ry, rz = 2 * nz * nx, 2 * nz * ny, 2 * nz * nz - 1
    towards_lamp = np.clip(-(rx + ry) / np.sqrt(2), -1, 1)
    sky = mix((62, 70, 88), (232, 238, 248), np.clip(0.45 + 0.6 * towards_lamp, 0, 1) ** 1.2)
    sky = mix(sky, (250, 252, 255), np.clip(rz, 0, 1) ** 3 * 0.35)
    horizon = -0.45
    floor_refl = mix((150, 110, 66), (92, 62, 36), np.clip((horizon - rz) * 2.0, 0, 1))
    col = np.where((rz > horizon)[..., None], sky, floor_refl)
    band = np.exp(-((rz - horizon - 0.02) / 0.10) ** 2)
    col = mix(col, (34, 36, 44), band * 0.8)
    _, shine = shade_normals(nx, ny, nz, 120)
    col = col + 255 * (shine * 1.5)[..., None]
    return col * dim


def ball_disc(r, size, cx, cy):
    """Pixel grid, distance from the centre, mask and outermost ring of a ball's picture.

    A pixel belongs to the ball when most of it is inside. The marble and its ghost share
    this, so the ghost covers exactly the marble's pixels.
    """
    xx, yy = grid(size, size)
    d = np.sqrt((xx - cx) ** 2 + (yy - cy) ** 2)
    mask = d <= r - 0.15
    return xx, yy, d, mask, mask & (d > r - 1.1)


def marble_picture(r=16.0, size=40, dim=1.0, cx=C, cy=C):
    xx, yy, d, mask, edge = ball_disc(r, size, cx, cy)
    nx, ny, nz = sphere_normals(xx, yy, cx, cy, r)
    col = marble_colours(nx, ny, nz, dim)
    # the outermost ring is darkened rather than blended, since there is no background to blend with
    col[edge] *= 0.7
    return col, mask


def ghost_picture(r=16.0, size=40, cx=C, cy=C):
    """The ghost of the best run: a pale blue glass marble with the marble's size and mask.

    The game draws it at half strength over the board, so its body is light (clear in the
    middle, bluer towards the rim where the ray crosses more glass, the lamp's light gathered
    in a glow at the lower right, a window's reflection and a sharp shine at the upper left)
    and its rim a strong blue that keeps the outline on the pale floor and the dark walls.
    """
    xx, yy, d, mask, edge = ball_disc(r, size, cx, cy)
    nx, ny, nz = sphere_normals(xx, yy, cx, cy, r)
    t = np.clip(d / r, 0, 1)
    col = mix((228, 243, 255), (142, 196, 255), np.clip(t / 0.78, 0, 1) ** 2)
    col = mix(col, (60, 120, 236), np.clip((t - 0.62) / 0.36, 0, 1) ** 1.4)
    # the light passes through and gathers in a soft glow on the far side
    glow = np.sqrt((xx - cx - 0.3 * r) ** 2 + (yy - cy - 0.3 * r) ** 2)
    col = mix(col, (240, 252, 255), np.clip(1 - glow / (0.42 * r), 0, 1) ** 1.5 * 0.85)
    # a window's reflection: a soft crescent inside the upper-left rim
    towards_lamp = np.clip(-(nx + ny) / np.sqrt(2), 0, 1)
    crescent = np.clip(1 - np.abs(t - 0.74) / 0.12, 0, 1) * towards_lamp ** 2
    col = mix(col, (250, 253, 255), crescent * 0.85)
    _, shine = shade_normals(nx, ny, nz, 90)
    col = col + 255 * (shine * 1.4)[..., None]
    rim = mix((36, 84, 200), (96, 150, 240), towards_lamp)
    col[edge] = rim[edge]
    return col, mask


def dome_or_bowl(concave):
    """A glossy copper dome, or a blue enamel bowl sunk into the floor.

    Light from the upper left: the dome is bright at its top-left and throws a
    shadow down-right; the bowl has a raised lip (bright top-left, like any bump),
    a shadow crescent inside its upper-left wall and its light on the lower-right wall.
    """
    img = floor()
    xx, yy = grid(N, N)
    d = np.sqrt((xx - C) ** 2 + (yy - C) ** 2)
    if not concave:
        R = 16.5
        cap = np.clip(R * R - d * d, 0, None) / R
        nx, ny, nz = normals_from_height(cap, 0.55)
        diff, shine = shade_normals(nx, ny, nz, 25)
        col = np.array([210.0, 105.0, 50.0]) * (0.35 + 0.85 * diff)[..., None] + 200 * shine[..., None]
        sd = np.sqrt((xx - C - 2.5) ** 2 + (yy - C - 2.5) ** 2)
        sh = np.clip((R + 1.5 - sd) / 3, 0, 1) * (d > R)
        img *= (1 - 0.45 * sh)[..., None]
        return mix(img, col, np.clip(R + 0.5 - d, 0, 1))
    R, LIP = 14.5, 2.6
    dish = -np.clip(R * R - d * d, 0, None) / R * 0.9
    lip = np.clip(1 - ((d - R - LIP / 2) / (LIP / 2 + 0.4)) ** 2, 0, 1) * 2.2
    h = dish + lip
    nx, ny, nz = normals_from_height(h, 1.0)
    diff, shine = shade_normals(nx, ny, nz, 18)
    inside = d < R
    base = np.where(inside[..., None], np.array([64.0, 112.0, 186.0]), np.array([196.0, 204.0, 216.0]))
    col = base * (0.3 + 0.9 * diff)[..., None] + np.where(inside, 60, 150)[..., None] * shine[..., None]
    # the lip shades the upper-left inside of the bowl
    sd = np.sqrt((xx + 5 - C) ** 2 + (yy + 5 - C) ** 2)
    col *= (1 - 0.55 * inside * np.clip(sd - R + 2, 0, 4) / 4)[..., None]
    return mix(img, col, np.clip(R + LIP + 0.5 - d, 0, 1))


def hole():
    img = floor()
    xx, yy = grid(N, N)
    R = 17.0
    d = np.sqrt((xx - C) ** 2 + (yy - C) ** 2)
    depth = np.clip(d / R, 0, 1)
    # inner wall: lit on the lower right (it faces the light), dark on the upper left
    ang = ((xx - C) + (yy - C)) / (np.sqrt(2) * np.maximum(d, 1e-6))
    wall = np.clip((depth - 0.35) / 0.65, 0, 1) ** 1.6
    lit = np.clip(0.35 + 0.75 * ang, 0, 1)
    inner = mix((4, 3, 2), (120, 86, 56), wall * lit)
    # the floor edge casts a soft crescent of shadow into the upper left
    sd = np.sqrt((xx + 3.5 - C) ** 2 + (yy + 3.5 - C) ** 2)
    inner *= (1 - 0.6 * np.clip(sd - R + 1, 0, 2.5) / 2.5)[..., None]
    # a brass ring around the hole
    ring = np.clip(1.35 - np.abs(d - R - 0.4) / 1.0, 0, 1)
    ring_col = mix((120, 96, 56), (250, 226, 160), np.clip(0.5 - 0.7 * ang, 0, 1))
    cov = np.clip(R + 0.5 - d, 0, 1)
    img = mix(img, inner, cov)
    return mix(img, ring_col, ring * 0.9)


def fall_frame(k):
    """Frame k (0..6) of the marble sinking: smaller, darker, the rim's shadow creeping in."""
    r = 16.0 - 1.05 * k
    dim = 1.0 - 0.1 * k
    col, mask = marble_picture(r=r, size=N, dim=dim)
    xx, yy = grid(N, N)
    off = 1.5 + 1.4 * k
    sd = np.sqrt((xx + off - C) ** 2 + (yy + off - C) ** 2)
    col *= (1 - 0.6 * np.clip(sd - 16.5, 0, 2) / 2)[..., None]
    return col, mask


def knob_layer():
    """Pinball bumper: white skirt, red cap, chrome top."""
    xx, yy = grid(N, N)
    d = np.sqrt((xx - C) ** 2 + (yy - C) ** 2)
    R1, R2, R3 = 12.5, 9.0, 3.8
    nx, ny, nz = sphere_normals(xx, yy, C, C, R1 + 2, flat=1.6)
    diff, shine = shade_normals(nx, ny, nz, 20)
    skirt = np.array([235.0, 232.0, 222.0]) * (0.45 + 0.6 * diff)[..., None]
    nx2, ny2, nz2 = sphere_normals(xx, yy, C, C, R2 + 1, flat=0.9)
    d2, s2 = shade_normals(nx2, ny2, nz2, 40)
    cap = np.array([215.0, 30.0, 40.0]) * (0.35 + 0.8 * d2)[..., None] + 255 * s2[..., None]
    nx3, ny3, nz3 = sphere_normals(xx, yy, C, C, R3 + 0.5)
    d3, s3 = shade_normals(nx3, ny3, nz3, 30)
    top = np.array([250.0, 215.0, 80.0]) * (0.4 + 0.7 * d3)[..., None] + 255 * s3[..., None]
    col = np.where((d < R2)[..., None], cap, skirt)
    col = np.where((d < R3)[..., None], top, col)
    ring = np.abs(d - R2) < 0.6
    col[ring] *= 0.55
    edge = (d > R1 - 0.9) & (d <= R1 + 0.5)
    col[edge] *= 0.55
    mask = d <= R1 + 0.5
    return col, mask


def flag():
    img = floor()
    im = Image.fromarray(np.clip(img, 0, 255).astype(np.uint8))
    big = 4
    layer = Image.new("RGBA", (N * big, N * big), (0, 0, 0, 0))
    dr = ImageDraw.Draw(layer)
    s = lambda v: v * big
    # shadow of pole and flag on the floor
    shadow = Image.new("L", (N * big, N * big), 0)
    ds = ImageDraw.Draw(shadow)
    ds.line([(s(15.5), s(33.5)), (s(17.5), s(35.5))], fill=120, width=s(2))
    ds.polygon([(s(17), s(9)), (s(33), s(14)), (s(17), s(20))], fill=90)
    shadow = shadow.filter(ImageFilter.GaussianBlur(big * 1.0))
    # base plate
    dr.ellipse([s(10.5), s(30.5), s(19.5), s(36.5)], fill=(70, 70, 78, 255))
    dr.ellipse([s(11.5), s(31), s(18.5), s(35)], fill=(150, 150, 160, 255))
    # pole
    dr.rectangle([s(14), s(5), s(15.6), s(34)], fill=(70, 64, 60, 255))
    dr.rectangle([s(14.2), s(5), s(14.8), s(34)], fill=(210, 205, 195, 255))
    dr.ellipse([s(13.2), s(3.5), s(16.6), s(6.9)], fill=(245, 210, 60, 255))
    # pennant, with a fold
    dr.polygon([(s(15.6), s(6.5)), (s(33), s(11.5)), (s(15.6), s(17))], fill=(225, 28, 30, 255))
    dr.polygon([(s(15.6), s(12)), (s(33), s(11.5)), (s(15.6), s(17))], fill=(165, 14, 20, 255))
    dr.line([(s(15.6), s(6.6)), (s(33), s(11.5))], fill=(255, 120, 110, 255), width=big)
    layer = layer.resize((N, N), Image.LANCZOS)
    shadow = shadow.resize((N, N), Image.LANCZOS)
    base = np.asarray(im, float) * (1 - 0.55 * np.asarray(shadow, float)[..., None] / 255)
    lay = np.asarray(layer, float)
    a = lay[..., 3:4] / 255
    return base * (1 - a) + lay[..., :3] * a


def start_marker():
    img = floor()
    xx, yy = grid(N, N)
    d = np.sqrt((xx - C) ** 2 + (yy - C) ** 2)
    R = 14.0
    nx, ny, nz = sphere_normals(xx, yy, C, C, R + 3, flat=2.5)
    diff, shine = shade_normals(nx, ny, nz, 20)
    disc = np.array([40.0, 170.0, 70.0]) * (0.5 + 0.6 * diff)[..., None] + 160 * shine[..., None]
    ring = np.clip(1.2 - np.abs(d - R + 1.2) / 0.9, 0, 1)
    disc = mix(disc, (235, 245, 235), ring)
    img = mix(img, disc, np.clip(R + 0.5 - d, 0, 1))
    # a white "S" with a dark shadow
    big = 4
    txt = Image.new("L", (N * big, N * big), 0)
    f = ImageFont.truetype(system.font("DejaVuSans-Bold.ttf"), 19 * big)
    dr = ImageDraw.Draw(txt)
    dr.text((C * big, C * big + big), "S", font=f, fill=255, anchor="mm")
    t = np.asarray(txt.resize((N, N), Image.LANCZOS), float) / 255
    sh = np.roll(np.roll(t, 1, 0), 1, 1)
    img = mix(img, (10, 50, 20), sh * 0.7)
    return mix(img, (250, 250, 245), t)


def shutter():
    """A steel hatch of horizontal slats in a bevelled frame."""
    xx, yy = grid(N, N)
    brushed = periodic_noise(N, N, 25, 0.8, 51)
    img = solid(N, N, (150, 156, 165)) * (1 + 0.05 * brushed)[..., None]
    slat = ((yy - 4) % 6)
    face = np.where(slat < 1, 1.25, np.where(slat >= 5, 0.6, 1.0 - 0.04 * slat))
    inner = (xx >= 4) & (xx <= N - 5) & (yy >= 4) & (yy <= N - 5)
    img[inner] *= face[inner][..., None]
    img = bevel_block(img, 3, hi=1.35, lo=0.5, left=1.2, right=0.6)
    for (px, py) in ((6, 6), (N - 7, 6), (6, N - 7), (N - 7, N - 7)):
        d = np.sqrt((xx - px) ** 2 + (yy - py) ** 2)
        rv = np.clip(1.6 - d, 0, 1)
        tone = np.clip(1.0 - ((xx - px) + (yy - py)) * 0.5, 0.4, 1.6)
        img = mix(img, np.array([170.0, 175.0, 185.0]) * tone[..., None], rv)
    return img


# ---------------------------------------------------------------- slopes

def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = np.clip(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0, 1)
    return np.sqrt((px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2)


def slope(direction):
    """A ramp going down towards `direction`; inlaid chevrons point downhill."""
    xx, yy = grid(N, N)
    ux, uy = {"right": (1, 0), "left": (-1, 0), "down": (0, 1), "up": (0, -1)}[direction]
    u = (xx - 19) * ux + (yy - 19) * uy          # along the slope, downhill positive
    v = (xx - 19) * (-uy) + (yy - 19) * ux       # across it
    dist = np.full((N, N), 1e9)
    for apex in (-2.0, 11.0):
        for side in (-1, 1):
            dist = np.minimum(dist, seg_dist(u, v, apex, 0, apex - 9, side * 10.5))
    stroke = np.clip(2.4 - dist, 0, 1.6) / 1.6   # 0 outside, 1 on the chevron
    h = stroke * 1.8 - u * 0.30                   # the ramp falls along u
    nx, ny, nz = normals_from_height(h, 1.0)
    diff, shine = shade_normals(nx, ny, nz, 14)
    base = wood(N, N, (226, 196, 140), (186, 150, 96), seed=61, grain=0.5)
    if direction in ("up", "down"):
        base = np.transpose(base, (1, 0, 2))
    inlay = np.array([120.0, 52.0, 30.0])
    mat = mix(base, inlay, stroke)
    # a gentle brightness ramp along the slope makes the tilt readable as well
    ramp = 1.08 - 0.16 * (u + 19) / 38
    col = mat * (0.32 + 0.85 * diff)[..., None] * ramp[..., None] + 70 * shine[..., None]
    return col


# ---------------------------------------------------------------- tubes

def capsule_dist(xx, yy, a, b):
    ax, ay = a
    bx, by = b
    px, py = xx - ax, yy - ay
    dx, dy = bx - ax, by - ay
    t = np.clip((px * dx + py * dy) / (dx * dx + dy * dy), 0, 1)
    return np.sqrt((px - t * dx) ** 2 + (py - t * dy) ** 2)


def tube(opens):
    """Metal pipe over the floor, running to each open side in `opens` ("nsew").

    A branch is a little narrower than the through pipe it joins, so the tee
    reads as one pipe with a side arm and the closed side shows floor.
    """
    xx, yy = grid(N, N)
    R, RB = 13.0, 11.0
    ends = {"n": (C, -12.0), "s": (C, N + 12.0), "w": (-12.0, C), "e": (N + 12.0, C)}
    main = "ns" if ("n" in opens and "s" in opens) else "we"
    branches = [o for o in opens if o not in main]
    radius = {o: (R if o in main else RB) for o in opens}
    h = np.zeros((N, N))
    solid_part = np.full((N, N), -1e9)
    shadow_d = np.full((N, N), 1e9)
    for o in opens:
        a = (C, C) if o in branches else ends[main[0]]
        b = ends[o] if o in branches else ends[main[1]]
        r = radius[o]
        d = capsule_dist(xx, yy, a, b)
        h = np.maximum(h, np.sqrt(np.clip(r * r - d * d, 0, None)))
        solid_part = np.maximum(solid_part, r - d)
        shadow_d = np.minimum(shadow_d, capsule_dist(xx - 3, yy - 3, a, b) - r)
    # collars at the open edges and where an arm leaves the through pipe
    collar = np.zeros((N, N))
    for o in opens:
        r = radius[o] + 1.6
        along = {"n": yy, "s": N - 1 - yy, "w": xx, "e": N - 1 - xx}[o]
        across = {"n": np.abs(xx - C), "s": np.abs(xx - C), "w": np.abs(yy - C), "e": np.abs(yy - C)}[o]
        bands = [(along >= 1) & (along < 4.5)]
        if o in branches:
            bands.append((np.abs(along - (N - 1 - C - R - 2.5)) < 1.6))
        for band in bands:
            band = band & (across < r)
            collar = np.maximum(collar, band * np.sqrt(np.clip(r * r - across ** 2, 0, None)))
            solid_part = np.maximum(solid_part, np.where(band, r - across, -1e9))
    h2 = np.maximum(h, collar)
    nx, ny, nz = normals_from_height(h2, 1.0)
    diff, shine = shade_normals(nx, ny, nz, 40)
    metal = np.array([128.0, 146.0, 170.0])
    col = metal * (0.3 + 0.85 * diff)[..., None] + 235 * shine[..., None]
    col[collar > h] *= 0.82
    img = floor()
    sh = np.clip((1.5 - shadow_d) / 3.0, 0, 1)
    img *= (1 - 0.5 * sh)[..., None]
    cov = np.clip(solid_part + 0.5, 0, 1)
    return mix(img, col, cov)


def text_mask(text, font_file, size, w, h, x, y, big=3, anchor="la"):
    im = Image.new("L", (w * big, h * big), 0)
    f = ImageFont.truetype(system.font(font_file), size * big)
    ImageDraw.Draw(im).text((x * big, y * big), text, font=f, fill=255, anchor=anchor)
    return np.asarray(im.resize((w, h), Image.LANCZOS), float) / 255


def logo():
    """329 by 101: 'vinkla' in polished brass on a walnut plaque.

    The plaque fills the top 89 rows; the rest stays black, because the second
    title picture is drawn from y 240, eleven rows above the logo's bottom.
    """
    W, H, PH = 329, 101, 89
    full = np.zeros((H, W, 3))
    H = PH
    xx, yy = grid(H, W)
    bg = np.zeros((H, W, 3))
    # rounded plaque
    rad = 14
    qx = np.clip(np.maximum(rad - xx, xx - (W - 1 - rad)), 0, None)
    qy = np.clip(np.maximum(rad - yy, yy - (H - 1 - rad)), 0, None)
    rd = np.sqrt(qx * qx + qy * qy)
    inside = np.clip(rad + 0.5 - rd, 0, 1)
    plank = wood(H, W, (120, 74, 42), (78, 44, 24), seed=71, grain=0.35)
    # bevel from the distance to the plaque's edge
    edge = np.minimum(np.minimum(xx, W - 1 - xx), np.minimum(yy, H - 1 - yy))
    hgt = np.clip(np.where((qx > 0) & (qy > 0), rad - rd, edge), 0, 6)
    nx, ny, nz = normals_from_height(hgt, 0.9)
    diff, _ = shade_normals(nx, ny, nz, 10)
    plank = plank * (0.35 + 0.9 * diff)[..., None]
    img = mix(bg, plank, inside)
    # lettering: blurred mask as height -> brass shading
    t = text_mask("vinkla", "DejaVuSans-Bold.ttf", 70, W, H, W / 2, H / 2 + 1, anchor="mm")
    tb = np.asarray(Image.fromarray((t * 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(2.2)), float) / 255
    nx, ny, nz = normals_from_height(tb * 10, 1.0)
    diff, shine = shade_normals(nx, ny, nz, 30)
    grad = mix((255, 226, 120), (196, 126, 36), np.clip((yy - 20) / 60, 0, 1))
    brass = grad * (0.45 + 0.7 * diff)[..., None] + 255 * shine[..., None] * 0.9
    shadow = np.asarray(Image.fromarray((t * 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(2.5)), float) / 255
    shadow = np.roll(np.roll(shadow, 4, 0), 4, 1)
    img *= (1 - 0.7 * shadow)[..., None]
    outline = np.asarray(Image.fromarray((t * 255).astype(np.uint8)).filter(ImageFilter.MaxFilter(3)), float) / 255
    img = mix(img, (40, 22, 10), outline)
    img = mix(img, brass, t)
    full[:PH] = img
    return full


def tagline():
    """Second title picture, 410 by 50: a tagline between two rules; mask colour elsewhere."""
    W, H = 410, 50
    xx, yy = grid(H, W)
    img = np.zeros((H, W, 3))
    t = text_mask("Kallista lautaa \u2013 ker\u00e4\u00e4 liput", "DejaVuSerif-Italic.ttf", 24, W, H,
                  W / 2, 24, anchor="mm")
    sh = np.roll(np.roll(t, 2, 0), 2, 1)
    img = mix(img, (90, 50, 20), sh * 0.9)
    grad = mix((255, 244, 214), (230, 190, 120), np.clip((yy - 12) / 24, 0, 1))
    img = mix(img, grad, t)
    cover = np.zeros((H, W))
    for y0 in (3, H - 4):
        fade = np.clip(1 - np.abs(xx - W / 2) / (W / 2), 0, 1) ** 0.6
        line = (np.abs(yy - y0) < 0.8) * fade
        img = mix(img, (200, 150, 70), line)
        cover = np.maximum(cover, line)
    cover = np.maximum(cover, np.maximum(t, sh))
    return img, cover > 0.03


def marble_strip():
    """Third title picture, 330 by 22: marbles in a groove."""
    W, H = 330, 22
    xx, yy = grid(H, W)
    groove = wood(H, W, (150, 98, 58), (104, 62, 32), seed=81, grain=0.8)
    depth = np.clip(1 - np.abs(yy - 10.5) / 11, 0, 1)
    groove *= (0.55 + 0.5 * np.clip((yy - 4) / 14, 0, 1))[..., None]
    fade = np.clip(np.minimum(xx, W - 1 - xx) / 18, 0, 1)
    img = groove * fade[..., None] * (0.4 + 0.6 * depth)[..., None]
    for i, cx in enumerate(range(23, W - 10, 36)):
        r = 8.2
        nx, ny, nz = sphere_normals(xx, yy, cx, 10.5, r)
        ball = marble_colours(nx, ny, nz)
        if i % 3 == 1:
            ball = ball * np.array([1.05, 0.55, 0.45])
        elif i % 3 == 2:
            ball = ball * np.array([0.55, 0.75, 1.05])
        cov = aa_disc(xx, yy, cx, 10.5, r)
        img = mix(img, ball, cov * fade)
    return img


def bubble():
    """The spirit level's air bubble under the glass: a dark rim where the liquid bends the
    light, a pale middle, a shine from the upper left. Its middle (radius 3.5 round the centre)
    is one flat colour, which the tests look for."""
    size, c, r = 19, 9.0, 9.0
    xx, yy = grid(size, size)
    d = np.sqrt((xx - c) ** 2 + (yy - c) ** 2)
    t = np.clip(d / r, 0, 1)
    col = mix((246, 250, 222), (176, 200, 108), np.clip((t - 0.45) / 0.55, 0, 1) ** 1.6)
    col = mix(col, (96, 124, 40), np.clip((d - (r - 1.4)) / 1.0, 0, 1))
    # the liquid's light comes through at the lower right, opposite the shine
    lower = np.sqrt((xx - c - 3.2) ** 2 + (yy - c - 3.2) ** 2)
    col = mix(col, (236, 244, 196), np.clip(1 - np.abs(lower - 4.6) / 1.2, 0, 1) * (d > 4.6) * 0.6)
    shine = np.sqrt((xx - c + 3.5) ** 2 + (yy - c + 3.5) ** 2)
    col = mix(col, (255, 255, 255), np.clip(2.3 - shine, 0, 1))
    flat = d <= 3.5
    col[flat] = (246, 250, 222)
    mask = d <= r + 0.3
    return col, mask
