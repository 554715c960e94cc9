"""Tile, marble and title pictures, drawn with numpy and lit from the upper left."""
import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

from .common import (CELL, LIGHT, aa_disc, grid, mix, normals_from_height,
                     periodic_noise, shade_normals, solid)

C = 20.0          # the tile's and the marble's centre, in picture pixels
N = CELL
FONT_DIR = "/usr/share/fonts/truetype/dejavu/"


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
    """Honey-coloured planks, three per cell, staggered butt joints."""
    img = wood(N, N, (214, 170, 112), (168, 118, 66), seed=11)
    xx, yy = grid(N, N)
    plank = (yy // 13).astype(int)
    tone = np.array([1.03, 0.95, 1.0])[plank]
    img *= tone[..., None]
    row = yy.astype(int) % 13
    img[row == 12] *= 0.70
    img[row == 0] *= 1.07
    joints = [7, 30, 18]
    for p, jx in enumerate(joints):
        band = plank == p
        img[band & (xx == jx)] *= 0.68
        img[band & (xx == jx + 1)] *= 1.08
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
    img = bevel_block(img, 4)
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
    """A polished steel ball: reflected studio light above, warm floor below."""
    # reflection of the view ray (0,0,1) about the normal
    rx, ry, rz = 2 * nz * nx, 2 * nz * ny, 2 * nz * nz - 1
    up = np.clip(-(rx + ry) * 0.6 + rz * 0.5, -1, 1)
    sky = mix((70, 78, 92), (238, 242, 250), (up + 1) / 2)
    floor_refl = np.array([150.0, 108.0, 66.0])
    horizon = np.clip(-rz, 0, 1) ** 0.7          # grazing rays see the floor
    col = mix(sky, floor_refl, horizon * 0.75)
    diff, spec = shade_normals(nx, ny, nz, 60)
    col = col * (0.55 + 0.45 * diff)[..., None] + 255 * (spec * 1.1)[..., None]
    return col * dim


def marble_picture(r=16.0, size=40, dim=1.0, cx=C, cy=C):
    xx, yy = grid(size, size)
    nx, ny, nz = sphere_normals(xx, yy, cx, cy, r)
    col = marble_colours(nx, ny, nz, dim)
    d = np.sqrt((xx - cx) ** 2 + (yy - cy) ** 2)
    cov = np.clip(r + 0.5 - d, 0, 1)
    mask = cov >= 0.5
    # rim pixels darkened instead of blended: no background to blend with
    edge = mask & (cov < 1)
    col[edge] *= 0.6
    return col, mask


def dome_or_bowl(concave):
    img = floor()
    xx, yy = grid(N, N)
    R = 16.5
    d = np.sqrt((xx - C) ** 2 + (yy - C) ** 2)
    cap = np.clip(R * R - d * d, 0, None) / R
    h = -cap if concave else cap
    nx, ny, nz = normals_from_height(h, 0.55)
    diff, spec = shade_normals(nx, ny, nz, 25)
    base = np.array([75.0, 120.0, 190.0]) if concave else np.array([210.0, 105.0, 50.0])
    col = base * (0.35 + 0.85 * diff)[..., None] + 200 * spec[..., None]
    if concave:
        # the rim shades the upper-left inside of the bowl
        sx, sy = xx + 4.5, yy + 4.5
        shadow = np.sqrt((sx - C) ** 2 + (sy - C) ** 2) > R
        col[shadow & (d < R)] *= 0.65
        # a bright lip around the edge
        lip = np.clip(1 - np.abs(d - R) / 1.2, 0, 1)
        col = mix(col, (235, 230, 220), lip * 0.5)
    else:
        # the dome throws a soft shadow down and right on the floor
        sd = np.sqrt((xx - C - 2.5) ** 2 + (yy - C - 2.5) ** 2)
        sh = np.clip((R + 1.5 - sd) / 3, 0, 1) * (d > R)
        img *= (1 - 0.45 * sh)[..., None]
    cov = np.clip(R + 0.5 - d, 0, 1)
    return mix(img, col, cov)


def hole():
    img = floor()
    xx, yy = grid(N, N)
    R = 17.0
    d = np.sqrt((xx - C) ** 2 + (yy - C) ** 2)
    depth = np.clip(d / R, 0, 1)
    # inner wall: lit on the lower right, in shadow on the upper left
    ang = ((xx - C) + (yy - C)) / (np.sqrt(2) * np.maximum(d, 1e-6))
    wall = np.clip((depth - 0.55) / 0.45, 0, 1) ** 1.5
    inner = mix((6, 4, 3), (60, 42, 28), wall * np.clip(0.5 + 0.6 * ang, 0, 1))
    # the floor edge casts a crescent of shadow into the upper left
    shadow = np.sqrt((xx + 3 - C) ** 2 + (yy + 3 - C) ** 2) > R
    inner[shadow] *= 0.55
    # a metal ring around the hole
    ring = np.clip(1.3 - np.abs(d - R - 0.6) / 1.0, 0, 1)
    ring_col = mix((90, 80, 70), (230, 220, 200), np.clip(0.5 - 0.7 * ang, 0, 1))
    cov = np.clip(R + 0.5 - d, 0, 1)
    img = mix(img, inner, cov)
    return mix(img, ring_col, ring * 0.85)


def fall_frame(k):
    """Frame k (0..6) of the marble sinking: smaller, darker, the rim's shadow creeping in."""
    r = 16.0 - 1.0 * k
    dim = 1.0 - 0.11 * k
    col, mask = marble_picture(r=r, size=N, dim=dim)
    xx, yy = grid(N, N)
    # shadow of the hole's upper-left rim grows as the marble sinks
    off = 1.0 + 1.3 * k
    shadow = np.sqrt((xx + off - C) ** 2 + (yy + off - C) ** 2) > 17.0
    col[shadow] *= 0.45
    return col, mask


def knob_layer():
    """Pinball bumper: white skirt, red cap, chrome top."""
    xx, yy = grid(N, N)
    d = np.sqrt((xx - C) ** 2 + (yy - C) ** 2)
    R1, R2, R3 = 11.5, 8.5, 3.5
    nx, ny, nz = sphere_normals(xx, yy, C, C, R1 + 2, flat=1.6)
    diff, spec = shade_normals(nx, ny, nz, 20)
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
    diff, spec = shade_normals(nx, ny, nz, 20)
    disc = np.array([40.0, 170.0, 70.0]) * (0.5 + 0.6 * diff)[..., None] + 160 * spec[..., None]
    ring = np.clip(1.2 - np.abs(d - R + 1.2) / 0.9, 0, 1)
    disc = mix(disc, (235, 245, 235), ring)
    img = mix(img, disc, np.clip(R + 0.5 - d, 0, 1))
    # a white "S" with a dark shadow
    big = 4
    txt = Image.new("L", (N * big, N * big), 0)
    f = ImageFont.truetype(FONT_DIR + "DejaVuSans-Bold.ttf", 19 * big)
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

def slope(direction):
    """A ramp going down towards `direction` ('right','left','up','down'), chevrons point downhill."""
    xx, yy = grid(N, N)
    # rotate coordinates so that 'u' points downhill
    ux, uy = {"right": (1, 0), "left": (-1, 0), "down": (0, 1), "up": (0, -1)}[direction]
    u = (xx - 19) * ux + (yy - 19) * uy          # along the slope
    v = (xx - 19) * (-uy) + (yy - 19) * ux       # across it
    # chevron ridges: height bumps along lines u = |v| * 0.8 + c
    h = np.zeros((N, N))
    for c in (-9.0, 4.0):
        dist = (u - (c - np.abs(v) * 0.75 + 6)) / 1.25
        h += np.exp(-dist * dist) * 2.2 * (np.abs(v) < 13)
    # the ramp itself: height falls along u
    h_total = h - u * 0.35
    nx, ny, nz = normals_from_height(h_total, 1.0)
    diff, spec = shade_normals(nx, ny, nz, 12)
    base = wood(N, N, (226, 196, 140), (186, 150, 96), seed=61, grain=0.5)
    if direction in ("up", "down"):
        base = np.transpose(wood(N, N, (226, 196, 140), (186, 150, 96), seed=61, grain=0.5), (1, 0, 2))
    col = base * (0.35 + 0.85 * diff)[..., None] + 60 * spec[..., None]
    chev = np.clip(h / 2.2, 0, 1)
    col = mix(col, col * np.array([0.55, 0.45, 0.35]), chev * 0.6)
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
    """Metal pipe over the floor, running to each open side in `opens` ("nsew")."""
    xx, yy = grid(N, N)
    R = 14.5
    ends = {"n": (C, -12.0), "s": (C, N + 12.0), "w": (-12.0, C), "e": (N + 12.0, C)}
    d = np.full((N, N), 1e9)
    for o in opens:
        d = np.minimum(d, capsule_dist(xx, yy, (C, C), ends[o]))
    h = np.sqrt(np.clip(R * R - d * d, 0, None))
    # collars at the open edges
    collar = np.zeros((N, N))
    for o in opens:
        along = {"n": yy, "s": N - 1 - yy, "w": xx, "e": N - 1 - xx}[o]
        across = {"n": np.abs(xx - C), "s": np.abs(xx - C), "w": np.abs(yy - C), "e": np.abs(yy - C)}[o]
        band = (along >= 1) & (along < 4.5) & (across < R + 1.5)
        collar = np.maximum(collar, band * np.sqrt(np.clip((R + 1.5) ** 2 - across ** 2, 0, None)))
    h2 = np.maximum(h, collar)
    nx, ny, nz = normals_from_height(h2, 1.0)
    diff, spec = shade_normals(nx, ny, nz, 40)
    metal = np.array([128.0, 146.0, 170.0])
    col = metal * (0.3 + 0.85 * diff)[..., None] + 235 * spec[..., None]
    col[collar > h] *= 0.85
    img = floor()
    # soft shadow of the pipe on the floor, down and right
    sd = np.full((N, N), 1e9)
    for o in opens:
        sd = np.minimum(sd, capsule_dist(xx - 3, yy - 3, (C, C), ends[o]))
    sh = np.clip((R + 1.5 - sd) / 3.0, 0, 1)
    img *= (1 - 0.5 * sh)[..., None]
    cov = np.clip(np.maximum(R - d, (collar > 0) * 1.0) + 0.5, 0, 1)
    return mix(img, col, cov)


# ---------------------------------------------------------------- titles

def text_mask(text, font_file, size, w, h, x, y, big=3, anchor="la"):
    im = Image.new("L", (w * big, h * big), 0)
    f = ImageFont.truetype(FONT_DIR + font_file, size * big)
    ImageDraw.Draw(im).text((x * big, y * big), text, font=f, fill=255, anchor=anchor)
    return np.asarray(im.resize((w, h), Image.LANCZOS), float) / 255


def logo():
    """329 by 101: 'vinkla' in polished brass on a walnut plaque."""
    W, H = 329, 101
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
    t = text_mask("vinkla", "DejaVuSans-Bold.ttf", 74, W, H, W / 2, H / 2 + 2, anchor="mm")
    tb = np.asarray(Image.fromarray((t * 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(2.2)), float) / 255
    nx, ny, nz = normals_from_height(tb * 10, 1.0)
    diff, spec = shade_normals(nx, ny, nz, 30)
    grad = mix((255, 226, 120), (196, 126, 36), np.clip((yy - 20) / 60, 0, 1))
    brass = grad * (0.45 + 0.7 * diff)[..., None] + 255 * spec[..., None] * 0.9
    shadow = np.asarray(Image.fromarray((t * 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(2.5)), float) / 255
    shadow = np.roll(np.roll(shadow, 4, 0), 4, 1)
    img *= (1 - 0.7 * shadow)[..., None]
    outline = np.asarray(Image.fromarray((t * 255).astype(np.uint8)).filter(ImageFilter.MaxFilter(3)), float) / 255
    img = mix(img, (40, 22, 10), outline)
    img = mix(img, brass, t)
    return img


def tagline():
    """Second title picture, 410 by 50: a tagline between two rules."""
    W, H = 410, 50
    xx, yy = grid(H, W)
    img = np.zeros((H, W, 3))
    t = text_mask("Kallista lautaa \u2013 ker\u00e4\u00e4 liput", "DejaVuSerif-Italic.ttf", 24, W, H,
                  W / 2, 24, anchor="mm")
    sh = np.roll(np.roll(t, 2, 0), 2, 1)
    img = mix(img, (90, 50, 20), sh * 0.9)
    grad = mix((255, 244, 214), (230, 190, 120), np.clip((yy - 12) / 24, 0, 1))
    img = mix(img, grad, t)
    for y0 in (3, H - 4):
        fade = np.clip(1 - np.abs(xx - W / 2) / (W / 2), 0, 1) ** 0.6
        line = (np.abs(yy - y0) < 0.8) * fade
        img = mix(img, (200, 150, 70), line)
    return img


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
