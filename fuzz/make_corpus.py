#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets: the pool-file target's into fuzz/corpus/, the
others' into fuzz/corpus-systemini/, fuzz/corpus-prefs/, fuzz/corpus-eventkeys/ and
fuzz/corpus-exif/ (each target's source describes its input layout).

A pool-file input is four header bytes (the sound, wallpaper and screen-saver counters and the
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


# system.ini: a byte with the value's length (bit 4: a stale tmpsys.ini, bit 5: the file
# locked), the value, then the file's text.
def system_ini(value, text, stale=False, locked=False):
    return bytes([len(value) | (0x10 if stale else 0) | (0x20 if locked else 0)]) + value + text


WIN98_SYSTEM_INI = (
    b"[boot]\r\nsystem.drv=system.drv\r\nSCRNSAVE.EXE=C:\\WINDOWS\\SYSTEM\\BLANKS~1.SCR\r\n"
    b"shell=Explorer.exe\r\n\r\n[boot.description]\r\nkeyboard.typ=Standard 101/102-Key\r\n"
    b"[386Enh]\r\nebios=*ebios\r\n[drivers]\r\nwave=mmsystem.dll\r\n"
)

SYSTEMINI_SEEDS = {
    "win98": system_ini(b"C:\\X.SCR", WIN98_SYSTEM_INI),
    "lf-only-no-final-newline": system_ini(b"A.SCR", b"[boot]\nSCRNSAVE.EXE=old.scr\nshell=x"),
    "no-boot-section": system_ini(b"B.SCR", b"[386Enh]\r\nSCRNSAVE.EXE=stray\r\n[drivers]\r\n"),
    "headers-alike": system_ini(
        b"S", b"[Boot]\r\n[boot]x\r\n [boot]\r\nscrnsave.exe=lower\r\n SCRNSAVE.EXE=indented\r\n[boot]\r\n"),
    "stray-carriage-returns": system_ini(b"C\r", b"[boot]\r\r\nSCRNSAVE.EXE\r\rlast\r"),
    "value-with-line-feed": system_ini(b"x\n[boot]", b"[boot]\n"),
    "empty-value-and-file": system_ini(b"", b""),
    "stale-temp-file": system_ini(b"T.SCR", b"[boot]\r\n", stale=True),
    "locked": system_ini(b"L.SCR", b"[boot]\r\nSCRNSAVE.EXE=keep\r\n", locked=True),
}

# Preferences: the Preferences value and the three counters, separated by 1E.
def prefs(*texts):
    return b"\x1e".join(texts)


PREFS_SEEDS = {
    "program-written": prefs(b"nyynn|;", b"12", b"3", b"0"),
    "interval-at-table-end": prefs(b"yyyy12;", b"-5", b"  +42abc", b"99999999999999"),
    "interval-out-of-table": prefs(b"nnnyn-1;tail", b"-99999999999999", b"\t\n\v\f\r 7", b"+-3"),
    "failed-search-marks": prefs(b"j", b"j"),
    "no-semicolon": prefs(b"nnyyy"),
    "semicolons-inside": prefs(b"nn;nnn|;;tail", b"007"),
    "zero-bytes": prefs(b"yn\x00abc;", b"7\x008", b"\x00", b""),
    "high-bytes": prefs(b"\xe9\xff;\x80y5;", b"\xb2\xb3", b"1\xa0"),
    "one-character-switches": prefs(b";", b"1"),
    "two-character-text": prefs(b"y;"),
    "empty": b"",
}

# Event keys: two seed bytes and an options byte, then records (see EventKeysFuzz.cpp).
def field(data):
    return bytes([len(data)]) + data


def app(name):
    return b"\x00" + field(name)


def event(name):
    return b"\x01" + field(name)


def current(data, other_case=False):
    return bytes([2 + (7 if other_case else 0)]) + field(data)


def marker(data, other_case=False):
    return bytes([3 + (7 if other_case else 0)]) + field(data)


def subkey(name):
    return b"\x04" + field(name)


def value(name, data):
    return b"\x05" + field(name) + field(data)


def sound(path, *choices):
    return b"\x06" + field(path) + bytes([len(choices)]) + bytes(choices)


# Scheme choices index the names made so far: 0 "Default", then for each application key
# its name and, for a dotted one, the name without the dot.
EVENTKEYS_SEEDS = {
    "default-and-explorer": b"\x01\x00\x01"
    + app(b".Default") + event(b"SystemStart") + current(b"C:\\WINDOWS\\MEDIA\\start.wav\x00") + marker(b"Yes\x00")
    + event(b"SystemExit") + current(b"C:\\WINDOWS\\MEDIA\\exit.wav\x00") + marker(b"No\x00")
    + app(b"Explorer") + event(b"Navigating") + marker(b"Yes\x00")
    + sound(b"C:\\a.wav", 0) + sound(b"C:\\b.wav", 3, 0) + sound(b"C:\\c.wav", 3),
    "dots-and-letter-case": b"\x07\x00\x03"
    + app(b"..Default") + event(b"Open") + marker(b"Yes\x00")
    + app(b".Default") + event(b".Open") + marker(b"Yes\x00") + event(b"open") + marker(b"Yes")
    + app(b"default") + app(b"Defaults") + event(b"Close") + current(b"old", True) + marker(b"Yes\x00junk", True)
    + event(b"Lower") + marker(b"yes\x00")
    + sound(b"C:\\one.wav", 1, 2) + sound(b"C:\\two.wav", 6, 255, 0),
    "current-with-subkeys-and-values": b"\x10\x20\x01"
    + app(b"App") + event(b"Nested") + marker(b"Yes\x00") + current(b"C:\\was.wav\x00")
    + value(b"Extra", b"kept?") + subkey(b"Child") + value(b"", b"child default")
    + event(b"Plain") + marker(b"Yes\x00") + current(b"") + value(b"Other", b"goes")
    + event(b"NoCurrent") + marker(b"Yes\x00")
    + event(b"NamedFirst") + marker(b"") + value(b"First", b"Yes\x00")
    + sound(b"C:\\new.wav", 1) + sound(b"", 1),
    "high-bytes-and-odd-names": b"\xff\xff\x01"
    + app(b"\xe9t\xe9") + event(b"\xc9v\xe9nement") + marker(b"Yes\x00")
    + app(b".") + event(b"..") + marker(b"Yes\x00") + app(b" ") + event(b"\t") + marker(b"Yes\x00")
    + sound(b"C:\\\xe9\xe8.wav", 1, 3, 4) + sound(b"C:\\sp.wav", 4),
    "empty-pool-attended": b"\x00\x00\x00" + app(b".Default") + event(b"Beep") + marker(b"Yes\x00"),
    "more-events-than-listed": b"\x05\x00\x01" + app(b"Many")
    + b"".join(event(b"E%02d" % i) + marker(b"Yes\x00") for i in range(55)) + sound(b"C:\\m.wav", 1),
}

# JPEG-like files for the EXIF target: markers and segments, no real image data.
def segment(marker, content, length=None):
    return bytes([0xFF, marker]) + struct.pack(">H", len(content) + 2 if length is None else length) + content


def tiff(big_endian, entries, ifd=8):
    """TIFF data whose IFD0 holds (tag, type, count, value) entries, each value in 4 bytes."""
    order = ">" if big_endian else "<"
    out = (b"MM" if big_endian else b"II") + struct.pack(order + "HIH", 42, ifd, len(entries))
    for tag, kind, count, value in entries:
        out += struct.pack(order + "HHI", tag, kind, count)
        out += struct.pack(order + "HH", value, 0) if kind == 3 else struct.pack(order + "I", value)
    return out + b"\0\0\0\0"


def exif(data):
    return segment(0xE1, b"Exif\0\0" + data)


def jpeg(*segments):
    scan = segment(0xDA, b"\x01\x01\x00\x00\x3f\x00") + b"\x12\xff\x00\x34\xff\xd9"
    return b"\xff\xd8" + b"".join(segments) + scan


JFIF = segment(0xE0, b"JFIF\0\x01\x01\0\0\x01\0\x01\0\0")
ORIENTATION_ONLY = [(274, 3, 1, 6)]

EXIF_SEEDS = {
    "no-exif": jpeg(JFIF, segment(0xDB, bytes(65))),
    "little-endian-6": jpeg(exif(tiff(False, ORIENTATION_ONLY))),
    "big-endian-8-after-make": jpeg(JFIF, exif(tiff(True, [(271, 2, 4, 0x41424300), (274, 3, 1, 8)]))),
    "xmp-then-exif": jpeg(segment(0xE1, b"http://ns.adobe.com/xap/1.0/\0<x/>"), exif(tiff(False, [(274, 3, 1, 3)]))),
    "fill-bytes-and-comment": b"\xff\xd8\xff\xff" + segment(0xFE, b"hi") + exif(tiff(True, ORIENTATION_ONLY)) + b"\xff\xda",
    "ifd-in-header": jpeg(exif(tiff(False, ORIENTATION_ONLY, ifd=4))),
    "count-off-the-end": jpeg(exif(tiff(True, ORIENTATION_ONLY)[:8] + b"\x00\xc8" + tiff(True, ORIENTATION_ONLY)[10:])),
    "sos-before-exif": b"\xff\xd8" + segment(0xDA, b"\x00") + exif(tiff(False, ORIENTATION_ONLY)),
    "length-past-end": b"\xff\xd8" + segment(0xE1, b"Exif\0\0" + tiff(False, ORIENTATION_ONLY), length=900),
    "not-a-jpeg": b"BM\x36\0\0\0",
}

CORPORA = {
    "corpus": SEEDS,
    "corpus-systemini": SYSTEMINI_SEEDS,
    "corpus-prefs": PREFS_SEEDS,
    "corpus-eventkeys": EVENTKEYS_SEEDS,
    "corpus-exif": EXIF_SEEDS,
}


def main():
    for folder, seeds in CORPORA.items():
        corpus = os.path.join(HERE, folder)
        os.makedirs(corpus, exist_ok=True)
        for name, data in sorted(seeds.items()):
            with open(os.path.join(corpus, name), "wb") as f:
                f.write(data)
        print("wrote %d seeds to %s" % (len(seeds), corpus))


if __name__ == "__main__":
    main()
