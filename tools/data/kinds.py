"""The kind of each shipped place, its plain name, and knd.bin (format
TQKIND 1, docs/data-format.md).

Kinds: city (an incorporated place, a Puerto Rico municipio, a Canadian
municipality, a member country's town), town (a town or township whose
incorporated places and census-designated places hold no more than a third
of its people together), township (one whose places hold more: Union NY,
around Endicott and Johnson City), cdp, centre (a Canadian population
centre), community (a neighbourhood or exchange community no census counts),
region (an island). The places a town holds are found by land
(sources/us_place_counties_2020.csv).

No two places of one state share a stored name: the plain name goes to the
place people mean (the lowest rank of RANK, then the most people), and every
other namesake is stored with its kind word ("Washington Township",
"Hempstead Town") or, where that is still shared or it has none, its county
("Burbank (Santa Clara County)"); its knd.bin line gives the plain name.
"""

import csv
import io
from collections import Counter, defaultdict

from census import INCORPORATED, CDP, TOWN, MUNICIPIO
from city_names import match_key
from npa_report import SOURCES, verified_text

RANK = {"city": 0, "town": 1, "township": 1, "cdp": 2, "centre": 2, "community": 3, "region": 4}
KIND_WORDS = {"town": "Town", "township": "Township", "community": "Community"}
# A Canadian municipality's kind word, by its Standard Geographical
# Classification kind, for one that shares its name with another.
CANADIAN_KIND_WORDS = {
    "CY": "City", "C": "City", "CV": "City", "T": "Town", "V": "Village", "VL": "Village",
    "SV": "Summer Village", "RV": "Resort Village", "MD": "Municipal District",
    "RM": "Rural Municipality", "TP": "Township", "CT": "Canton", "CU": "Cantons Unis",
    "P": "Parish", "PE": "Paroisse", "M": "Municipality", "MU": "Municipalit\u00e9",
    "DM": "District", "RGM": "Regional Municipality", "CN": "County", "SM": "Municipality",
    "COM": "Community", "HAM": "Hamlet", "ID": "Improvement District", "LOT": "Lot"}
PLACE_COUNTIES = SOURCES / "us_place_counties_2020.csv"
COUNTY_NAMES = SOURCES / "us_county_names_2023.csv"
HELD_SHARE = 1 / 3


def _csv(path):
    return list(csv.DictReader(io.StringIO(verified_text(path))))


def counties():
    """({place GEOID: (county FIPS, subdivision GEOID)}, {county FIPS: name})."""
    places = {r["place"]: (r["county"], r["subdivision"]) for r in _csv(PLACE_COUNTIES)}
    return places, {r["county"]: r["name"] for r in _csv(COUNTY_NAMES)}


def held_people(units, place_counties):
    """{town GEOID: people of the incorporated places and CDPs it holds}."""
    held = defaultdict(int)
    for unit in units:
        if unit.kind in (INCORPORATED, CDP) and unit.code in place_counties:
            held[place_counties[unit.code][1]] += unit.population
    return held


def kind_of(place, held, regions):
    unit = place.unit
    if (place.state, place.key) in regions:
        return "region"
    if unit is None:
        return "city" if place.member else "community"
    if unit.kind in (INCORPORATED, MUNICIPIO, "municipality"):
        return "city"
    if unit.kind == CDP:
        return "cdp"
    if unit.kind == "community":
        return "centre"
    if unit.kind == TOWN:
        return "township" if held.get(unit.code, 0) > HELD_SHARE * unit.population else "town"
    raise SystemExit(f"no kind for census unit kind {unit.kind!r} ({place.name}, {place.state})")


def county_of(place, place_counties, county_names):
    unit = place.unit
    if unit is None or unit.country != "USA":
        return None
    fips = unit.code[:5] if unit.kind == TOWN else place_counties.get(unit.code, ("", ""))[0]
    return county_names.get(fips)


def assign(places, units, regions):
    """Gives each place of {key: place} (non-geographic ones aside) its kind
    and renames namesakes; place.plain is the plain name of a renamed place.
    regions: {(state, key)} of islands and other regions. Returns the
    renamings, [(state, old, new)]."""
    place_counties, county_names = counties()
    held = held_people(units, place_counties)
    groups = defaultdict(list)
    for place in places.values():
        if place.country == "abe":
            continue
        place.kind, place.plain = kind_of(place, held, regions), None
        groups[(place.state, place.name)].append(place)
    taken = {(p.state, p.name) for p in places.values()}
    renamed, wanted = [], []
    for (state, name), namesakes in sorted(groups.items()):
        if len(namesakes) < 2:
            continue
        namesakes.sort(key=lambda p: (RANK[p.kind], -p.population, p.id_key))
        for place in namesakes[1:]:
            new, word = None, KIND_WORDS.get(place.kind)
            if place.unit is not None and place.unit.country == "Canada":
                word = CANADIAN_KIND_WORDS.get(place.unit.full_name.rpartition(" ")[2], word)
            elif place.unit is not None and place.unit.kind == TOWN:
                # The census's own word: "Clinton charter township", "Hempstead town".
                word = place.unit.full_name.rpartition(" ")[2].capitalize()
            if word and not name.endswith(word):
                new = f"{name} {word}"
            wanted.append((state, name, new, place))
    # The most populous of the places wanting one name with its kind word
    # gets it ("Clinton Township", MI, of Macomb County); the others add
    # their county.
    wanted.sort(key=lambda w: (w[0], w[2] or "", -w[3].population, w[3].id_key))
    for state, name, new, place in wanted:
        if True:
            if new is None or (state, new) in taken:
                county = county_of(place, place_counties, county_names)
                base = new or name
                new = f"{base} ({county})" if county else None
            if new is None or (state, new) in taken:
                new = f"{new or name} {place.unit.code if place.unit else place.id_key}"
            taken.add((state, new))
            place.plain, place.name = name, new
            renamed.append((state, name, new))
    return renamed


def encode_kinds(entries):
    """knd.bin: entries {city id: (kind, plain name or None)}."""
    lines = ["TQKIND 1", f"places {len(entries)}"]
    for city_id in sorted(entries):
        kind, plain = entries[city_id]
        if kind not in RANK or (plain is not None and (not plain or "\t" in plain or "\n" in plain)):
            raise ValueError(f"place {city_id}: kind {kind!r}, plain name {plain!r}")
        lines.append(f"{city_id}\t{kind}" + (f"\t{plain}" if plain else ""))
    return ("\n".join(lines) + "\n").encode("utf-8")


def decode_kinds(data):
    """{city id: (kind, plain name or None)} read back strictly."""
    lines = data.decode("utf-8").split("\n")
    if lines[0] != "TQKIND 1" or not lines[1].startswith("places ") or lines[-1] != "":
        raise ValueError("not a TQKIND 1 file")
    entries, previous = {}, 0
    for line in lines[2:-1]:
        fields = line.split("\t")
        if len(fields) not in (2, 3) or not fields[0].isdigit() or fields[1] not in RANK \
                or int(fields[0]) <= previous:
            raise ValueError(f"line {line!r}")
        previous = int(fields[0])
        entries[previous] = (fields[1], fields[2] if len(fields) == 3 else None)
    if len(entries) != int(lines[1].split()[1]):
        raise ValueError("count")
    return entries
