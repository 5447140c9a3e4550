#!/usr/bin/python3
"""Check the map bitmaps in res/map against the map tables.

    /usr/bin/python3 tools/map/check_map.py [--write-facts] [DIR]

Reads the BMPs with its own decoder (no imaging library) and checks:
format (4-bit, standard 16-colour palette, sizes), the white frame, that
each red image differs from the plain map only by its red pixels, the red
extent of every main-map image against RED_EXTENTS, the click points on
red pixels of their own region, and the largest-city symbols inside the
red extent of their state or province.  Exit status 0 when all pass.

With --write-facts, and only when all pass, it also writes FACTS_FILE in
DIR: each symbol's position and what the artwork shows under it.  The
program's tests hold the symbol table to that file, so a symbol moved
without this check fails there.
"""

import os
import re
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # keep the source folder clean
import map_tables as T  # noqa: E402

PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
RED, WHITE = 9, 15
# What a symbol can lie on, by palette index; anything else is "land".
UNDER = {9: "red", 8: "line", 12: "water"}
FACTS_FILE = "symbol-facts.tsv"
# The scales the artwork is drawn at: 1 as BMPs, the others as PNGs named
# "<id>@<scale>x.png" that the window paints on screens of that pixel ratio.
SCALES = (1, 2, 3)
# At a larger scale, the share of the pixels of scale 1 that are not lines
# whose fine pixels show mostly the same colour.
MIN_AGREEMENT = 0.97


def u16(d, o):
    return int.from_bytes(d[o:o + 2], "little")


def u32(d, o, signed=False):
    return int.from_bytes(d[o:o + 4], "little", signed=signed)


def read_bmp4(path):
    """(width, height, rows of palette indices, top row first)."""
    d = open(path, "rb").read()
    if d[:2] != b"BM" or u32(d, 2) != len(d):
        raise ValueError("not a BMP or wrong file size")
    off = u32(d, 10)
    if u32(d, 14) != 40:
        raise ValueError("header is not BITMAPINFOHEADER")
    w, h = u32(d, 18, True), u32(d, 22, True)
    if u16(d, 26) != 1 or u16(d, 28) != 4 or u32(d, 30) != 0:
        raise ValueError("not an uncompressed 4-bit image")
    if h <= 0:
        raise ValueError("rows are not stored bottom-up")
    pal = [(d[54 + 4 * i + 2], d[54 + 4 * i + 1], d[54 + 4 * i]) for i in range(16)]
    if pal != PALETTE or off != 54 + 64:
        raise ValueError("palette is not the standard 16-colour palette")
    stride = ((w * 4 + 31) // 32) * 4
    if len(d) != off + stride * h:
        raise ValueError("pixel data has the wrong length")
    rows = []
    for y in range(h):
        line = d[off + (h - 1 - y) * stride: off + (h - y) * stride]
        rows.append([(line[x // 2] >> 4) if x % 2 == 0 else (line[x // 2] & 15)
                     for x in range(w)])
    return w, h, rows


def image_path(folder, res_id, scale=1):
    if scale == 1:
        return os.path.join(folder, "%d.bmp" % res_id)
    return os.path.join(folder, "%d@%dx.png" % (res_id, scale))


def read_png4(path):
    """(width, height, rows) of a 4-bit indexed PNG as gen_map.py writes it."""
    d = open(path, "rb").read()
    if d[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    at, head, pal, idat = 8, None, None, b""
    while at + 8 <= len(d):
        n = int.from_bytes(d[at:at + 4], "big")
        kind, body = d[at + 4:at + 8], d[at + 8:at + 8 + n]
        if len(body) != n or zlib.crc32(kind + body) != int.from_bytes(d[at + 8 + n:at + 12 + n], "big"):
            raise ValueError("damaged chunk")
        if kind == b"IHDR":
            head = body
        elif kind == b"PLTE":
            pal = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat += body
        at += 12 + n
    if head is None or head[8:13] != bytes((4, 3, 0, 0, 0)) or pal != PALETTE:
        raise ValueError("not a 4-bit image with the standard 16-colour palette")
    w, h = int.from_bytes(head[0:4], "big"), int.from_bytes(head[4:8], "big")
    raw = zlib.decompress(idat)
    stride = (w + 1) // 2
    if len(raw) != (stride + 1) * h:
        raise ValueError("pixel data has the wrong length")
    rows = []
    for y in range(h):
        line = raw[y * (stride + 1): (y + 1) * (stride + 1)]
        if line[0] != 0:
            raise ValueError("row filter other than none")
        rows.append([(line[1 + x // 2] >> 4) if x % 2 == 0 else (line[1 + x // 2] & 15)
                     for x in range(w)])
    return w, h, rows


def check_scaled(folder, scale, base):
    """Errors of the images at `scale` against those of scale 1 (`base`,
    id -> rows) and the tables: sizes, frame, red only where the image
    differs from its plain map, each red extent within a coarse pixel of
    the table's, all fine pixels of a click point red, each symbol inside
    its state's red, and the colours of scale 1 kept."""
    errors = []
    for res_id, rows1 in sorted(base.items()):
        path = image_path(folder, res_id, scale)
        name = os.path.basename(path)
        try:
            w, h, rows = read_png4(path)
        except (OSError, ValueError, zlib.error) as e:
            errors.append("%s: %s" % (name, e))
            continue
        if (w, h) != (len(rows1[0]) * scale, len(rows1) * scale):
            errors.append("%s: size %dx%d, want %d times %dx%d"
                          % (name, w, h, scale, len(rows1[0]), len(rows1)))
            continue
        frame = [c for r in rows[:scale] + rows[-scale:] for c in r] + \
            [c for r in rows for c in r[:scale] + r[-scale:]]
        if any(c != WHITE for c in frame):
            errors.append("%s: frame is not all white" % name)
        box1, box = red_box(rows1), red_box(rows)
        if (box1 is None) != (box is None):
            errors.append("%s: red at one scale only" % name)
        elif box1 is not None:
            want = (box1[0] * scale, box1[1] * scale + scale - 1,
                    box1[2] * scale, box1[3] * scale + scale - 1)
            if any(abs(g - x) > scale for g, x in zip(box, want)):
                errors.append("%s: red extent %s, want %s within %d" % (name, box, want, scale))
        same = total = 0
        for y, r1 in enumerate(rows1):
            for x, c1 in enumerate(r1):
                if c1 == 8:
                    continue
                block = [rows[y * scale + j][x * scale + i]
                         for j in range(scale) for i in range(scale)]
                total += 1
                same += block.count(c1) * 2 > len(block)
        if total and same < MIN_AGREEMENT * total:
            errors.append("%s: only %.1f%% of the pixels keep the colour of scale 1"
                          % (name, 100.0 * same / total))
        base[res_id] = rows
    for slot, (cx, cy, code) in enumerate(T.CLICK_POINTS):
        rows = base.get(T.STATE_IMAGES.get(code))
        x, y = (cx - T.MAP_ORIGIN[0]) * scale, (cy - T.MAP_ORIGIN[1]) * scale
        if rows is None or any(rows[y + j][x + i] != RED for j in range(scale) for i in range(scale)):
            errors.append("click point %d (%s) is not red at %dx" % (slot, code, scale))
    for state, city, cx, cy in T.CITY_SYMBOLS:
        res_id, x, y = symbol_image(abbreviation(state), cx, cy)
        box = red_box(base[res_id]) if res_id in base else None
        x, y = x * scale + scale // 2, y * scale + scale // 2
        if box and not (box[0] <= x <= box[1] and box[2] <= y <= box[3]):
            errors.append("symbol %s / %s outside red extent at %dx" % (state, city, scale))
    return errors


def red_box(rows):
    pts = [(x, y) for y, r in enumerate(rows) for x, c in enumerate(r) if c == RED]
    if not pts:
        return None
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return min(xs), max(xs), min(ys), max(ys)


def abbreviation(state):
    """"Ohio (OH)" -> "OH"; "" for a state text without one."""
    m = re.search(r"\((..)\)$", state)
    return m.group(1) if m else ""


def symbol_image(code, cx, cy):
    """The image a symbol at client (cx, cy) of state `code` is drawn over,
    as the window picks it, and the symbol's pixel in it."""
    for origin, size, red_code, plain_id, red_id in (
            (T.ALASKA_ORIGIN, T.ALASKA_SIZE, "AK", T.ALASKA_PLAIN_ID, T.ALASKA_RED_ID),
            (T.HAWAII_ORIGIN, T.HAWAII_SIZE, "HI", T.HAWAII_PLAIN_ID, T.HAWAII_RED_ID)):
        x, y = cx - origin[0], cy - origin[1]
        if 0 <= x < size[0] and 0 <= y < size[1]:
            return (red_id if code == red_code else plain_id), x, y
    return T.STATE_IMAGES.get(code, T.PLAIN_MAP_ID), cx - T.MAP_ORIGIN[0], cy - T.MAP_ORIGIN[1]


def check(folder):
    """(errors, facts lines) for the images in `folder`."""
    errors = []
    images = {}

    def load(res_id, size):
        path = os.path.join(folder, "%d.bmp" % res_id)
        try:
            w, h, rows = read_bmp4(path)
        except (OSError, ValueError) as e:
            errors.append("%d.bmp: %s" % (res_id, e))
            return None
        if (w, h) != size:
            errors.append("%d.bmp: size %dx%d, want %dx%d" % (res_id, w, h, size[0], size[1]))
            return None
        frame = rows[0] + rows[-1] + [r[0] for r in rows] + [r[-1] for r in rows]
        if any(c != WHITE for c in frame):
            errors.append("%d.bmp: frame is not all white" % res_id)
        images[res_id] = rows
        return rows

    plain = load(T.PLAIN_MAP_ID, T.MAP_SIZE)
    if plain is not None and red_box(plain) is not None:
        errors.append("%d.bmp: plain map has red pixels" % T.PLAIN_MAP_ID)
    for code, extent in T.RED_EXTENTS.items():
        res_id = T.STATE_IMAGES[code]
        rows = load(res_id, T.MAP_SIZE)
        if rows is None:
            continue
        got = red_box(rows)
        if got != extent:
            errors.append("%s (%d.bmp): red extent %s, want %s" % (code, res_id, got, extent))
        if plain is not None:
            for y in range(len(rows)):
                for x in range(len(rows[y])):
                    if rows[y][x] != plain[y][x] and rows[y][x] != RED:
                        errors.append("%s (%d.bmp): (%d, %d) differs from the plain map"
                                      % (code, res_id, x, y))
                        break
    for plain_id, red_id, size in ((T.ALASKA_PLAIN_ID, T.ALASKA_RED_ID, T.ALASKA_SIZE),
                                   (T.HAWAII_PLAIN_ID, T.HAWAII_RED_ID, T.HAWAII_SIZE)):
        p = load(plain_id, size)
        r = load(red_id, size)
        if p is not None and red_box(p) is not None:
            errors.append("%d.bmp: plain inset has red pixels" % plain_id)
        if r is not None and red_box(r) is None:
            errors.append("%d.bmp: no red pixels" % red_id)

    # Click points: on a red pixel of the image of their own region.
    for slot, (cx, cy, code) in enumerate(T.CLICK_POINTS):
        rows = images.get(T.STATE_IMAGES.get(code))
        x, y = cx - T.MAP_ORIGIN[0], cy - T.MAP_ORIGIN[1]
        if rows is None:
            errors.append("click point %d (%s) has no image of its own" % (slot, code))
        elif not (0 <= y < len(rows) and 0 <= x < len(rows[0])) or rows[y][x] != RED:
            errors.append("click point %d (%s) at image (%d, %d) is not red" % (slot, code, x, y))

    # Symbols: inside the red extent of their state or province when it
    # has a red image (the Bahamas row lies on the open sea); Anchorage and
    # Honolulu anchor the insets and lie on red.
    facts = []
    for state, city, cx, cy in T.CITY_SYMBOLS:
        code = abbreviation(state)
        res_id, x, y = symbol_image(code, cx, cy)
        rows = images.get(res_id)
        if rows is None or not (0 <= y < len(rows) and 0 <= x < len(rows[0])):
            errors.append("symbol %s / %s at (%d, %d) is off its image" % (state, city, cx, cy))
            continue
        under = UNDER.get(rows[y][x], "land")
        facts.append("%d\t%d\t%s\t%s\t%s" % (cx, cy, under, state, city))
        box = red_box(rows)
        if box and not (box[0] <= x <= box[1] and box[2] <= y <= box[3]):
            errors.append("symbol %s / %s at (%d, %d) outside red extent" % (state, city, cx, cy))
        elif code in ("AK", "HI") and under != "red":
            errors.append("symbol %s / %s at (%d, %d) is not red" % (state, city, cx, cy))
    for scale in SCALES[1:]:
        errors += check_scaled(folder, scale, dict(images))
    return errors, facts


def write_facts(folder, facts):
    path = os.path.join(folder, FACTS_FILE)
    with open(path + ".tmp", "w", encoding="utf-8", newline="\n") as f:
        f.write("# Generated by tools/map/check_map.py --write-facts from map/CitySymbols.cpp "
                "and the images beside it; do not edit.\n"
                "# x\ty\tunder\tstate\tcity  (client pixels; under: red, line, water or land "
                "of the image the symbol is drawn over)\n")
        f.write("".join(line + "\n" for line in facts))
    os.replace(path + ".tmp", path)


def main():
    args = sys.argv[1:]
    write = "--write-facts" in args
    args = [a for a in args if a != "--write-facts"]
    folder = args[0] if args else os.path.join(HERE, "..", "..", "res", "map")
    errors, facts = check(folder)
    for e in errors:
        print("FAIL", e)
    if write and not errors:
        write_facts(folder, facts)
    print("%d red extents, %d click points, %d symbols checked: %s"
          % (len(T.RED_EXTENTS), len(T.CLICK_POINTS), len(facts),
             "FAILED" if errors else "all pass"))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
