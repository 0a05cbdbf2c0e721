#!/usr/bin/env python3
"""Writes the seed inputs of the pool-file fuzzer into fuzz/corpus/.

An input is four header bytes (the sound, wallpaper and screen-saver counters and the
scheme capacity, each a signed byte) followed by the bytes of a pool file. A record is:
name, folder, sound flag, wallpaper flag, screen-saver flag, scheme count, tile flag, then
the scheme names; integers are 32-bit little-endian, strings carry a length prefix (one
byte below 255, else FF and a 16-bit length; FF FEFF marks 16-bit characters).

The output is deterministic; run it again after changing the seeds:
    python3 fuzz/make_corpus.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def header(sounds, wallpapers, savers, capacity):
    return struct.pack("<4b", sounds, wallpapers, savers, capacity)


def length_prefix(n):
    if n < 0xFF:
        return bytes([n])
    if n < 0xFFFE:
        return b"\xff" + struct.pack("<H", n)
    return b"\xff\xff\xff" + struct.pack("<I", n)


def text(s):
    data = s.encode("latin-1")
    return length_prefix(len(data)) + data


def wide(s):
    """A string in 16-bit characters, as other writers of the file may store it."""
    data = s.encode("utf-16-le")
    return b"\xff\xfe\xff" + length_prefix(len(s)) + data


def i32(v):
    return struct.pack("<i", v)


def record(name, folder, kind, tile=0, schemes=(), count=None, raw_name=None):
    flags = [0, 0, 0]
    flags[kind] = 1
    if count is None:
        count = len(schemes)
    out = raw_name if raw_name is not None else text(name)
    out += text(folder) + i32(flags[0]) + i32(flags[1]) + i32(flags[2]) + i32(count) + i32(tile)
    for s in schemes:
        out += s if isinstance(s, bytes) else text(s)
    return out


SOUND, WALLPAPER, SAVER = 0, 1, 2
MEDIA = "C:\\WINDOWS\\MEDIA\\"

SEEDS = {
    "sound-with-schemes": header(1, 0, 0, 100)
    + record("chimes.wav", MEDIA, SOUND, schemes=["Windows Default", "Jungle", "Musica"]),
    "wallpapers-tiled-and-centred": header(0, 2, 0, 10)
    + record("Circles.bmp", "C:\\WINDOWS\\", WALLPAPER, tile=1)
    + record("Forest.bmp", "C:\\WINDOWS\\", WALLPAPER, tile=0),
    "all-kinds-interleaved": header(2, 1, 2, 3)
    + record("ding.wav", MEDIA, SOUND, schemes=["a", "b", "c", "d"])
    + record("Setup.bmp", "C:\\WINDOWS\\", WALLPAPER, tile=1)
    + record("Mystify.scr", "C:\\WINDOWS\\SYSTEM\\", SAVER)
    + record("tada.wav", MEDIA, SOUND, schemes=["Utopia"])
    + record("Starfield.scr", "C:\\WINDOWS\\SYSTEM\\", SAVER),
    "name-255-chars": header(0, 0, 1, 0)
    + record("n" * 251 + ".scr", "C:\\Savers\\", SAVER),
    "utf16-strings": header(1, 0, 0, 5)
    + record(None, MEDIA, SOUND, schemes=[wide("Caf\u00e9 \u0416"), "plain"], raw_name=wide("s\u00f6und.wav")),
    "empty-strings": header(2, 0, 1, 4)
    + record("", MEDIA, SOUND)
    + record("gap.wav", MEDIA, SOUND, schemes=["first", "", "third"])
    + record("x.scr", "", SAVER),
    "scheme-count-over-100-and-negative": header(2, 0, 0, 100)
    + record("many.wav", MEDIA, SOUND, schemes=["s%d" % i for i in range(103)])
    + record("none.wav", MEDIA, SOUND, count=-4),
    "counters-beyond-file-and-truncated": header(127, -2, 5, -1)
    + record("one.bmp", "C:\\Pictures\\", WALLPAPER, tile=7)
    + record("two.wav", MEDIA, SOUND, schemes=["Default"])[:-3],
}


def main():
    os.makedirs(CORPUS, exist_ok=True)
    for name, data in sorted(SEEDS.items()):
        with open(os.path.join(CORPUS, name), "wb") as f:
            f.write(data)
    print("wrote %d seeds to %s" % (len(SEEDS), CORPUS))


if __name__ == "__main__":
    main()
