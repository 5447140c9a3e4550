#!/usr/bin/python3
"""Builds res/tzl.bin, the zone law table: every change of UTC offset,
abbreviation or daylight time of each zone named in res/ctz.bin (and of
Eastern time, America/New_York), from
1970 through 2100, compiled from the system's tzdata (its TZif files and
their footer rule, which is expanded year by year after the last listed
change). The format is in docs/data-format.md.

Checks that fail the generation: the tzdata version is the one expected, every
zone is found and named, and the written file, read back, gives Python
zoneinfo's offset, abbreviation and daylight flag one minute before, at and
one minute after every change of every zone.

It also writes tools/tz/zoneinfo_expectations.tsv: the changes of every zone
found by asking zoneinfo alone (day by day, then to the second), with its
state one minute before and at each, for the core's own test to compare
with. Standard library only; run with
Debian's /usr/bin/python3 (see README.md in this folder).
"""

import bisect
import hashlib
import re
import struct
import subprocess
import sys
from datetime import datetime, timezone
from pathlib import Path
from zoneinfo import ZoneInfo

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
RES = ROOT / "res"
ZONEINFO = Path("/usr/share/zoneinfo")
TZDATA_VERSION = "2026f"
# Always in the table: the time zone line measures every place from it.
EASTERN_ZONE = "America/New_York"
FIRST_YEAR, LAST_YEAR = 1970, 2100
UNTIL = int(datetime(LAST_YEAR + 1, 1, 1, tzinfo=timezone.utc).timestamp())
FORMAT_LINE = "TQTZL 2"
CHECK_MINUTE = 60
DAY = 86400

# The names people use for each abbreviation in force since 1970.
ZONE_NAMES = {
    "EST": "Eastern Standard Time", "EDT": "Eastern Daylight Time",
    "CST": "Central Standard Time", "CDT": "Central Daylight Time",
    "MST": "Mountain Standard Time", "MDT": "Mountain Daylight Time",
    "PST": "Pacific Standard Time", "PDT": "Pacific Daylight Time",
    "AST": "Atlantic Standard Time", "ADT": "Atlantic Daylight Time",
    "NST": "Newfoundland Standard Time", "NDT": "Newfoundland Daylight Time",
    "NDDT": "Newfoundland Double Daylight Time", "ADDT": "Atlantic Double Daylight Time",
    "AKST": "Alaska Standard Time", "AKDT": "Alaska Daylight Time",
    "HST": "Hawaii-Aleutian Standard Time", "HDT": "Hawaii-Aleutian Daylight Time",
    "AHST": "Alaska-Hawaii Standard Time", "AHDT": "Alaska-Hawaii Daylight Time",
    "YST": "Yukon Standard Time", "YDT": "Yukon Daylight Time",
    "BST": "Bering Standard Time", "BDT": "Bering Daylight Time",
    "ChST": "Chamorro Standard Time",
    "GST": "Guam Standard Time", "GDT": "Guam Daylight Time",
    "SST": "Samoa Standard Time",
}


def zone_name(abbr):
    """The name of an abbreviation; tzdata's numeric ones ("-0430") read as
    "UTC-04:30"."""
    if re.fullmatch(r"[+-]\d\d(\d\d)?", abbr):
        return f"UTC{abbr[:3]}:{abbr[3:] or '00'}"
    return ZONE_NAMES.get(abbr)


def fail(message):
    raise SystemExit(f"tools/tz: {message}")


def tzdata_version():
    index = ZONEINFO / "tzdata.zi"
    try:
        first = index.read_text(encoding="utf-8").splitlines()[0]
    except (OSError, IndexError) as error:
        fail(f"cannot read the tzdata version from {index}: {error}")
    return first.removeprefix("# version ").strip()


def zone_names():
    """The zone list of res/ctz.bin."""
    lines = (RES / "ctz.bin").read_text(encoding="utf-8").split("\n")
    if lines[0] != "TQCTZ 2" or not lines[1].startswith("cities ") or \
            not lines[2].startswith("zones "):
        fail("res/ctz.bin does not begin with its format, its cit.bin and its zone count")
    count = int(lines[2].split()[1])
    names = lines[3:3 + count]
    if names != sorted(set(names)) or not all(names):
        fail("res/ctz.bin: the zone names are not sorted and unique")
    return names


# --- TZif files (RFC 8536) ---------------------------------------------------

def read_tzif(path):
    """(transitions [(instant, type)], types [(offset, isdst, abbr)], footer)."""
    data = path.read_bytes()

    def header(at):
        if data[at:at + 4] != b"TZif":
            fail(f"{path}: not a TZif file")
        return data[at + 4], struct.unpack(">6l", data[at + 20:at + 44])

    version, counts = header(0)
    if version < ord("2"):
        fail(f"{path}: TZif version 1 has no 64-bit data or footer")
    isut, isstd, leap, time, typ, char = counts
    at = 44 + time * 5 + typ * 6 + char + leap * 8 + isstd + isut
    _, (isut, isstd, leap, time, typ, char) = header(at)
    at += 44
    instants = struct.unpack(f">{time}q", data[at:at + time * 8])
    at += time * 8
    indexes = data[at:at + time]
    at += time
    types = []
    raw_types = [struct.unpack(">lBB", data[at + i * 6:at + i * 6 + 6]) for i in range(typ)]
    at += typ * 6
    chars = data[at:at + char]
    at += char + leap * 12 + isstd + isut
    for offset, isdst, abbr_at in raw_types:
        abbr = chars[abbr_at:chars.index(b"\0", abbr_at)].decode("ascii")
        types.append((offset, bool(isdst), abbr))
    footer = data[at:].decode("ascii")
    if not footer.startswith("\n") or not footer.endswith("\n"):
        fail(f"{path}: no footer")
    return list(zip(instants, indexes)), types, footer.strip("\n")


# --- POSIX TZ rules (the footer) -----------------------------------------------

def _name(text, at):
    if text[at] == "<":
        end = text.index(">", at)
        return text[at + 1:end], end + 1
    end = at
    while end < len(text) and text[end].isalpha():
        end += 1
    return text[at:end], end


def _seconds(text, at):
    """[+-]hh[:mm[:ss]] as seconds, and where it ends."""
    sign = 1
    if at < len(text) and text[at] in "+-":
        sign = -1 if text[at] == "-" else 1
        at += 1
    parts, end = [], at
    while end < len(text) and (text[end].isdigit() or text[end] == ":"):
        end += 1
    parts = [int(p) for p in text[at:end].split(":")]
    if not parts or len(parts) > 3:
        fail(f"footer rule {text!r}: bad time at {at}")
    parts += [0] * (3 - len(parts))
    return sign * (parts[0] * 3600 + parts[1] * 60 + parts[2]), end


def parse_rule(footer):
    """{'std': (offset, abbr), 'dst': (offset, abbr) or None, 'start', 'end'}."""
    std_abbr, at = _name(footer, 0)
    west, at = _seconds(footer, at)
    rule = {"std": (-west, std_abbr), "dst": None}
    if at == len(footer):
        return rule
    dst_abbr, at = _name(footer, at)
    dst_offset = -west + 3600
    if at < len(footer) and footer[at] != ",":
        dst_west, at = _seconds(footer, at)
        dst_offset = -dst_west
    rule["dst"] = (dst_offset, dst_abbr)
    dates = footer[at + 1:].split(",")
    if len(dates) != 2:
        fail(f"footer rule {footer!r}: expected two dates")
    rule["start"], rule["end"] = (_date_rule(footer, d) for d in dates)
    return rule


def _date_rule(footer, text):
    when, _, time = text.partition("/")
    seconds = _seconds(time, 0)[0] if time else 7200
    if not when.startswith("M"):
        fail(f"footer rule {footer!r}: only Mm.w.d dates are expanded")
    month, week, weekday = (int(p) for p in when[1:].split("."))
    return month, week, weekday, seconds


def _local_date(year, month, week, weekday):
    """Days since 1970 of the week-th (5 = last) weekday (0 = Sunday)."""
    first = datetime(year, month, 1, tzinfo=timezone.utc)
    first_days = int(first.timestamp()) // 86400
    shift = (weekday - (first.weekday() + 1) % 7) % 7
    day = first_days + shift + (week - 1) * 7
    next_month = datetime(year + month // 12, month % 12 + 1, 1, tzinfo=timezone.utc)
    while day >= int(next_month.timestamp()) // 86400:
        day -= 7
    return day


def rule_changes(rule, year):
    """[(instant, type)] of the year's two changes, in time order."""
    std, dst = rule["std"], rule["dst"]
    month, week, weekday, seconds = rule["start"]
    start = _local_date(year, month, week, weekday) * 86400 + seconds - std[0]
    month, week, weekday, seconds = rule["end"]
    end = _local_date(year, month, week, weekday) * 86400 + seconds - dst[0]
    return sorted([(start, (dst[0], True, dst[1])), (end, (std[0], False, std[1]))])


def rule_type_at(rule, instant):
    if rule["dst"] is None:
        return (rule["std"][0], False, rule["std"][1])
    year = datetime.fromtimestamp(instant, timezone.utc).year
    state = None
    for change, kind in rule_changes(rule, year - 1) + rule_changes(rule, year):
        if change <= instant:
            state = kind
    return state


# --- Compiling a zone ----------------------------------------------------------

def compile_zone(name):
    """[(instant, (offset, isdst, abbr))] from 1970 on, no repeated state."""
    path = ZONEINFO / name
    if not path.is_file():
        fail(f"zone {name} of res/ctz.bin is not in {ZONEINFO}")
    listed, types, footer = read_tzif(path)
    rule = parse_rule(footer)
    last_listed = listed[-1][0] if listed else None
    changes = []
    if last_listed is None or last_listed <= 0:
        changes.append((0, rule_type_at(rule, 0)))
    else:
        before = [types[i] for t, i in listed if t <= 0]
        changes.append((0, before[-1] if before else types[0]))
    changes += [(t, types[i]) for t, i in listed if 0 < t < UNTIL]
    if rule["dst"] is not None:
        first_year = FIRST_YEAR if last_listed is None else \
            datetime.fromtimestamp(max(last_listed, 0), timezone.utc).year
        for year in range(first_year, LAST_YEAR + 1):
            changes += [c for c in rule_changes(rule, year)
                        if (last_listed is None or c[0] > last_listed) and 0 < c[0] < UNTIL]
    elif last_listed is not None and last_listed < UNTIL and \
            types[listed[-1][1]] != rule_type_at(rule, last_listed):
        fail(f"{name}: the footer rule does not continue the last listed change")
    kept = []
    for instant, state in sorted(changes):
        if not kept or kept[-1][1] != state:
            kept.append((instant, state))
    return kept


# --- The file --------------------------------------------------------------------

def sealed(data):
    """The bytes and a last line with the SHA-256 of every byte before it."""
    return data + f"sha256 {hashlib.sha256(data).hexdigest()}\n".encode("ascii")


def encode(version, zones):
    types = sorted({state for changes in zones.values() for _, state in changes},
                   key=lambda s: (s[0], s[1], s[2]))
    unnamed = sorted({abbr for _, _, abbr in types if not zone_name(abbr)})
    if unnamed:
        fail(f"abbreviations without a name in ZONE_NAMES: {unnamed}")
    index = {state: i for i, state in enumerate(types)}
    body = b"".join(struct.pack("<IH", instant, index[state])
                    for name in sorted(zones) for instant, state in zones[name])
    count = len(body) // 6
    lines = [FORMAT_LINE,
             f"generated by tools/tz/generate.py from tzdata {version}; do not edit",
             f"tzdata {version}", f"until {UNTIL}", f"types {len(types)}",
             *(f"{offset}\t{int(dst)}\t{abbr}\t{zone_name(abbr)}" for offset, dst, abbr in types),
             f"zones {len(zones)}",
             *(f"{name}\t{len(zones[name])}" for name in sorted(zones)),
             f"transitions {count}"]
    return sealed(("\n".join(lines) + "\n").encode("utf-8") + body), len(types), count


def decode(data):
    """{zone: ([instants], [(offset, isdst, abbr)])}, read back as the core does."""
    data, sum_line = data[:-72], data[-72:]
    if sealed(data)[-72:] != sum_line:
        fail("tzl.bin does not read back: its check sum does not match")
    head_lines, at = [], 0
    while not (head_lines and head_lines[-1].startswith("transitions ")):
        end = data.index(b"\n", at)
        head_lines.append(data[at:end].decode("utf-8"))
        at = end + 1
    types_at = next(i for i, line in enumerate(head_lines) if line.startswith("types "))
    types = [line.split("\t") for line in
             head_lines[types_at + 1:types_at + 1 + int(head_lines[types_at].split()[1])]]
    zones_at = types_at + 1 + len(types)
    zone_lines = head_lines[zones_at + 1:-1]
    count = head_lines[-1].split()[1]
    body = data[at:]
    if len(body) != int(count) * 6:
        fail("tzl.bin does not read back: the transition block is damaged")
    result, row = {}, 0
    for line in zone_lines:
        name, length = line.split("\t")
        instants, states = [], []
        for _ in range(int(length)):
            instant, type_index = struct.unpack_from("<IH", body, row * 6)
            offset, dst, abbr, _ = types[type_index]
            instants.append(instant)
            states.append((int(offset), dst == "1", abbr))
            row += 1
        result[name] = (instants, states)
    return result


def compare_with_zoneinfo(table):
    """Compared instants: one minute before, at and after every change, and
    noon UTC of every day (so that a change missing from the table shows).
    Fails on the first disagreement."""
    compared = 0
    for name, (instants, states) in table.items():
        zone = ZoneInfo(name)
        probes = sorted({t + d for t in instants for d in (-CHECK_MINUTE, 0, CHECK_MINUTE)
                         if 0 <= t + d < UNTIL} | set(range(DAY // 2, UNTIL, DAY)))
        for probe in probes:
            ours = states[bisect.bisect_right(instants, probe) - 1]
            local = datetime.fromtimestamp(probe, zone)
            theirs = (int(local.utcoffset().total_seconds()), bool(local.dst()), local.tzname())
            if ours != theirs:
                fail(f"{name} at {probe}: table {ours}, zoneinfo {theirs}")
            compared += 1
    return compared


def zoneinfo_state(zone, instant):
    local = datetime.fromtimestamp(instant, zone)
    return int(local.utcoffset().total_seconds()), bool(local.dst()), local.tzname()


def zoneinfo_changes(name):
    """[instant] of every change zoneinfo gives for the zone from 1970 through
    2100, found without the table: noon UTC day by day, then the first second
    of the new state by halving."""
    zone, found = ZoneInfo(name), []
    previous, state = DAY // 2 - DAY, zoneinfo_state(zone, DAY // 2 - DAY)
    for probe in range(DAY // 2, UNTIL + DAY, DAY):
        now = zoneinfo_state(zone, probe)
        if now != state:
            low, high = previous, probe  # state at low, another at high
            while high - low > 1:
                middle = (low + high) // 2
                if zoneinfo_state(zone, middle) == state:
                    low = middle
                else:
                    high = middle
            if 0 < high < UNTIL:
                found.append(high)
            state = now
        previous = probe
    return found


def write_expectations(version, table):
    """The expectations file; fails when zoneinfo's changes are not the
    table's or two changes lie within a minute (so "at" holds one minute on)."""
    lines = [f"# generated by tools/tz/generate.py from zoneinfo (tzdata {version}); do not edit",
             "# a zone's name, then a line per change from 1970 (and one for 1970-01-01): "
             "instant, then offset/daylight/abbreviation one minute before and at it "
             "(the latter also one minute after)"]
    for name, (instants, _) in table.items():
        zone, changes = ZoneInfo(name), zoneinfo_changes(name)
        if changes != instants[1:]:
            fail(f"{name}: zoneinfo changes {sorted(set(changes) ^ set(instants[1:]))[:3]} "
                 "are not those of the table")
        lines.append(name)
        for instant in [0] + changes:
            before, at, after = (zoneinfo_state(zone, instant + d)
                                 for d in (-CHECK_MINUTE, 0, CHECK_MINUTE))
            if at != after:
                fail(f"{name}: two changes within a minute at {instant}")
            lines.append("\t".join([str(instant), *(f"{offset} {int(dst)} {abbr}"
                                                     for offset, dst, abbr in (before, at))]))
    (HERE / "zoneinfo_expectations.tsv").write_text("\n".join(lines) + "\n", encoding="utf-8")
    return sum(len(instants) for instants, _ in table.values())


def main():
    version = tzdata_version()
    if version != TZDATA_VERSION:
        fail(f"tzdata {version} is installed; this table is built from {TZDATA_VERSION}")
    zones = {name: compile_zone(name) for name in sorted({*zone_names(), EASTERN_ZONE})}
    data, type_count, transitions = encode(version, zones)
    compared = compare_with_zoneinfo(decode(data))
    table = decode(data)
    expected = write_expectations(version, table)
    (RES / "tzl.bin").write_bytes(data)
    print(f"tzl.bin: tzdata {version}, {len(zones)} zones, {type_count} kinds of time, "
          f"{transitions} entries ({transitions - len(zones)} changes) {FIRST_YEAR}-{LAST_YEAR}; "
          f"{compared} zone-instants (every change -1 min, at, +1 min, and every day) "
          "agree with zoneinfo")
    print(f"zoneinfo_expectations.tsv: {expected} lines of zoneinfo's own changes")
    manifest = ROOT / "tools" / "data" / "manifest.py"
    if manifest.exists():
        subprocess.run([sys.executable, str(manifest), str(ROOT / "res")], check=True)


if __name__ == "__main__":
    main()
