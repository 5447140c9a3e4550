"""Time zone of each place: the IANA zone from geo-tz by coordinates, turned
into the two values the lookup shows by the system's tzdata (Python zoneinfo).

fTimeZone is the offset of the zone's standard (or year-round) time from
Eastern standard time, in hours: 0 Eastern, -1 Central, -3 Pacific,
1.5 Newfoundland. The daylight flag says whether the zone changes its clocks.
Both are taken from the rules in force in REFERENCE_YEAR.
"""

import hashlib
import json
import subprocess
from datetime import datetime, timezone
from pathlib import Path
from zoneinfo import ZoneInfo

HERE = Path(__file__).resolve().parent
EASTERN_STANDARD_HOURS = -5
TZDATA_INDEX = Path("/usr/share/zoneinfo/tzdata.zi")


def tzdata_version():
    first_line = TZDATA_INDEX.read_text(encoding="utf-8").splitlines()[0]
    return first_line.removeprefix("# version ").strip()


def zones_at(points):
    """IANA zone names (or None) of (lat, lon) points, by geo-tz."""
    if not points:
        return []
    found = subprocess.run(
        ["node", str(HERE / "zone_lookup.js")], input=json.dumps(points),
        check=True, capture_output=True, text=True, cwd=HERE).stdout
    return json.loads(found)


def zone_hours(zone_name, year):
    """(fTimeZone, daylight flag) of an IANA zone in the given year."""
    zone = ZoneInfo(zone_name)
    offsets = []
    for month in range(1, 13):
        moment = datetime(year, month, 15, 12, tzinfo=timezone.utc).astimezone(zone)
        offsets.append(moment.utcoffset().total_seconds() / 3600)
    standard = min(offsets)
    return standard - EASTERN_STANDARD_HOURS, int(max(offsets) != standard)


def encode_place_zones(zone_of, cities):
    """ctz.bin (format TQCTZ 2, UTF-8, LF): the size and SHA-256 of the
    cit.bin it is made for (`cities`, its bytes), the zone list, sorted and
    unique, then each place's city id and the index of its zone, ids
    ascending, and last the SHA-256 of every byte before that line.
    zone_of: {city id: IANA zone name}."""
    names = sorted(set(zone_of.values()))
    index = {name: i for i, name in enumerate(names)}
    lines = ["TQCTZ 2", f"cities {len(cities)} {hashlib.sha256(cities).hexdigest()}",
             f"zones {len(names)}", *names, f"places {len(zone_of)}"]
    lines += [f"{city_id}\t{index[zone_of[city_id]]}" for city_id in sorted(zone_of)]
    data = ("\n".join(lines) + "\n").encode("utf-8")
    return data + f"sha256 {hashlib.sha256(data).hexdigest()}\n".encode("ascii")
