"""The map's fixed tables, for the artwork generator and its check.

The program's C++ sources are the one source of the click points
(map/HitTest.cpp), the largest-city symbol positions (map/CitySymbols.cpp),
the image of each state (map/MapLayout.cpp) and the image positions and ids
(map/MapLayout.h); this module reads them from there.  Its reader knows the
shape of those initializer lists exactly and stops with the file and line
of anything else, so a change of shape is noticed instead of misread.
Client pixels are positions in the main dialog's client area.

The red extents are kept here alone: they are what the artwork generator
draws to, not something the program uses.
"""

import os
import re

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


class TableError(SystemExit):
    def __init__(self, path, line, why):
        super().__init__("%s:%d: %s" % (os.path.relpath(path, ROOT), line, why))


_STRING = r'"(?:[^"\\]|\\.)*"(?:\s*"(?:[^"\\]|\\.)*")*'
_PIECE = re.compile(r'\\x([0-9A-Fa-f]{2})(?![0-9A-Fa-f])|\\(["\\])|([ -~])')


def _text(literal):
    r"""The bytes of a C string literal (adjacent pieces joined) as code
    page 1252: plain ASCII, \", \\ and two-digit \x escapes only."""
    out = bytearray()
    for piece in re.findall(r'"((?:[^"\\]|\\.)*)"', literal):
        pos = 0
        while pos < len(piece):
            m = _PIECE.match(piece, pos)
            if not m or (m.group(3) == "\\"):
                raise ValueError("cannot read %s at %r" % (literal, piece[pos:]))
            out += bytes([int(m.group(1), 16)]) if m.group(1) else (m.group(2) or m.group(3)).encode()
            pos = m.end()
    return out.decode("cp1252")


def _rows(rel, start, row):
    """Match `row` against every line of the list that opens on the line
    ending in `start`, up to its closing "};".  Blank and comment lines
    are passed over; any other line must be a row.  Yields (line, match)."""
    path = os.path.join(ROOT, rel)
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    opening = [n for n, text in enumerate(lines) if text.rstrip().endswith(start)]
    if len(opening) != 1:
        raise TableError(path, 1, "expected one line ending in %r, found %d" % (start, len(opening)))
    for n in range(opening[0] + 1, len(lines)):
        text = lines[n].strip()
        if text == "};":
            return
        if not text or text.startswith("//"):
            continue
        m = re.fullmatch(row, text)
        if not m:
            raise TableError(path, n + 1, "not a row of this table: " + text)
        yield n + 1, m
    raise TableError(path, len(lines), "the list opened on line %d is not closed" % (opening[0] + 1))


def _click_points():
    points = []
    for line, m in _rows("map/HitTest.cpp", "filled[] = {",
                         r'\{(\d+), (\d+), "([A-Z]{2})"\},?\s*(?://\s*(\d+))?'):
        if m.group(4) is not None and int(m.group(4)) != len(points):
            raise TableError(os.path.join(ROOT, "map/HitTest.cpp"), line,
                             "slot comment %s on slot %d" % (m.group(4), len(points)))
        points.append((int(m.group(1)), int(m.group(2)), m.group(3)))
    return points


def _city_symbols():
    symbols = []
    for line, m in _rows("map/CitySymbols.cpp", "kCitySymbols[] = {",
                         r"\{(%s), (%s), (\d+), (\d+)\},?" % (_STRING, _STRING)):
        try:
            city, state = _text(m.group(1)), _text(m.group(2))
        except ValueError as e:
            raise TableError(os.path.join(ROOT, "map/CitySymbols.cpp"), line, str(e))
        symbols.append((state, city, int(m.group(3)), int(m.group(4))))
    return symbols


def _state_images():
    images = {}
    for _, m in _rows("map/MapLayout.cpp", "kStateImages[] = {", r'\{"([A-Z]{2})", (\d+)\},?'):
        images[m.group(1)] = int(m.group(2))
    return images


def _layout():
    """The PixelRect and int constants of map/MapLayout.h by name."""
    path = os.path.join(ROOT, "map/MapLayout.h")
    found = {}
    with open(path, encoding="utf-8") as f:
        for text in f:
            m = re.fullmatch(r"inline constexpr (?:PixelRect (\w+)\{(\d+), (\d+), (\d+), (\d+)\}"
                             r"|int (\w+) = (\d+));", text.strip())
            if m and m.group(1):
                found[m.group(1)] = tuple(int(v) for v in m.group(2, 3, 4, 5))
            elif m:
                found[m.group(6)] = int(m.group(7))
    want = ("kMainMap", "kAlaskaInset", "kHawaiiInset", "kPlainMapImage", "kAlaskaImage",
            "kAlaskaRedImage", "kHawaiiImage", "kHawaiiRedImage")
    missing = [name for name in want if name not in found]
    if missing:
        raise TableError(path, 1, "no constant " + ", ".join(missing))
    return found


_L = _layout()
MAP_ORIGIN, MAP_SIZE = _L["kMainMap"][:2], _L["kMainMap"][2:]
ALASKA_ORIGIN, ALASKA_SIZE = _L["kAlaskaInset"][:2], _L["kAlaskaInset"][2:]
HAWAII_ORIGIN, HAWAII_SIZE = _L["kHawaiiInset"][:2], _L["kHawaiiInset"][2:]
PLAIN_MAP_ID = _L["kPlainMapImage"]
ALASKA_PLAIN_ID, ALASKA_RED_ID = _L["kAlaskaImage"], _L["kAlaskaRedImage"]
HAWAII_PLAIN_ID, HAWAII_RED_ID = _L["kHawaiiImage"], _L["kHawaiiRedImage"]

# Main-map image of each state or province: abbreviation -> resource id.
STATE_IMAGES = _state_images()
# Click points in slot order: (x, y, abbreviation).
CLICK_POINTS = _click_points()
# Largest-city symbols in table order: (state display form, city, x, y).
CITY_SYMBOLS = _city_symbols()

# Red extents of the main-map images, image pixels (inclusive), the box
# that the generator snaps each red region onto: abbreviation -> (x0, x1, y0, y1).
RED_EXTENTS = {
    "AL": (282, 312, 157, 204),
    "AZ": (67, 116, 137, 194),
    "AR": (231, 268, 147, 181),
    "CA": (7, 72, 74, 176),
    "CO": (117, 171, 104, 144),
    "CT": (379, 391, 66, 78),
    "DC": (359, 362, 104, 107),
    "DE": (368, 375, 94, 106),
    "FL": (292, 364, 191, 250),
    "GA": (303, 345, 153, 195),
    "IA": (212, 258, 80, 108),
    "ID": (65, 109, 19, 90),
    "IL": (251, 281, 86, 139),
    "IN": (279, 301, 90, 130),
    "KS": (172, 228, 116, 144),
    "KY": (273, 325, 116, 144),
    "LA": (237, 281, 182, 218),
    "MA": (378, 404, 56, 69),
    "MD": (341, 375, 96, 112),
    "ME": (387, 410, 11, 52),
    "MI": (253, 310, 41, 91),
    "MN": (206, 252, 29, 80),
    "MO": (220, 272, 108, 150),
    "MS": (258, 285, 159, 206),
    "MT": (82, 160, 20, 66),
    "NC": (313, 380, 126, 155),
    "ND": (160, 210, 29, 56),
    "NE": (158, 221, 87, 115),
    "NH": (382, 393, 36, 59),
    "NJ": (370, 378, 78, 99),
    "NM": (112, 163, 142, 195),
    "NV": (37, 84, 82, 154),
    "NY": (333, 391, 43, 84),
    "OH": (299, 330, 83, 118),
    "OK": (165, 231, 145, 176),
    "OR": (12, 73, 34, 84),
    "PA": (329, 373, 73, 102),
    "RI": (390, 395, 65, 70),
    "SC": (321, 359, 149, 177),
    "SD": (159, 212, 57, 89),
    "TN": (266, 330, 136, 159),
    "TX": (135, 241, 151, 251),
    "UT": (79, 120, 89, 140),
    "VT": (372, 383, 39, 60),
    "VA": (319, 374, 103, 136),
    "WA": (25, 75, 11, 45),
    "WI": (237, 275, 45, 87),
    "WV": (320, 354, 96, 128),
    "WY": (107, 157, 63, 104),
    "BC": (20, 93, 1, 17),
    "AB": (90, 124, 1, 21),
    "SK": (123, 177, 1, 24),
    "MB": (178, 217, 1, 24),
    "ON": (218, 362, 1, 84),
    "QC": (318, 395, 1, 41),
    "NB": (394, 421, 1, 24),
    "NS": (421, 421, 27, 32),
}

_unpaired = sorted(set(RED_EXTENTS) ^ set(STATE_IMAGES))
if _unpaired:
    raise SystemExit("map/MapLayout.cpp and tools/map/map_tables.py: %s has an image in one and "
                     "a red extent in the other, not both" % ", ".join(_unpaired))
