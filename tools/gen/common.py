"""Shared helpers for the picture generators: numpy float images in 0..255, saving, noise."""
import numpy as np
from PIL import Image

PINK = np.array([255.0, 0.0, 255.0])
CELL = 39

# Light from the upper left and a little in front: screen y grows downwards.
LIGHT = np.array([-1.0, -1.0, 1.4])
LIGHT = LIGHT / np.linalg.norm(LIGHT)


def grid(h, w):
    """Pixel-centre coordinates (x, y) of an h by w image, pixel i at i."""
    yy, xx = np.mgrid[0:h, 0:w].astype(float)
    return xx, yy


def periodic_noise(h, w, corr_x, corr_y, seed):
    """Smooth noise that wraps around both edges (so tiles join), std about 1."""
    rng = np.random.default_rng(seed)
    white = rng.standard_normal((h, w))
    fy = np.fft.fftfreq(h)[:, None]
    fx = np.fft.fftfreq(w)[None, :]
    filt = np.exp(-((fx * corr_x) ** 2 + (fy * corr_y) ** 2) * 4.0)
    out = np.real(np.fft.ifft2(np.fft.fft2(white) * filt))
    out -= out.mean()
    sd = out.std()
    return out / sd if sd > 0 else out


def mix(a, b, t):
    """Blend colour/image a towards b by t (t broadcast over channels)."""
    t = np.asarray(t, dtype=float)
    if t.ndim == 2:
        t = t[..., None]
    return np.asarray(a, float) * (1 - t) + np.asarray(b, float) * t


def solid(h, w, colour):
    img = np.empty((h, w, 3))
    img[:] = colour
    return img


def shade_normals(nx, ny, nz, shine_power=30.0):
    """Lambert diffuse and Blinn highlight terms for normal maps under LIGHT."""
    diff = np.clip(nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2], 0, 1)
    half = LIGHT + np.array([0, 0, 1.0])
    half /= np.linalg.norm(half)
    shine = np.clip(nx * half[0] + ny * half[1] + nz * half[2], 0, 1) ** shine_power
    return diff, shine


def normals_from_height(h, scale=1.0):
    """Unit normals of a height field (height towards the viewer)."""
    gy, gx = np.gradient(h * scale)
    nx, ny, nz = -gx, -gy, np.ones_like(h)
    n = np.sqrt(nx * nx + ny * ny + nz * nz)
    return nx / n, ny / n, nz / n


def to_u8(img):
    return np.clip(np.rint(img), 0, 255).astype(np.uint8)


def keep_off_pink(img, mask=None):
    """Nudge drawn pixels that happen to be exact mask colour."""
    u = to_u8(img)
    hit = (u[..., 0] == 255) & (u[..., 1] == 0) & (u[..., 2] == 255)
    if mask is not None:
        hit &= mask
    u[hit, 1] = 1
    return u


def save_bmp(path, img, mask=None):
    """24-bit BMP (BITMAPINFOHEADER, no alpha), pink where mask is False."""
    u = keep_off_pink(img)
    if mask is not None:
        u[~mask] = (255, 0, 255)
    Image.fromarray(u, "RGB").save(path, format="BMP")


def aa_disc(xx, yy, cx, cy, r):
    """Coverage 0..1 of a disc of radius r, smoothed over one pixel."""
    d = np.sqrt((xx - cx) ** 2 + (yy - cy) ** 2)
    return np.clip(r + 0.5 - d, 0, 1)
