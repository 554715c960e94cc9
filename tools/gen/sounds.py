"""Sound effects, synthesised: 16-bit mono PCM with faded edges."""
import wave

import numpy as np

RATE = 22050


def _t(seconds):
    return np.arange(int(RATE * seconds)) / RATE


def _fade(x, fade_in=0.003, fade_out=0.015):
    n_in, n_out = int(RATE * fade_in), int(RATE * fade_out)
    x = x.copy()
    if n_in:
        x[:n_in] *= np.sin(np.linspace(0, np.pi / 2, n_in)) ** 2
    if n_out:
        x[-n_out:] *= np.cos(np.linspace(0, np.pi / 2, n_out)) ** 2
    x[0] = 0.0
    x[-1] = 0.0
    return x


def _norm(x, peak):
    m = np.max(np.abs(x))
    return x * (peak / m) if m > 0 else x


def _noise(n, seed, smooth=1):
    rng = np.random.default_rng(seed)
    x = rng.standard_normal(n)
    if smooth > 1:
        x = np.convolve(x, np.ones(smooth) / smooth, mode="same")
    return x


def write_wav(path, x):
    data = np.clip(np.rint(x * 32767), -32767, 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())


def bell(freq, t, decay, partials=((1, 1.0), (2.76, 0.35), (5.4, 0.12))):
    out = np.zeros_like(t)
    for ratio, amp in partials:
        out += amp * np.sin(2 * np.pi * freq * ratio * t) * np.exp(-t * decay * ratio ** 0.5)
    return out


def slider_tick():
    """A soft glass 'ding' for the volume slider."""
    t = _t(0.35)
    x = bell(988, t, 14) + 0.4 * bell(1480, t, 18)
    return _fade(_norm(x, 0.7), 0.002, 0.04)


def bumper_kick():
    """Pinball bumper: a thump under a bright metallic snap."""
    t = _t(0.28)
    sweep = 2 * np.pi * np.cumsum(170 * np.exp(-t * 14) + 55) / RATE
    thump = np.sin(sweep) * np.exp(-t * 18)
    snap = _noise(len(t), 4, 2) * np.exp(-t * 90)
    ring = (np.sin(2 * np.pi * 1320 * t) + 0.6 * np.sin(2 * np.pi * 1975 * t)) * np.exp(-t * 24)
    x = 0.9 * thump + 0.35 * snap + 0.35 * ring
    return _fade(_norm(x, 0.85), 0.001, 0.03)


def flag_chime():
    """Three rising bell notes: a flag taken."""
    total = _t(0.75)
    x = np.zeros_like(total)
    for i, f in enumerate((1046.5, 1318.5, 1568.0)):
        start = int(i * 0.085 * RATE)
        t = total[: len(total) - start]
        x[start:] += bell(f, t, 7.5) * (0.8 + 0.1 * i)
    return _fade(_norm(x, 0.75), 0.002, 0.08)


def hole_drop():
    """Rolling down a chute: a falling rumble, then a hollow thud at the bottom."""
    t = _t(1.0)
    roll_env = np.clip(t / 0.05, 0, 1) * np.clip((0.62 - t) / 0.2, 0, 1)
    rumble = _noise(len(t), 18, 18) * roll_env
    f = 900 * np.exp(-t * 3.2) + 120
    whistle = np.sin(2 * np.pi * np.cumsum(f) / RATE) * roll_env * 0.25
    tt = np.clip(t - 0.62, 0, None)
    hit = (t >= 0.62) * (np.sin(2 * np.pi * 95 * tt) * np.exp(-tt * 11)
                         + 0.5 * np.sin(2 * np.pi * 231 * tt) * np.exp(-tt * 16))
    x = 0.45 * _norm(rumble, 1) + whistle + 0.9 * hit
    return _fade(_norm(x, 0.8), 0.004, 0.05)


def wall_knock():
    """The marble knocking on wood: short, woody, a little hollow."""
    t = _t(0.14)
    body = (np.sin(2 * np.pi * 620 * t) * np.exp(-t * 55)
            + 0.6 * np.sin(2 * np.pi * 1130 * t) * np.exp(-t * 80)
            + 0.3 * np.sin(2 * np.pi * 2310 * t) * np.exp(-t * 140))
    click = _noise(len(t), 42, 3) * np.exp(-t * 400)
    x = body + 0.5 * click
    return _fade(_norm(x, 0.8), 0.0008, 0.02)


def silence():
    return np.zeros(int(RATE * 0.05))


ALL = {
    "slider": slider_tick,
    "bumper": bumper_kick,
    "flag": flag_chime,
    "hole": hole_drop,
    "silent": silence,
    "knock": wall_knock,
}
