#!/usr/bin/python3
"""Check the map bitmaps in res/map against the fixed map tables.

    /usr/bin/python3 tools/map/check_map.py [DIR]

Reads the BMPs with its own decoder (no imaging library) and checks:
format (4-bit, standard 16-colour palette, sizes), the white frame, that
each red image differs from the plain map only by its red pixels, the red
extent of every main-map image against RED_EXTENTS, the click points on
red pixels of their own region, and the largest-city symbols inside the
red extent of their state or province.  Exit status 0 when all pass.
"""

import os
import re
import sys

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


def red_box(rows):
    pts = [(x, y) for y, r in enumerate(rows) for x, c in enumerate(r) if c == RED]
    if not pts:
        return None
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return min(xs), max(xs), min(ys), max(ys)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "res", "map")
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
    for code, (res_id, x0, x1, y0, y1) in T.RED_EXTENTS.items():
        rows = load(res_id, T.MAP_SIZE)
        if rows is None:
            continue
        got = red_box(rows)
        if got != (x0, x1, y0, y1):
            errors.append("%s (%d.bmp): red extent %s, want %s" % (code, res_id, got, (x0, x1, y0, y1)))
        if plain is not None:
            for y in range(len(rows)):
                for x in range(len(rows[y])):
                    if rows[y][x] != plain[y][x] and rows[y][x] != RED:
                        errors.append("%s (%d.bmp): (%d, %d) differs from the plain map"
                                      % (code, res_id, x, y))
                        break
    insets = {}
    for code, plain_id, red_id, size, origin in (
            ("AK", T.ALASKA_PLAIN_ID, T.ALASKA_RED_ID, T.ALASKA_SIZE, T.ALASKA_ORIGIN),
            ("HI", T.HAWAII_PLAIN_ID, T.HAWAII_RED_ID, T.HAWAII_SIZE, T.HAWAII_ORIGIN)):
        p = load(plain_id, size)
        r = load(red_id, size)
        if p is not None and red_box(p) is not None:
            errors.append("%d.bmp: plain inset has red pixels" % plain_id)
        if r is not None:
            box = red_box(r)
            if box is None:
                errors.append("%d.bmp: no red pixels" % red_id)
            else:
                insets[code] = (r, box, origin)

    # Click points: on a red pixel of the image of their own region.
    for slot, (cx, cy, code) in enumerate(T.CLICK_POINTS):
        res_id = T.RED_EXTENTS[code][0]
        rows = images.get(res_id)
        x, y = cx - T.MAP_ORIGIN[0], cy - T.MAP_ORIGIN[1]
        if rows is None:
            continue
        if not (0 <= y < len(rows) and 0 <= x < len(rows[0])) or rows[y][x] != RED:
            errors.append("click point %d (%s) at image (%d, %d) is not red" % (slot, code, x, y))

    # Symbols: inside the red extent of their state or province.
    symbols_checked = 0
    for state, city, cx, cy in T.CITY_SYMBOLS:
        m = re.search(r"\(([A-Z]{2})\)$", state)
        if not m:
            continue  # the Bahamas row lies on the open sea
        code = m.group(1)
        if code in insets:
            rows, (x0, x1, y0, y1), origin = insets[code]
            x, y = cx - origin[0], cy - origin[1]
        else:
            _, x0, x1, y0, y1 = T.RED_EXTENTS[code]
            x, y = cx - T.MAP_ORIGIN[0], cy - T.MAP_ORIGIN[1]
        symbols_checked += 1
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            errors.append("symbol %s / %s at (%d, %d) outside red extent" % (state, city, x, y))
        elif code in insets and rows[y][x] != RED:
            # Anchorage and Honolulu anchor the insets: on a red pixel.
            errors.append("symbol %s / %s at inset (%d, %d) is not red" % (state, city, x, y))

    for e in errors:
        print("FAIL", e)
    print("%d images, %d red extents, %d click points, %d symbols checked: %s"
          % (len(images), len(T.RED_EXTENTS), len(T.CLICK_POINTS), symbols_checked,
             "FAILED" if errors else "all pass"))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
