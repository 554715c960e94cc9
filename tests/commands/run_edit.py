#!/usr/bin/python3
"""Makes run files from a run file, with a correct sum, for the board server's test.

  run_edit.py rest K IN OUT     K frames at rest (no tilt) before the run: on a start that
                                holds the marble still it wins K frames later
  run_edit.py cut N IN OUT      only the first N frames: a run that ends before its last flag
  run_edit.py flip AT IN OUT    the byte at AT changed, the sum left as it was
Several NUMBER IN OUT triples may follow one another.
"""
import struct
import sys


def fnv1a(data):
    h = 14695981039346656037
    for b in data:
        h = ((h ^ b) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return b"%016x" % h


def read(path):
    data = open(path, "rb").read()
    header, at = [], 0
    while True:
        end = data.index(b"\n", at)
        line = data[at:end]
        at = end + 1
        header.append(line)
        if line.startswith(b"spans "):
            break
    count = int(header[-1].split()[1])
    spans = [struct.unpack_from("<Hff", data, at + 10 * i) for i in range(count)]
    return header, spans


def write(path, header, spans):
    frames = sum(s[0] for s in spans)
    out = b""
    for line in header:
        if line.startswith(b"frames "):
            line = b"frames %d" % frames
        elif line.startswith(b"spans "):
            line = b"spans %d" % len(spans)
        out += line + b"\n"
    for n, x, y in spans:
        out += struct.pack("<Hff", n, x, y)
    out += b"sum " + fnv1a(out) + b"\n"
    open(path, "wb").write(out)


def main():
    what, args = sys.argv[1], sys.argv[2:]
    for at in range(0, len(args) - 2, 3):
        edit(what, int(args[at]), args[at + 1], args[at + 2])


def edit(what, number, src, dst):
    if what == "flip":
        data = bytearray(open(src, "rb").read())
        data[number] ^= 0x01
        open(dst, "wb").write(bytes(data))
        return
    header, spans = read(src)
    if what == "rest":
        while number > 0:
            if spans[0][1:] == (0.0, 0.0) and spans[0][0] < 65535:
                take = min(number, 65535 - spans[0][0])
                spans[0] = (spans[0][0] + take, 0.0, 0.0)
            else:
                take = min(number, 65535)
                spans.insert(0, (take, 0.0, 0.0))
            number -= take
    elif what == "cut":
        kept, left = [], number
        for n, x, y in spans:
            if left <= 0:
                break
            kept.append((min(n, left), x, y))
            left -= min(n, left)
        spans = kept
    write(dst, header, spans)


main()
