"""The two MIDI pieces, written byte by byte (format 1, General MIDI)."""
import struct

PPQ = 96

# General MIDI programs (0-based) and drum notes; all of them exist in freepats.
FLUTE, E_PIANO, FINGER_BASS, NYLON, STRINGS = 73, 4, 33, 24, 48
KICK, SNARE, HAT, HAT_OPEN, CRASH, TOM_LO, TOM_MID, TOM_HI = 36, 38, 42, 46, 49, 45, 47, 50
DRUMS = (KICK, SNARE, HAT, HAT_OPEN, CRASH, TOM_LO, TOM_MID, TOM_HI)


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


def track_bytes(events, end_tick):
    """events: (tick, order, bytes); note-offs sort before note-ons at the same tick."""
    events = sorted(events, key=lambda e: (e[0], e[1]))
    out = bytearray()
    now = 0
    for tick, _, data in events:
        assert tick <= end_tick
        out += vlq(tick - now) + data
        now = tick
    out += vlq(end_tick - now) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(out)) + bytes(out)


def smf(tracks):
    head = b"MThd" + struct.pack(">HHH", 1, len(tracks), PPQ)
    head = head[:4] + struct.pack(">I", 6) + head[4:]
    return head + b"".join(tracks)


class Track:
    def __init__(self, channel, program=None, volume=100, pan=64, name=None):
        self.ch = channel
        self.ev = []
        if name:
            nb = name.encode("ascii")
            self.ev.append((0, 0, b"\xff\x03" + vlq(len(nb)) + nb))
        if program is not None:
            self.ev.append((0, 1, bytes([0xC0 | channel, program])))
        self.ev.append((0, 1, bytes([0xB0 | channel, 7, volume])))
        self.ev.append((0, 1, bytes([0xB0 | channel, 10, pan])))

    def note(self, beat, length, pitch, vel):
        on = int(round(beat * PPQ))
        off = int(round((beat + length) * PPQ))
        self.ev.append((on, 3, bytes([0x90 | self.ch, pitch, vel])))
        self.ev.append((off, 2, bytes([0x80 | self.ch, pitch, 0])))

    def build(self, end_tick):
        return track_bytes(self.ev, end_tick)


def tempo_track(bpm, end_tick, title):
    us = int(round(60_000_000 / bpm))
    tb = title.encode("ascii")
    ev = [(0, 0, b"\xff\x03" + vlq(len(tb)) + tb),
          (0, 0, b"\xff\x58\x04\x04\x02\x18\x08"),
          (0, 0, b"\xff\x59\x02\x02\x00"),       # two sharps: D major
          (0, 0, b"\xff\x51\x03" + us.to_bytes(3, "big"))]
    return track_bytes(ev, end_tick)


# Chords by root note (MIDI) and quality.
CHORDS = {
    "D": (50, "maj"), "Bm": (47, "min"), "G": (43, "maj"), "A": (45, "maj"),
    "Em": (52, "min"), "F#m": (54, "min"), "A7": (45, "dom"),
}


def chord_tones(name):
    root, q = CHORDS[name]
    third = 3 if q == "min" else 4
    top = 10 if q == "dom" else 12
    return root, [root, root + 7, root + top, root + 12 + third, root + 12 + 7]


# Melody: per bar a list of (beat in bar, length, pitch); 0 pitch is a rest.
RUN_BARS = [
    ("D", [(0, 1, 78), (1, .5, 81), (1.5, .5, 78), (2, 1, 74), (3, 1, 76)]),
    ("Bm", [(0, 1.5, 78), (1.5, .5, 74), (2, 2, 71)]),
    ("G", [(0, 1, 79), (1, .5, 83), (1.5, .5, 81), (2, 1, 79), (3, .5, 78), (3.5, .5, 76)]),
    ("A", [(0, 2, 76), (2, 1, 73), (3, 1, 69)]),
    ("D", [(0, .5, 78), (.5, .5, 79), (1, 1, 81), (2, 1, 86), (3, 1, 81)]),
    ("Bm", [(0, 1.5, 83), (1.5, .5, 81), (2, 1, 78), (3, 1, 74)]),
    ("Em", [(0, 1, 79), (1, .5, 78), (1.5, .5, 76), (2, 1, 71), (3, 1, 76)]),
    ("A", [(0, 1, 73), (1, 1, 76), (2, 2, 81)]),
    ("G", [(0, 1, 83), (1, .5, 81), (1.5, .5, 79), (2, 1, 74), (3, 1, 79)]),
    ("A", [(0, 1, 85), (1, .5, 83), (1.5, .5, 81), (2, 2, 76)]),
    ("F#m", [(0, 1, 81), (1, 1, 78), (2, 1, 73), (3, 1, 78)]),
    ("Bm", [(0, 1.5, 86), (1.5, .5, 85), (2, 2, 83)]),
    ("Em", [(0, .5, 79), (.5, .5, 81), (1, 1, 83), (2, 1, 76), (3, 1, 79)]),
    ("G", [(0, 1, 86), (1, 1, 83), (2, 1, 79), (3, 1, 83)]),
    ("A", [(0, 1.5, 85), (1.5, .5, 83), (2, 1, 81), (3, 1, 79)]),
    ("A7", [(0, 1, 76), (1, .5, 78), (1.5, .5, 79), (2, 1.5, 81)]),
]


def run_piece():
    """Sixteen bars in D major at 104 bpm, about 37 s; the last bar leads back to the first."""
    bpm = 104
    bars = len(RUN_BARS)
    end = bars * 4 * PPQ
    mel = Track(0, FLUTE, 104, 70, "melody")
    keys = Track(1, E_PIANO, 72, 50, "keys")
    bass = Track(2, FINGER_BASS, 100, 64, "bass")
    pad = Track(3, STRINGS, 46, 80, "strings")
    drums = Track(9, None, 78, 64, "drums")
    for b, (ch, notes) in enumerate(RUN_BARS):
        o = b * 4
        for beat, length, p in notes:
            if p:
                mel.note(o + beat, length * 0.95, p, 92 if beat == 0 else 80)
        root, tones = chord_tones(ch)
        # broken-chord eighths in the keys
        order = [0, 1, 2, 3, 4, 3, 2, 1]
        for i, k in enumerate(order):
            keys.note(o + i * 0.5, 0.5, tones[k] + 12 if tones[k] < 55 else tones[k], 62 if i % 2 == 0 else 50)
        pad.note(o, 4, tones[2] + 12, 52)
        pad.note(o, 4, tones[3] + 12, 48)
        # bass: root, push, fifth, octave walk
        bass_root = root - 12 if root >= 45 else root
        bass.note(o, 1.4, bass_root, 98)
        bass.note(o + 1.5, 0.5, bass_root, 80)
        bass.note(o + 2, 1, bass_root + 7, 88)
        bass.note(o + 3, 1, bass_root + 12 if b % 2 == 0 else bass_root + 10 if ch == "A7" else bass_root + 5, 84)
        # light drums
        last = b == bars - 1
        for i in range(8):
            if last and i >= 6:
                continue
            drums.note(o + i * 0.5, 0.25, HAT_OPEN if i == 7 and b % 4 == 3 else HAT, 56 if i % 2 == 0 else 40)
        drums.note(o, 0.25, KICK, 96)
        drums.note(o + 2, 0.25, KICK, 88)
        if b % 2 == 1:
            drums.note(o + 2.5, 0.25, KICK, 70)
        drums.note(o + 1, 0.25, SNARE, 70)
        drums.note(o + 3, 0.25, SNARE, 74 if not last else 60)
        if b in (0, 8):
            drums.note(o, 1.0, CRASH, 70)
        if last:
            drums.note(o + 3.0, 0.25, TOM_HI, 70)
            drums.note(o + 3.25, 0.25, TOM_MID, 72)
            drums.note(o + 3.5, 0.25, TOM_LO, 76)
            drums.note(o + 3.75, 0.25, TOM_LO, 80)
    tracks = [tempo_track(bpm, end, "vinkla run")] + [t.build(end) for t in (mel, keys, bass, pad, drums)]
    return smf(tracks)


def preview_piece():
    """Three bars, about 6 s: a little fanfare ending on a held D major chord."""
    bpm = 120
    end = 3 * 4 * PPQ
    mel = Track(0, FLUTE, 106, 70, "melody")
    keys = Track(1, E_PIANO, 74, 50, "keys")
    bass = Track(2, FINGER_BASS, 100, 64, "bass")
    drums = Track(9, None, 76, 64, "drums")
    for beat, length, p in [(0, .5, 69), (.5, .5, 74), (1, .5, 78), (1.5, .5, 81), (2, 1, 86), (3, 1, 81),
                            (4, 1, 83), (5, 1, 79), (6, 1, 81), (7, 1, 85), (8, 3.5, 86)]:
        mel.note(beat, length * 0.95, p, 90)
    for bar, chords in enumerate([["D", "D"], ["G", "A"]]):
        for half, ch in enumerate(chords):
            _, tones = chord_tones(ch)
            o = bar * 4 + half * 2
            for i, k in enumerate([0, 1, 2, 3]):
                keys.note(o + i * 0.5, 0.5, tones[k] + 12 if tones[k] < 55 else tones[k], 60)
            r = CHORDS[ch][0]
            bass.note(o, 1.8, r - 12 if r >= 45 else r, 96)
    for p in (62, 66, 69, 74):
        keys.note(8, 3.5, p, 64)
    bass.note(8, 3.5, 38, 100)
    for i in range(16):
        drums.note(i * 0.5, 0.25, HAT, 50 if i % 2 == 0 else 36)
    for b in (0, 2, 4, 6):
        drums.note(b, 0.25, KICK, 90)
        drums.note(b + 1, 0.25, SNARE, 66)
    drums.note(8, 1, CRASH, 78)
    drums.note(8, 0.25, KICK, 96)
    tracks = [tempo_track(bpm, end, "vinkla preview")] + [t.build(end) for t in (mel, keys, bass, drums)]
    return smf(tracks)


PROGRAMS = (FLUTE, E_PIANO, FINGER_BASS, STRINGS)
