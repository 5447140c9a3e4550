#!/usr/bin/python3
"""Draw the map bitmaps of the lookup dialog from real boundaries.

Writes res/map/<resource id>.bmp: the plain main map (136), one image per
state or province with that region in red, and the Alaska and Hawaii insets
(141/144 and 142/143).  All images are 4-bit BMPs with the standard
16-colour Windows palette.  Then checks them as check_map.py does and
writes the symbol facts file beside them.

Boundaries: DCW (states, provinces, Mexico) and GSHHG (land/water, with the
big lakes), both read through GMT.  Run with Debian's own interpreter:

    /usr/bin/python3 tools/map/gen_map.py [--cache DIR] [--out DIR]

The run is deterministic: the same inputs give byte-identical images.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import zlib

import numpy as np
from pyproj import Transformer

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # keep the source folder clean
import check_map  # noqa: E402
import map_tables as T  # noqa: E402

SUB = 4  # sub-samples per pixel and axis (4x4, majority vote)

# Standard 16-colour Windows palette (RGB), index order of the system palette.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
SILVER, GREY, RED, YELLOW, BLUE, WHITE = 7, 8, 9, 11, 12, 15

# ---------------------------------------------------------------------------
# Regions.  Label 0 is water, 1 other foreign land (Russia, Cuba, Bahamas...),
# 2 Mexico, then the Canadian provinces and territories, then the states.
CA_CODES = ["BC", "AB", "SK", "MB", "ON", "QC", "NB", "NS", "PE", "NL",
            "YT", "NT", "NU"]
US_CODES = ["AL", "AK", "AZ", "AR", "CA", "CO", "CT", "DE", "DC", "FL", "GA",
            "HI", "ID", "IL", "IN", "IA", "KS", "KY", "LA", "ME", "MD", "MA",
            "MI", "MN", "MS", "MO", "MT", "NE", "NV", "NH", "NJ", "NM", "NY",
            "NC", "ND", "OH", "OK", "OR", "PA", "RI", "SC", "SD", "TN", "TX",
            "UT", "VT", "VA", "WA", "WV", "WI", "WY"]
WATER, OTHER, MEXICO = 0, 1, 2
UNASSIGNED = 255
REGIONS = [("MX", "MX")] + [(c, "CA." + c) for c in CA_CODES] + \
          [(c, "US." + c) for c in US_CODES]
LABEL = {"MX": MEXICO}
for _n, (_c, _d) in enumerate(REGIONS[1:]):
    LABEL[_c] = 3 + _n
US_LABELS = {LABEL[c] for c in US_CODES}

# ---------------------------------------------------------------------------
# Views.  Main map: lakes and islands under 2000 km2 are left out, so the
# Great Lakes, Great Salt Lake and Lake Winnipeg stay as the only inland
# water; the insets keep smaller islands (the Hawaiian islands are all
# under 2000 km2 but the Big Island).  Each maps projected metres (X, Y) to continuous pixel coordinates
# u = ax*X + bx, v = ay*Y + by; pixel (i, j) has its centre at (i+.5, j+.5).
# The main map constants were fitted by least squares to the red extents
# of the 48 states and DC (see README.md).
MAIN_AX, MAIN_BX = 8.82462e-5, 187.710
MAIN_AY, MAIN_BY = -8.75191e-5, 116.193
ASPECT = MAIN_AY / MAIN_AX  # pixels are slightly wider than tall


class View:
    def __init__(self, name, size, proj, lon0, ax, bx, ay, by, mask_region):
        self.name, self.size, self.proj, self.lon0 = name, size, proj, lon0
        self.ax, self.bx, self.ay, self.by = ax, bx, ay, by
        self.mask_region = mask_region  # (west, east, south, north, min km2)
        self.fwd = Transformer.from_crs("EPSG:4326", proj, always_xy=True)
        self.inv = Transformer.from_crs(proj, "EPSG:4326", always_xy=True)

    def norm_lon(self, lon):
        return np.mod(lon - self.lon0 + 180.0, 360.0) - 180.0 + self.lon0

    def to_pixel(self, lon, lat):
        x, y = self.fwd.transform(self.norm_lon(np.asarray(lon, float)),
                                  np.asarray(lat, float))
        return self.ax * x + self.bx, self.ay * y + self.by


def inset_view(name, size, proj, lon0, anchor_lonlat, anchor_px, scale,
               mask_region):
    """An inset scaled by `scale` px per metre (x) with `anchor_lonlat`
    falling on the centre of pixel `anchor_px`."""
    fwd = Transformer.from_crs("EPSG:4326", proj, always_xy=True)
    x, y = fwd.transform(*anchor_lonlat)
    ax, ay = scale, scale * ASPECT
    bx = anchor_px[0] + 0.5 - ax * x
    by = anchor_px[1] + 0.5 - ay * y
    return View(name, size, proj, lon0, ax, bx, ay, by, mask_region)


MAIN = View("main", T.MAP_SIZE,
            "+proj=aea +lat_1=32 +lat_2=44 +lat_0=40 +lon_0=-100 +ellps=WGS84",
            -100.0, MAIN_AX, MAIN_BX, MAIN_AY, MAIN_BY, (-140, -45, 12, 62, 2000))
# Anchorage on inset pixel (32, 28), Honolulu on (21, 11).
ALASKA_SCALE = 2.1e-5
HAWAII_SCALE = 8.2e-5
ALASKA = inset_view("alaska", T.ALASKA_SIZE,
                    "+proj=aea +lat_1=55 +lat_2=65 +lat_0=50 +lon_0=-154 "
                    "+ellps=WGS84", -154.0, (-149.90, 61.22), (32, 28),
                    ALASKA_SCALE, (-200, -120, 46, 76, 500))
HAWAII = inset_view("hawaii", T.HAWAII_SIZE,
                    "+proj=aea +lat_1=19 +lat_2=22 +lat_0=20 +lon_0=-157 "
                    "+ellps=WGS84", -157.0, (-157.86, 21.31), (21, 11),
                    HAWAII_SCALE, (-163, -152, 16, 25, 10))

# ---------------------------------------------------------------------------
# Hand corrections.  Everything the plain projection cannot show at this
# scale is added here, and only here.  After them, draw_view() snaps each
# red extent onto map_tables.RED_EXTENTS by single-pixel edits along the
# region's edge (run with -v to list them).
#
# Features too narrow for a 4x4 majority vote are drawn as 1-pixel lines of
# their state, kept free of border lines, as (state, [(lon, lat), ...]).
# Where the fit leaves an end half a pixel short of the drawn extents in
# map_tables.RED_EXTENTS, the end point is nudged by a few hundredths of a
# degree (marked "nudged").
THIN_FEATURES = [
    # Florida Keys, Key Largo to Key West (nudged 0.05 deg south: row 250).
    ("FL", [(-80.38, 25.20), (-80.62, 24.93), (-80.95, 24.72),
            (-81.30, 24.66), (-81.80, 24.50)]),
    # West Virginia's northern panhandle, Wheeling to Chester (nudged
    # 0.14 deg south so that it ends on row 96, not in Pennsylvania).
    ("WV", [(-80.66, 39.72), (-80.62, 40.10), (-80.52, 40.50)]),
    # Cape Cod, Buzzards Bay to Chatham to Provincetown (Chatham nudged
    # 0.03 deg east: column 404).
    ("MA", [(-70.60, 41.75), (-70.25, 41.70), (-69.92, 41.72),
            (-69.98, 42.00), (-70.15, 42.06)]),
    # Outer Banks, Corolla to Cape Hatteras and Ocracoke (Corolla nudged
    # 0.1 deg south, clear of Virginia; Hatteras 0.07 deg west: column 380).
    ("NC", [(-75.80, 36.45), (-75.62, 35.95), (-75.47, 35.55),
            (-75.60, 35.22), (-75.98, 35.10)]),
]
# The District of Columbia is too small to draw; it gets a 4x4 block
# (x0, y0, x1, y1 inclusive, image pixels) framed by a border line.
DC_BLOCK = (359, 104, 362, 107)
# Nova Scotia lies just off the right edge (Digby at x 422.5); its shore
# is shown as a 1-pixel sliver on the last column inside the frame, moved
# up a little so that it faces Saint John across the Bay of Fundy.
NS_SLIVER = [(421, y) for y in range(27, 33)]
# Regions whose red is clamped to their table box: the provinces run off
# the edges of the map, so only the part inside the box is shown in red.
CLAMP_TO_BOX = ["BC", "AB", "SK", "MB", "ON", "QC", "NB", "NS"]

# ---------------------------------------------------------------------------


def run(cmd, cwd):
    return subprocess.run(cmd, cwd=cwd, check=True, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE).stdout


def region_rings(code, cache):
    """Polygons of a DCW region as a list of (lon, lat) arrays."""
    path = os.path.join(cache, "dcw_%s.txt" % code.replace(".", "_"))
    if not os.path.exists(path):
        text = run(["gmt", "coast", "-E" + code, "-M"], cache)
        with open(path + ".tmp", "wb") as f:
            f.write(text)
        os.replace(path + ".tmp", path)
    rings, cur = [], []
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            if line.startswith(">"):
                if cur:
                    rings.append(np.array(cur))
                cur = []
            elif line.strip():
                a, b = line.split()[:2]
                cur.append((float(a), float(b)))
    if cur:
        rings.append(np.array(cur))
    return rings


def land_mask(view, cache):
    """GSHHG land mask (1 land, 0 ocean, 2 lake) on a 0.01 degree grid."""
    w, e, s, n, area = view.mask_region
    inc = 0.01
    path = os.path.join(cache, "gshhg_%s_%d_%d_%d_%d_A%d.bin" % (view.name, w, e, s, n, area))
    if not os.path.exists(path):
        run(["gmt", "grdlandmask", "-R%d/%d/%d/%d" % (w, e, s, n),
             "-I%g" % inc, "-r", "-Di", "-A%d" % area, "-N0/1/2/1/2",
             "-G%s=bb" % (path + ".tmp")], cache)
        os.replace(path + ".tmp", path)
    nx = int(round((e - w) / inc))
    ny = int(round((n - s) / inc))
    data = np.fromfile(path, dtype=np.uint8)
    # GMT's native grid: a fixed header, then the rows from north to south.
    grid = data[data.size - nx * ny:].reshape(ny, nx)
    return grid, (w, n, inc)


def subsample_lonlat(view, sub=SUB):
    wdt, hgt = view.size
    us = (np.arange(wdt * sub) + 0.5) / sub
    vs = (np.arange(hgt * sub) + 0.5) / sub
    uu, vv = np.meshgrid(us, vs)
    x = (uu - view.bx) / view.ax
    y = (vv - view.by) / view.ay
    lon, lat = view.inv.transform(x, y)
    return view.norm_lon(lon), lat


def fill_polygons(rings, view, sub=SUB):
    """Even-odd scan fill of projected rings on the sub-sample grid."""
    wdt, hgt = view.size
    ws, hs = wdt * sub, hgt * sub
    xs, ys = [], []
    for r in rings:
        u, v = view.to_pixel(r[:, 0], r[:, 1])
        u = u * sub
        v = v * sub
        u = np.append(u, u[0])
        v = np.append(v, v[0])
        xs.append(np.column_stack([u[:-1], u[1:]]))
        ys.append(np.column_stack([v[:-1], v[1:]]))
    inside = np.zeros((hs, ws), bool)
    if not xs:
        return inside
    x = np.concatenate(xs)
    y = np.concatenate(ys)
    ylo, yhi = y.min(1), y.max(1)
    r0 = np.clip(np.ceil(ylo - 0.5), 0, hs).astype(np.int64)
    r1 = np.clip(np.ceil(yhi - 0.5), 0, hs).astype(np.int64)
    cnt = r1 - r0
    keep = cnt > 0
    if not keep.any():
        return inside
    x, y, r0, cnt = x[keep], y[keep], r0[keep], cnt[keep]
    edge = np.repeat(np.arange(len(cnt)), cnt)
    start = np.repeat(np.cumsum(cnt) - cnt, cnt)
    row = r0[edge] + (np.arange(edge.size) - start)
    x1, x2 = x[edge, 0], x[edge, 1]
    y1, y2 = y[edge, 0], y[edge, 1]
    xc = x1 + (row + 0.5 - y1) * (x2 - x1) / (y2 - y1)
    col = np.clip(np.ceil(xc - 0.5), 0, ws).astype(np.int64)
    toggles = np.bincount(row * (ws + 1) + col, minlength=hs * (ws + 1))
    toggles = toggles.reshape(hs, ws + 1)[:, :ws]
    return (np.cumsum(toggles, axis=1) & 1).astype(bool)


def classify(view, cache, sub=SUB):
    """Region label and vote purity of every pixel."""
    wdt, hgt = view.size
    lab = np.full((hgt * sub, wdt * sub), UNASSIGNED, np.uint8)
    for code, dcw in REGIONS:
        rings = region_rings(dcw, cache)
        lab[fill_polygons(rings, view, sub)] = LABEL[code]
    grid, (w, n, inc) = land_mask(view, cache)
    lon, lat = subsample_lonlat(view, sub)
    gc = np.clip(np.floor((lon - w) / inc).astype(np.int64), 0, grid.shape[1] - 1)
    gr = np.clip(np.floor((n - lat) / inc).astype(np.int64), 0, grid.shape[0] - 1)
    lab[grid[gr, gc] != 1] = WATER

    blocks = lab.reshape(hgt, sub, wdt, sub).transpose(0, 2, 1, 3).reshape(hgt, wdt, sub * sub)
    best = np.zeros((hgt, wdt), np.uint8)
    bestc = np.full((hgt, wdt), -1, np.int64)
    bestland = np.full((hgt, wdt), UNASSIGNED, np.uint8)
    bestlandc = np.zeros((hgt, wdt), np.int64)
    for label in np.unique(lab):
        c = (blocks == label).sum(-1)
        m = c > bestc
        best[m], bestc[m] = label, c[m]
        if label not in (WATER, UNASSIGNED):
            m = c > bestlandc
            bestland[m], bestlandc[m] = label, c[m]
    # Land that GSHHG has but no region claims goes to the region that has
    # most of the pixel's other sub-samples, or to a neighbouring region.
    m = (best == UNASSIGNED) & (bestland != UNASSIGNED)
    best[m] = bestland[m]
    for _ in range(3):
        un = best == UNASSIGNED
        if not un.any():
            break
        nb = np.full_like(best, UNASSIGNED)
        for dy, dx in ((0, -1), (0, 1), (-1, 0), (1, 0)):
            sh = np.full_like(best, UNASSIGNED)
            ys = slice(max(dy, 0), hgt + min(dy, 0))
            yd = slice(max(-dy, 0), hgt + min(-dy, 0))
            xs = slice(max(dx, 0), wdt + min(dx, 0))
            xd = slice(max(-dx, 0), wdt + min(-dx, 0))
            sh[yd, xd] = best[ys, xs]
            ok = (nb == UNASSIGNED) & (sh != UNASSIGNED) & (sh != WATER)
            nb[ok] = sh[ok]
        fill = un & (nb != UNASSIGNED)
        best[fill] = nb[fill]
    best[best == UNASSIGNED] = OTHER
    return best, bestc.astype(float) / (sub * sub)


def line_pixels(view, pts):
    """Pixels met by a polyline given in lon/lat, in drawing order."""
    lon = np.array([p[0] for p in pts])
    lat = np.array([p[1] for p in pts])
    u, v = view.to_pixel(lon, lat)
    out = []
    for k in range(len(pts) - 1):
        steps = int(np.ceil(max(abs(u[k + 1] - u[k]), abs(v[k + 1] - v[k])) * 4)) + 1
        for t in np.linspace(0.0, 1.0, steps + 1):
            p = (int(np.floor(u[k] + t * (u[k + 1] - u[k]))),
                 int(np.floor(v[k] + t * (v[k + 1] - v[k]))))
            if p not in out:
                out.append(p)
    return out


def borders(lab, purity, keep_clear):
    """One-pixel border lines between different regions.

    Of two 4-neighbours with different labels, the water pixel of a coast
    pair becomes the line (so the land keeps its full extent), and between two land regions the pixel with the
    weaker vote (the one the boundary runs closer to); ties go to the
    right or lower pixel."""
    hgt, wdt = lab.shape
    border = np.zeros(lab.shape, bool)
    for a, b, pa, pb in (
        (lab[:, :-1], lab[:, 1:], purity[:, :-1], purity[:, 1:]),
        (lab[:-1, :], lab[1:, :], purity[:-1, :], purity[1:, :]),
    ):
        diff = a != b
        mark_a = diff & (a == WATER)
        mark_b = diff & (b == WATER)
        land = diff & (a != WATER) & (b != WATER)
        mark_a |= land & (pa < pb)
        mark_b |= land & (pa >= pb)
        if a.shape[1] != wdt:  # horizontal pairs
            border[:, :-1] |= mark_a
            border[:, 1:] |= mark_b
        else:
            border[:-1, :] |= mark_a
            border[1:, :] |= mark_b
    border[keep_clear] = False
    return border


def red_mask(lab, border, code, scale=1):
    """Pixels shown red when `code` is selected, at `scale` times the
    pixels of the table."""
    red = (lab == LABEL[code]) & ~border
    if code in CLAMP_TO_BOX:
        x0, x1, y0, y1 = T.RED_EXTENTS[code]
        box = np.zeros(lab.shape, bool)
        box[y0 * scale:(y1 + 1) * scale, x0 * scale:(x1 + 1) * scale] = True
        red &= box
    red[:scale, :] = red[-scale:, :] = False
    red[:, :scale] = red[:, -scale:] = False
    return red


SIDES = (("west", -1, 0), ("east", 1, 0), ("north", 0, -1), ("south", 0, 1))


def snap_edits(lab, border, code):
    """Pixel edits that bring the red extent of `code` onto its table box.

    A side that falls short is drawn out by a 1-pixel spur from the red
    pixel whose way out crosses the fewest other regions; red that runs
    past a side is given to the region beyond it (it then becomes the
    border line).  Returns [(x, y, label, keep_clear)]."""
    x0, x1, y0, y1 = T.RED_EXTENTS[code]
    want = {"west": x0, "east": x1, "north": y0, "south": y1}
    red = red_mask(lab, border, code)
    ys, xs = np.nonzero(red)
    if xs.size == 0:
        return []
    got = {"west": xs.min(), "east": xs.max(), "north": ys.min(), "south": ys.max()}
    me = LABEL[code]
    edits = []
    for side, dx, dy in SIDES:
        g, w = int(got[side]), want[side]
        over = (g - w) * (dx + dy)  # > 0: red runs past the side
        if over < 0:  # short by -over pixels: draw a spur outwards
            on_edge = np.nonzero((xs == g) if dx else (ys == g))[0]
            best = None
            for k in on_edge:
                x, y = int(xs[k]), int(ys[k])
                path = [(x + dx * t, y + dy * t) for t in range(1, -over + 1)]
                cost = sum(lab[py, px] not in (me, WATER) for px, py in path)
                if best is None or cost < best[0]:
                    best = (cost, [(x, y, path)])
                elif cost == best[0]:
                    best[1].append((x, y, path))
            _, x, y, path = (None,) + best[1][len(best[1]) // 2]
            edits += [(px, py, me, True) for px, py in path]
        elif over > 0 and code not in CLAMP_TO_BOX:
            if dx:
                past = np.nonzero((xs - w) * dx > 0)[0]
            else:
                past = np.nonzero((ys - w) * dy > 0)[0]
            for k in past:
                x, y = int(xs[k]), int(ys[k])
                px, py = x, y
                while 0 <= px < lab.shape[1] and 0 <= py < lab.shape[0] and lab[py, px] == me:
                    px, py = px + dx, py + dy
                inside = 0 <= px < lab.shape[1] and 0 <= py < lab.shape[0]
                edits.append((x, y, int(lab[py, px]) if inside else WATER, False))
    return edits


def click_edits(lab, border):
    """Every click point has to sit on a red pixel of its own region."""
    edits = []
    for cx, cy, code in T.CLICK_POINTS:
        x, y = cx - T.MAP_ORIGIN[0], cy - T.MAP_ORIGIN[1]
        if not red_mask(lab, border, code)[y, x]:
            edits.append((x, y, LABEL[code], True))
    return edits


def draw_view(view, cache, main=False, snap=True, log=None):
    """Labels, border lines and the pixels set by hand or by the snap
    (which the larger scales copy from this one)."""
    lab, purity = classify(view, cache)
    hgt, wdt = lab.shape
    keep_clear = np.zeros(lab.shape, bool)
    force_border = np.zeros(lab.shape, bool)
    if main:
        for code, pts in THIN_FEATURES:
            for x, y in line_pixels(view, pts):
                if 0 < x < wdt - 1 and 0 < y < hgt - 1:
                    lab[y, x] = LABEL[code]
                    keep_clear[y, x] = True
                    purity[y, x] = 2.0
        for x, y in NS_SLIVER:
            lab[y, x] = LABEL["NS"]
            keep_clear[y, x] = True
            purity[y, x] = 2.0
        x0, y0, x1, y1 = DC_BLOCK
        lab[y0:y1 + 1, x0:x1 + 1] = LABEL["DC"]
        purity[y0:y1 + 1, x0:x1 + 1] = 2.0
        keep_clear[y0:y1 + 1, x0:x1 + 1] = True
        force_border[y0 - 1:y1 + 2, x0 - 1:x1 + 2] = True
        force_border[y0:y1 + 1, x0:x1 + 1] = False
    fixed = keep_clear.copy()
    border = borders(lab, purity, keep_clear) | force_border
    if not (main and snap):
        return lab, border, fixed
    # Snap to the red extent table and the click points.  A few rounds,
    # since an edit can move a neighbour's border line.
    names = {v: k for k, v in LABEL.items()}
    names[WATER] = "water"
    for _ in range(12):
        edits = []
        for code in T.RED_EXTENTS:
            edits += [(code,) + e for e in snap_edits(lab, border, code)]
        if not edits:
            edits = [("click",) + e for e in click_edits(lab, border)]
        if not edits:
            break
        for why, x, y, label, clear in edits:
            if log is not None:
                log.append("%s: (%d, %d) %s -> %s" % (why, x, y, names.get(int(lab[y, x]), "land"),
                                                     names.get(label, "land")))
            lab[y, x] = label
            keep_clear[y, x] = clear
            fixed[y, x] = True
            purity[y, x] = 2.0 if clear else 0.0
        border = borders(lab, purity, keep_clear) | force_border
    else:
        raise SystemExit("red extents did not settle")
    return lab, border, fixed


def scaled_view(view, scale):
    """The same view drawn `scale` times as fine: pixel (i, j) of it covers
    1/scale of a pixel of `view` each way."""
    return View(view.name, (view.size[0] * scale, view.size[1] * scale), view.proj, view.lon0,
                view.ax * scale, view.bx * scale, view.ay * scale, view.by * scale,
                view.mask_region)


def draw_view_scaled(view, scale, cache, base, main=False):
    """Labels and border lines at `scale` times the pixels, held to the
    artwork of scale 1 (`base`: its labels, lines and fixed pixels): a fine
    pixel keeps its own vote only where that region is its coarse pixel's
    or shows on a neighbour (not as a line), and never on a pixel set by
    hand or by the snap, so each region's colour ends within one coarse
    pixel of where it ends at scale 1 and every click point stays on its
    state.  The lines stay one fine
    pixel wide, which is what makes the larger scales sharp."""
    lab1, border1, fixed1 = base
    hview = scaled_view(view, scale)
    # Sub-samples per fine pixel: at 2x the very sub-samples of scale 1.
    lab, purity = classify(hview, cache, sub=max(2, SUB // scale))
    hgt1, wdt1 = lab1.shape
    parent = np.repeat(np.repeat(lab1, scale, 0), scale, 1)
    # Neighbours count with the region they show, so not when they are a line.
    padded = np.pad(np.where(border1, UNASSIGNED, lab1), 1, mode="edge")

    def shown_nearby(labels):
        near_any = np.zeros(labels.shape, bool)
        for dy in (-1, 0, 1):
            for dx in (-1, 0, 1):
                near = padded[1 + dy:1 + dy + hgt1, 1 + dx:1 + dx + wdt1]
                near_any |= np.repeat(np.repeat(near, scale, 0), scale, 1) == labels
        return near_any

    allowed = (parent == lab) | shown_nearby(lab)
    keep_clear = np.zeros(lab.shape, bool)
    if main:
        keep_clear = np.repeat(np.repeat(fixed1 & ~border1, scale, 0), scale, 1)
        for cx, cy, _code in T.CLICK_POINTS:
            x, y = (cx - T.MAP_ORIGIN[0]) * scale, (cy - T.MAP_ORIGIN[1]) * scale
            keep_clear[y:y + scale, x:x + scale] = True
    take_parent = ~allowed | keep_clear | np.repeat(np.repeat(fixed1, scale, 0), scale, 1)
    lab[take_parent] = parent[take_parent]
    purity[keep_clear] = 2.0
    force_border = np.zeros(lab.shape, bool)
    if main:
        x0, y0, x1, y1 = DC_BLOCK
        x0, y0, x1, y1 = x0 * scale, y0 * scale, (x1 + 1) * scale - 1, (y1 + 1) * scale - 1
        force_border[y0 - 1:y1 + 2, x0 - 1:x1 + 2] = True
        force_border[y0:y1 + 1, x0:x1 + 1] = False
    # A region where scale 1 shows it nowhere near is a line there; so here.
    stray = (lab != WATER) & ~shown_nearby(lab)
    return lab, borders(lab, purity, keep_clear) | force_border | stray


def paint(lab, border, red_code=None, scale=1):
    """Palette indices of the image; its white frame is one pixel of the
    table wide at every scale."""
    img = np.full(lab.shape, SILVER, np.uint8)
    img[lab == WATER] = BLUE
    for label in US_LABELS:
        img[lab == label] = YELLOW
    img[border] = GREY
    if red_code is not None:
        img[red_mask(lab, border, red_code, scale)] = RED
    img[:scale, :] = img[-scale:, :] = WHITE
    img[:, :scale] = img[:, -scale:] = WHITE
    return img


def write_png4(path, img):
    """Write a 4-bit indexed PNG with the 16-colour palette (level-9 zlib,
    no time or text chunks, so the same pixels give the same bytes)."""
    hgt, wdt = img.shape
    row_bytes = bytearray()
    for y in range(hgt):
        row = img[y]
        if wdt % 2:
            row = np.append(row, 0)
        packed = (row[0::2].astype(np.uint8) << 4) | row[1::2].astype(np.uint8)
        row_bytes += b"\0" + bytes(packed)

    def chunk(kind, body):
        return (len(body).to_bytes(4, "big") + kind + body +
                zlib.crc32(kind + body).to_bytes(4, "big"))

    head = wdt.to_bytes(4, "big") + hgt.to_bytes(4, "big") + bytes((4, 3, 0, 0, 0))
    pal = b"".join(bytes(c) for c in PALETTE)
    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", head) + chunk(b"PLTE", pal) +
            chunk(b"IDAT", zlib.compress(bytes(row_bytes), 9)) + chunk(b"IEND", b""))
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)


def write_bmp4(path, img):
    """Write a 4-bit indexed BMP (BITMAPINFOHEADER, 16-entry palette)."""
    hgt, wdt = img.shape
    stride = ((wdt * 4 + 31) // 32) * 4
    rows = bytearray()
    for y in range(hgt - 1, -1, -1):
        row = img[y]
        if wdt % 2:
            row = np.append(row, 0)
        packed = (row[0::2].astype(np.uint8) << 4) | row[1::2].astype(np.uint8)
        line = bytes(packed)
        rows += line + b"\0" * (stride - len(line))
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    off = 14 + 40 + len(pal)
    head = b"BM" + (off + len(rows)).to_bytes(4, "little") + b"\0\0\0\0" + \
        off.to_bytes(4, "little")
    info = b"".join(v.to_bytes(n, "little", signed=s) for v, n, s in (
        (40, 4, False), (wdt, 4, True), (hgt, 4, True), (1, 2, False),
        (4, 2, False), (0, 4, False), (len(rows), 4, False),
        (3780, 4, True), (3780, 4, True), (16, 4, False), (16, 4, False)))
    data = head + info + pal + bytes(rows)
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)


def red_bbox(img):
    ys, xs = np.nonzero(img == RED)
    if xs.size == 0:
        return None
    return int(xs.min()), int(xs.max()), int(ys.min()), int(ys.max())


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--cache", default=os.path.join(tempfile.gettempdir(),
                                                    "telquest-map-cache"),
                    help="directory for extracted boundaries (not committed)")
    ap.add_argument("--out", default=os.path.join(HERE, "..", "..", "res", "map"))
    ap.add_argument("--no-snap", action="store_true",
                    help="leave out the snap to the red extent table (for fitting)")
    ap.add_argument("-v", "--verbose", action="store_true",
                    help="list every pixel the snap changes")
    args = ap.parse_args()
    os.makedirs(args.cache, exist_ok=True)
    os.makedirs(args.out, exist_ok=True)

    log = []
    base = draw_view(MAIN, args.cache, main=True, snap=not args.no_snap, log=log)
    if args.verbose:
        print("\n".join(log))
    print("snap: %d pixel edits" % len(log))
    lab, border, _ = base
    write_bmp4(os.path.join(args.out, "%d.bmp" % T.PLAIN_MAP_ID), paint(lab, border))
    for code, extent in T.RED_EXTENTS.items():
        img = paint(lab, border, code)
        write_bmp4(os.path.join(args.out, "%d.bmp" % T.STATE_IMAGES[code]), img)
        got = red_bbox(img)
        if got != extent:
            print("%s red %s, table %s" % (code, got, extent))
    for scale in check_map.SCALES[1:]:
        lab, border = draw_view_scaled(MAIN, scale, args.cache, base, main=True)
        write_png4(check_map.image_path(args.out, T.PLAIN_MAP_ID, scale), paint(lab, border, None, scale))
        for code in T.RED_EXTENTS:
            write_png4(check_map.image_path(args.out, T.STATE_IMAGES[code], scale),
                       paint(lab, border, code, scale))

    for view, code, plain_id, red_id in ((ALASKA, "AK", T.ALASKA_PLAIN_ID, T.ALASKA_RED_ID),
                                         (HAWAII, "HI", T.HAWAII_PLAIN_ID, T.HAWAII_RED_ID)):
        base = draw_view(view, args.cache)
        lab, border, _ = base
        write_bmp4(os.path.join(args.out, "%d.bmp" % plain_id), paint(lab, border))
        img = paint(lab, border, code)
        write_bmp4(os.path.join(args.out, "%d.bmp" % red_id), img)
        print("%s inset red %s" % (code, red_bbox(img)))
        for scale in check_map.SCALES[1:]:
            lab, border = draw_view_scaled(view, scale, args.cache, base)
            write_png4(check_map.image_path(args.out, plain_id, scale),
                       paint(lab, border, None, scale))
            write_png4(check_map.image_path(args.out, red_id, scale),
                       paint(lab, border, code, scale))

    errors, facts = check_map.check(args.out)
    if errors:
        raise SystemExit("\n".join("FAIL " + e for e in errors))
    check_map.write_facts(args.out, facts)


if __name__ == "__main__":
    main()
