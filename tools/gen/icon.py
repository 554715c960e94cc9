"""The game's icon: the steel marble on a corner of the board, in its wooden frame, by a hole
and a flag.

Each size is drawn for itself rather than shrunk from a large one. Up to 24 pixels every edge
falls on whole pixels, the marble has one highlight and a dark rim, and the hole and the flag
are left out; from 32 pixels on edges are smoothed and the marble is shaded as in the game.
"""
import numpy as np

from .common import grid, mix
from .pictures import marble_colours, sphere_normals

SIZES = (16, 24, 32, 48, 64, 128, 256)

WOOD_LIGHT, WOOD_DARK = (150, 96, 58), (96, 56, 30)
HONEY_LIGHT, HONEY_DARK = (224, 182, 124), (184, 134, 80)
RIM = (56, 30, 14)


def _layout(s):
    """Measures of the picture at size s, in pixels."""
    small = s <= 24
    m = 0 if small else round(s / 32)                  # margin around the board
    return {
        "small": small,
        "m": m,
        "corner": 0.16 * (s - 2 * m),
        "frame": max(2, round(s * 0.13)),              # the wall around the floor
        "rim": max(1, s // 64),
        # small: centred on a pixel corner, so the disc comes out symmetric
        "marble": (round(0.42 * s), round(0.58 * s), 0.25 * s) if small else (0.42 * s, 0.58 * s, 0.22 * s),
        "hole": (0.70 * s, 0.31 * s, 0.11 * s),
        "flag": (0.71 * s, 0.53 * s, 0.82 * s),        # pole x, top, foot
    }


def _round_rect_distance(xx, yy, x0, y0, x1, y1, r):
    """Signed distance from pixel centres to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = np.abs(xx + 0.5 - cx) - hx, np.abs(yy + 0.5 - cy) - hy
    outside = np.sqrt(np.maximum(qx, 0) ** 2 + np.maximum(qy, 0) ** 2)
    return outside + np.minimum(np.maximum(qx, qy), 0) - r


def _coverage(distance, small):
    """How much of each pixel a shape covers: whole pixels when small, else smoothed."""
    if small:
        return (distance < 0).astype(float)
    return np.clip(0.5 - distance, 0, 1)


def _over(rgb, alpha, colour, cov):
    """Paints colour over the picture with coverage cov."""
    cov = np.asarray(cov, float)
    rgb[:] = mix(rgb, colour, cov)
    alpha[:] = np.maximum(alpha, cov)


def icon_rgba(s):
    """The icon at s by s pixels: an (s, s, 4) uint8 array, not premultiplied."""
    L = _layout(s)
    small, m, fw = L["small"], L["m"], L["frame"]
    xx, yy = grid(s, s)
    rgb = np.zeros((s, s, 3))
    alpha = np.zeros((s, s))

    board = _round_rect_distance(xx, yy, m, m, s - m, s - m, L["corner"])
    inner = _round_rect_distance(xx, yy, m + fw, m + fw, s - m - fw, s - m - fw,
                                 max(0.0, L["corner"] - fw))
    # The frame: wood, lit on its top and left faces, in shade on the bottom and right.
    dl, dt = xx - m, yy - m
    dr, db = s - m - 1 - xx, s - m - 1 - yy
    near = np.minimum(np.minimum(dl, dt), np.minimum(dr, db))
    grain = 0.5 + 0.25 * np.sin((xx + yy * 0.2) * 7.0 / max(fw, 2)) if not small else 0.5
    wood = mix(WOOD_LIGHT, WOOD_DARK, grain)
    light = np.where((dt == near) | (dl == near), 1.3, np.where((db == near) | (dr == near), 0.7, 1.0))
    _over(rgb, alpha, wood * light[..., None], _coverage(board, small))
    # The floor: honey boards, lit from the upper left, the wall's shadow along its top and left.
    floor_t = np.clip((xx + yy) / (2 * s), 0, 1)
    floor = mix(HONEY_LIGHT, HONEY_DARK, floor_t)
    if s >= 64:
        plank = max(4, s // 10)
        floor[((yy - m - fw).astype(int) % plank) == plank - 1] *= 0.86
    if not small:
        shadow = np.clip(1 - (np.minimum(xx - m - fw, yy - m - fw) + 0.5) / max(1.0, s / 24), 0, 1)
        floor *= (1 - 0.35 * shadow)[..., None]
    _over(rgb, alpha, floor, _coverage(inner, small))
    # A dark rim around the whole board keeps its outline on any panel.
    rim = _coverage(board, small) * (1 - _coverage(board + L["rim"], small))
    _over(rgb, alpha, RIM, rim)

    if not small:
        _hole(rgb, alpha, xx, yy, *L["hole"], s)
    if s >= 48:
        _flag(rgb, alpha, xx, yy, *L["flag"], s)
    _marble(rgb, alpha, xx, yy, *L["marble"], small, s)
    out = np.dstack([np.clip(np.rint(rgb), 0, 255), np.rint(alpha * 255)]).astype(np.uint8)
    out[out[..., 3] == 0] = 0
    return out


def _hole(rgb, alpha, xx, yy, cx, cy, r, s):
    d = np.sqrt((xx + 0.5 - cx) ** 2 + (yy + 0.5 - cy) ** 2)
    ring = np.clip(r + 0.5 + s / 64 - d, 0, 1)
    _over(rgb, alpha, mix((120, 96, 56), (236, 212, 150), np.clip((cy - yy) / r, 0, 1)), ring)
    _over(rgb, alpha, (8, 6, 4), np.clip(r + 0.5 - d, 0, 1))


def _flag(rgb, alpha, xx, yy, x, top, foot, s):
    w = max(1.0, s / 40)
    pole = (np.abs(xx + 0.5 - x) < w) & (yy + 0.5 > top) & (yy + 0.5 < foot)
    _over(rgb, alpha, (70, 64, 60), pole.astype(float))
    # the pennant: a triangle from the pole's top to the right
    length, half = 0.14 * s, 0.055 * s
    u = (xx + 0.5 - x - w) / length
    v = np.abs(yy + 0.5 - top - half) / half
    pennant = np.clip((1 - u - v) * length, 0, 1) * (u >= 0)
    _over(rgb, alpha, (214, 30, 30), pennant)


def _marble(rgb, alpha, xx, yy, cx, cy, r, small, s):
    d = np.sqrt((xx + 0.5 - cx) ** 2 + (yy + 0.5 - cy) ** 2)
    if small:
        body = d < r
        # three tones and one highlight: lit upper left, shade lower right, a dark rim
        t = np.clip(((xx + 0.5 - cx) + (yy + 0.5 - cy)) / (1.6 * r) + 0.5, 0, 1)
        col = mix((228, 234, 244), (92, 100, 118), t)
        _over(rgb, alpha, col, body.astype(float))
        edge = body & (d > r - 1.0)
        _over(rgb, alpha, (26, 28, 36), edge.astype(float))
        hx, hy = int(cx - 0.35 * r), int(cy - 0.35 * r)
        rgb[hy, hx] = (255, 255, 255)
        return
    # its shadow on the floor, to the lower right
    sd = np.sqrt((xx + 0.5 - cx - 0.12 * r) ** 2 + (yy + 0.5 - cy - 0.16 * r) ** 2)
    shade = np.clip((r * 1.12 - sd) / (0.25 * r), 0, 1) * 0.45
    rgb *= (1 - shade)[..., None]
    # the game's steel ball, sampled four times a pixel
    k = 4
    sx, sy = grid(s * k, s * k)
    sx, sy = (sx + 0.5) / k, (sy + 0.5) / k
    nx, ny, nz = sphere_normals(sx, sy, cx, cy, r)
    big = marble_colours(nx, ny, nz)
    inside = (np.sqrt((sx - cx) ** 2 + (sy - cy) ** 2) < r).astype(float)
    col = (big * inside[..., None]).reshape(s, k, s, k, 3).sum(axis=(1, 3))
    cov = inside.reshape(s, k, s, k).sum(axis=(1, 3))
    col = col / np.maximum(cov, 1)[..., None]
    cov = cov / (k * k)
    # a darker outermost ring, so the ball stands out from the pale floor
    edge = np.clip(1 - np.abs(d - r + 0.6) / 0.9, 0, 1) * 0.45
    col *= (1 - edge)[..., None]
    _over(rgb, alpha, col, cov)


def icon_svg():
    """The icon as a scalable picture, the same composition at 256 units."""
    s = 256
    L = _layout(s)
    m, fw, c = L["m"], L["frame"], L["corner"]
    mx, my, mr = L["marble"]
    hx, hy, hr = L["hole"]
    px, top, foot = L["flag"]
    w = s / 40
    length, half = 0.14 * s, 0.055 * s
    hex_ = lambda c: "#%02x%02x%02x" % tuple(int(v) for v in c)
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="{s}" height="{s}" viewBox="0 0 {s} {s}">
  <defs>
    <linearGradient id="wood" x1="0" y1="0" x2="1" y2="1">
      <stop offset="0" stop-color="{hex_(np.multiply(WOOD_LIGHT, 1.3).clip(0, 255))}"/>
      <stop offset="0.5" stop-color="{hex_(mix(WOOD_LIGHT, WOOD_DARK, 0.5))}"/>
      <stop offset="1" stop-color="{hex_(np.multiply(WOOD_DARK, 0.7))}"/>
    </linearGradient>
    <linearGradient id="floor" x1="0" y1="0" x2="1" y2="1">
      <stop offset="0" stop-color="{hex_(HONEY_LIGHT)}"/>
      <stop offset="1" stop-color="{hex_(HONEY_DARK)}"/>
    </linearGradient>
    <radialGradient id="steel" cx="0.36" cy="0.34" r="0.75">
      <stop offset="0" stop-color="#ffffff"/>
      <stop offset="0.25" stop-color="#dfe5f0"/>
      <stop offset="0.7" stop-color="#6a7388"/>
      <stop offset="0.86" stop-color="#3e4250"/>
      <stop offset="1" stop-color="#8c6a44"/>
    </radialGradient>
    <radialGradient id="shadow">
      <stop offset="0.75" stop-color="#000" stop-opacity="0.45"/>
      <stop offset="1" stop-color="#000" stop-opacity="0"/>
    </radialGradient>
  </defs>
  <rect x="{m + L['rim'] / 2}" y="{m + L['rim'] / 2}" width="{s - 2 * m - L['rim']}" height="{s - 2 * m - L['rim']}"
        rx="{c}" fill="url(#wood)" stroke="{hex_(RIM)}" stroke-width="{L['rim']}"/>
  <rect x="{m + fw}" y="{m + fw}" width="{s - 2 * (m + fw)}" height="{s - 2 * (m + fw)}"
        rx="{max(0.0, c - fw)}" fill="url(#floor)"/>
  <circle cx="{hx}" cy="{hy}" r="{hr + s / 64}" fill="#c8aa6a"/>
  <circle cx="{hx}" cy="{hy}" r="{hr}" fill="#080604"/>
  <rect x="{px - w}" y="{top}" width="{2 * w}" height="{foot - top}" fill="#46403c"/>
  <polygon points="{px + w},{top} {px + w + length},{top + half} {px + w},{top + 2 * half}" fill="#d61e1e"/>
  <circle cx="{mx + 0.12 * mr}" cy="{my + 0.16 * mr}" r="{1.12 * mr}" fill="url(#shadow)"/>
  <circle cx="{mx}" cy="{my}" r="{mr}" fill="url(#steel)" stroke="#22242c" stroke-opacity="0.5" stroke-width="{s / 128}"/>
</svg>
"""
